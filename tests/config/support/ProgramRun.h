// Runs a real program to its end and keeps what it printed; or starts one, looks at what
// it printed so far and signals it before waiting for it.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

namespace Halvane_Config {

struct ProgramRun {
  int exitCode = -1;  // 128 + the signal when a signal ended it
  std::string out;
  std::string err;
};

class RunningProgram {
 public:
  // argv[0] is the program's path; input is its standard input; environment holds
  // "NAME=value" entries added to the test's own.
  explicit RunningProgram(const std::vector<std::string>& argv, const std::string& input = {},
                          const std::vector<std::string>& environment = {});
  // A program not waited for is killed.
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  std::string ErrorSoFar() const;
  void Signal(int signal) const;
  ProgramRun Wait();

 private:
  pid_t child_ = -1;
  int out_ = -1;
  int err_ = -1;
};

ProgramRun RunProgram(const std::vector<std::string>& argv);

}  // namespace Halvane_Config
