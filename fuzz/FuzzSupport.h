// What the fuzz targets share: a program folder of their own for the loaders that read
// files, and a check that stops the run with the broken property.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

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

}  // namespace Halvane_Config
