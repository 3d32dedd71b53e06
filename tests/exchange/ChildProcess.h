// A real child process whose output the test reads line by line. Every wait on it is
// bounded, so that a deadlock fails the test instead of hanging it.
#pragma once

#include <memory>
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
  // Ends it at once, the way a crash or a kill does (SIGKILL, TerminateProcess), and reaps it.
  void kill();
  // Asks it to end, as a user stopping it does (SIGTERM), and reaps it.
  void stop();
  // All output still to come, until it ends.
  std::string readRest(int timeoutSeconds = 60);
  // Closes its input and waits for its end: the exit code, 128 + the signal that ended it,
  // or -1 when it had to be killed after the time-out.
  int finish(int timeoutSeconds = 60);

 private:
  // Appends what arrives within the time-out; false at the end of its output or after the
  // time-out, which sets timedOut.
  bool readSome(std::string& into, int timeoutSeconds, bool& timedOut);

  struct Process;
  std::unique_ptr<Process> process_;
  std::string pending_;
};

// The command line of the exchange helper (ExchangeHelper.cpp) running these commands.
std::vector<std::string> helper(const std::vector<std::string>& commands);

// Reads the child's next lines, which must be these.
void expectLines(ChildProcess& child, const std::vector<std::string>& lines);

struct Finished {
  int exitCode;
  std::string output;
};

// Runs a program to its end, its error output merged into its output.
Finished runToEnd(const std::vector<std::string>& argv, int timeoutSeconds = 60);
