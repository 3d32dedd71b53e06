// What the fuzz targets share: a program folder of their own for the loaders that read
// files, and a check that stops the run with the broken property.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Decoders.h"
#include "Document.h"
#include "ProgramFolderScope.h"
#include "common/Halvane_Common_Procedures.h"

namespace Halvane_Config {

// Ends the run as a crash that libFuzzer keeps with its input.
inline void Check(bool holds, const char* property) {
  if (holds) return;
  std::fprintf(stderr, "property broken: %s\n", property);
  std::abort();
}

inline std::string_view AsBytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

// The program folder every run of a target uses, made at the first run. The log stays
// quiet: nothing is recorded.
inline TemporaryProgramFolder& FuzzFolder() {
  static TemporaryProgramFolder folder;
  return folder;
}

// Writes the bytes as the file of disk identity 1 of a receiver or profile, reads it as
// halvane-config-dump does (rendered both ways) and loads it into loaded. Checks that the
// two agree on whether it loads, and that a loaded file is of version 5 afterwards and
// loads again into again. True when it loaded.
template <typename Loaded>
bool LoadAsServerAndDump(std::string_view bytes,
                         configdump::Decoded (*decode)(const std::string& path), Loaded& loaded,
                         Loaded& again) {
  TemporaryProgramFolder& folder = FuzzFolder();
  const std::string path = Halvane_Common_Procedures::Utf16ToUtf8(Loaded::CreateFileName(1));
  const std::string relative = path.substr(folder.Path().size());
  folder.Write(relative, bytes);

  const configdump::Decoded decoded = decode(path);
  configdump::renderText(decoded.details);
  configdump::renderJson(decoded.details);

  const bool load = loaded.LoadFromDisk(1);
  Check(load == decoded.readable, "the dump and the loader agree on what loads");
  if (!load) return false;
  Check(folder.Read(relative).substr(0, 2) == std::string("\x05\0", 2),
        "a loaded file is version 5");
  Check(again.LoadFromDisk(1), "a loaded file loads again");
  return true;
}

}  // namespace Halvane_Config
