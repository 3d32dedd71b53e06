// A real child process (fork and exec) whose output the test reads line by line. Every wait
// on it is bounded, so that a deadlock fails the test instead of hanging it.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <string>
#include <vector>

class ChildProcess {
 public:
  // Its error output goes with its output when mergeErrors is set.
  explicit ChildProcess(const std::vector<std::string>& argv, bool mergeErrors = false);
  // Kills the child if it still runs.
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // The next line of its output without the line feed; empty at its end or after the
  // time-out (which fails the test).
  std::string readLine(int timeoutSeconds = 60);
  // Sends a line to its standard input (a helper waiting in "wait" goes on).
  void resume();
  // Kills it with the signal and reaps it.
  void kill(int signal = SIGKILL);
  // All output still to come, until it ends.
  std::string readRest(int timeoutSeconds = 60);
  // Closes its input and waits for its end: the exit code, 128 + the signal that ended it,
  // or -1 when it had to be killed after the time-out.
  int finish(int timeoutSeconds = 60);

 private:
  pid_t pid_ = -1;
  int input_ = -1;
  int output_ = -1;
  std::string pending_;
};

// The command line of the exchange helper (ExchangeHelper.cpp) running these commands.
std::vector<std::string> helper(const std::vector<std::string>& commands);

struct Finished {
  int exitCode;
  std::string output;
};

// Runs a program to its end, its error output merged into its output.
Finished runToEnd(const std::vector<std::string>& argv, int timeoutSeconds = 60);
