// The command line of halvane-config-dump.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Decoders.h"

namespace configdump {

struct DumpOptions {
  std::vector<std::string> files;
  std::optional<std::string> folder;
  std::optional<FileKind> kind;  // nothing: by each file's name or size
  std::uint64_t offset = 0;      // alarm records only
  std::uint64_t count = 1;       // alarm records only
  bool allDays = false;
  bool json = false;
  bool help = false;
  bool version = false;
};

// The options, or nothing with the reason in error.
std::optional<DumpOptions> parseDumpOptions(int argc, char** argv, std::string& error);

extern const char* const kDumpUsage;

}  // namespace configdump
