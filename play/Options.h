// The command line of fauxlarm-play (GNU style: long options, short ones for the common
// choices, "--opt=value" or "--opt value"). See kUsage.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "common/Halvane_Common_Constants.h"

namespace Play {

enum class MethodKind { kNone, kTcp, kQueue, kFile };

struct Options {
  MethodKind method = MethodKind::kNone;
  std::uint16_t port = 14000;
  double waitSeconds = -1;  // below 0: without bound
  std::int16_t system = Halvane_Common_Constants::kGenericTcpClientSystem;
  bool systemGiven = false;
  std::string filePath;

  std::string input;  // a file, or "-" for standard input; empty with random
  bool random = false;

  double speed = 1;
  bool speedGiven = false;
  double rate = 0;
  bool rateGiven = false;
  std::int64_t loops = 1;   // 0: until stopped
  double duration = -1;     // seconds; below 0: none
  std::int64_t count = -1;  // events; below 0: all

  bool json = false;
  bool quiet = false;
  std::string logPath;

  bool help = false;
  bool version = false;
};

// The input as the summary names it: the file, "standard input" or "the random stream".
std::string InputName(const Options& options);

// The options, or nothing with the reason in error.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

extern const char* const kUsage;
extern const std::string kVersionText;

}  // namespace Play
