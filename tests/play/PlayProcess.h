// fauxlarm-play run as a real process: arguments, bytes on standard input, the
// environment's additions; what it printed and how it ended. A run can be started, looked
// at (its standard error so far) and signalled before it is waited for.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct PlayResult {
  int exitCode = -1;  // 128 + the signal when a signal ended it
  std::string out;
  std::string err;
};

class PlayProcess {
 public:
  PlayProcess(const std::string& program, const std::vector<std::string>& arguments,
              const std::string& input = {}, const std::vector<std::string>& environment = {});
  ~PlayProcess();

  // What it wrote to standard error so far.
  std::string ErrorSoFar() const;
  // Waits up to five seconds for standard error to name the port it listens on; 0 if not.
  int ListeningPort() const;
  void Signal(int signal) const;
  PlayResult Wait();

 private:
  pid_t child_ = -1;
  int out_ = -1;
  int err_ = -1;
};

// Runs it to its end.
PlayResult RunPlay(const std::vector<std::string>& arguments, const std::string& input = {},
                   const std::vector<std::string>& environment = {});

// A TCP client on loopback that connects to the port and reads until the peer closes.
std::string ReadAllFrom(int port);
