// Runs a real program to its end and keeps what it printed.
#pragma once

#include <string>
#include <vector>

namespace Halvane_Config {

struct ProgramRun {
  int exitCode = -1;  // 128 + the signal when a signal ended it
  std::string out;
  std::string err;
};

ProgramRun RunProgram(const std::vector<std::string>& argv);

}  // namespace Halvane_Config
