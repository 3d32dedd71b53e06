#include "ChildProcess.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

namespace {

// Reads what arrives within the time-out; false at the end of the output or the time-out.
bool readSome(int fd, std::string& into, int timeoutSeconds, bool& timedOut) {
  pollfd ready{fd, POLLIN, 0};
  const int events = poll(&ready, 1, timeoutSeconds * 1000);
  timedOut = events == 0;
  if (events <= 0) return false;
  char chunk[65536];
  const ssize_t length = read(fd, chunk, sizeof chunk);
  if (length <= 0) return false;
  into.append(chunk, static_cast<size_t>(length));
  return true;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv, bool mergeErrors) {
  int toChild[2];
  int fromChild[2];
  if (pipe2(toChild, O_CLOEXEC) != 0 || pipe2(fromChild, O_CLOEXEC) != 0) {
    ADD_FAILURE() << "no pipes for " << argv[0];
    return;
  }
  std::vector<char*> arguments;
  for (const std::string& argument : argv)
    arguments.push_back(const_cast<char*>(argument.c_str()));
  arguments.push_back(nullptr);
  pid_ = fork();
  if (pid_ == 0) {
    dup2(toChild[0], STDIN_FILENO);
    dup2(fromChild[1], STDOUT_FILENO);
    if (mergeErrors) dup2(fromChild[1], STDERR_FILENO);
    execv(arguments[0], arguments.data());
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  input_ = toChild[1];
  output_ = fromChild[0];
}

ChildProcess::~ChildProcess() {
  kill();
  if (input_ >= 0) close(input_);
  if (output_ >= 0) close(output_);
}

std::string ChildProcess::readLine(int timeoutSeconds) {
  bool timedOut = false;
  size_t end;
  while ((end = pending_.find('\n')) == std::string::npos) {
    if (!readSome(output_, pending_, timeoutSeconds, timedOut)) {
      if (timedOut) ADD_FAILURE() << "child " << pid_ << " gave no line in time";
      return "";
    }
  }
  std::string line = pending_.substr(0, end);
  pending_.erase(0, end + 1);
  return line;
}

void ChildProcess::resume() {
  if (write(input_, "\n", 1) != 1) ADD_FAILURE() << "child " << pid_ << " does not listen";
}

void ChildProcess::kill(int signal) {
  if (pid_ <= 0) return;
  ::kill(pid_, signal);
  waitpid(pid_, nullptr, 0);
  pid_ = -1;
}

std::string ChildProcess::readRest(int timeoutSeconds) {
  bool timedOut = false;
  while (readSome(output_, pending_, timeoutSeconds, timedOut)) {
  }
  if (timedOut) ADD_FAILURE() << "child " << pid_ << " did not end its output in time";
  std::string rest;
  rest.swap(pending_);
  return rest;
}

int ChildProcess::finish(int timeoutSeconds) {
  if (input_ >= 0) close(input_);
  input_ = -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
    int status;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
      pid_ = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ADD_FAILURE() << "child " << pid_ << " did not end in time";
  kill();
  return -1;
}

std::vector<std::string> helper(const std::vector<std::string>& commands) {
  std::vector<std::string> argv{EXCHANGE_HELPER_PATH};
  argv.insert(argv.end(), commands.begin(), commands.end());
  return argv;
}

Finished runToEnd(const std::vector<std::string>& argv, int timeoutSeconds) {
  ChildProcess child(argv, true);
  std::string output = child.readRest(timeoutSeconds);
  return {child.finish(timeoutSeconds), output};
}
