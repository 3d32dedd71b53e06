// Child processes started with fork and exec, read through pipes.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "ChildProcess.h"

struct ChildProcess::Process {
  pid_t pid = -1;
  int input = -1;
  int output = -1;

  void end(int signal) {
    if (pid <= 0) return;
    ::kill(pid, signal);
    waitpid(pid, nullptr, 0);
    pid = -1;
  }
};

ChildProcess::ChildProcess(const std::vector<std::string>& argv, bool mergeErrors)
    : process_(std::make_unique<Process>()) {
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
  process_->pid = fork();
  if (process_->pid == 0) {
    dup2(toChild[0], STDIN_FILENO);
    dup2(fromChild[1], STDOUT_FILENO);
    if (mergeErrors) dup2(fromChild[1], STDERR_FILENO);
    execv(arguments[0], arguments.data());
    _exit(127);
  }
  close(toChild[0]);
  close(fromChild[1]);
  process_->input = toChild[1];
  process_->output = fromChild[0];
}

ChildProcess::~ChildProcess() {
  kill();
  if (process_->input >= 0) close(process_->input);
  if (process_->output >= 0) close(process_->output);
}

bool ChildProcess::readSome(std::string& into, int timeoutSeconds, bool& timedOut) {
  pollfd ready{process_->output, POLLIN, 0};
  const int events = poll(&ready, 1, timeoutSeconds * 1000);
  timedOut = events == 0;
  if (events <= 0) return false;
  char chunk[65536];
  const ssize_t length = read(process_->output, chunk, sizeof chunk);
  if (length <= 0) return false;
  into.append(chunk, static_cast<size_t>(length));
  return true;
}

void ChildProcess::resume() {
  if (write(process_->input, "\n", 1) != 1) ADD_FAILURE() << "a child does not listen";
}

void ChildProcess::kill() {
  process_->end(SIGKILL);
}

void ChildProcess::stop() {
  process_->end(SIGTERM);
}

int ChildProcess::finish(int timeoutSeconds) {
  if (process_->input >= 0) close(process_->input);
  process_->input = -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (process_->pid > 0 && std::chrono::steady_clock::now() < deadline) {
    int status;
    if (waitpid(process_->pid, &status, WNOHANG) == process_->pid) {
      process_->pid = -1;
      return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  ADD_FAILURE() << "a child did not end in time";
  kill();
  return -1;
}
