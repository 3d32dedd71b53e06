#include "ProgramRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace Halvane_Config {
namespace {

// A file without a name that the child writes to and the parent reads from the start.
int AnonymousFile() {
  FILE* file = std::tmpfile();
  if (file == nullptr) throw std::runtime_error("tmpfile failed");
  const int descriptor = ::dup(::fileno(file));
  std::fclose(file);
  return descriptor;
}

std::string ReadAll(int descriptor) {
  std::string bytes;
  char buffer[65536];
  ssize_t n;
  off_t offset = 0;
  while ((n = ::pread(descriptor, buffer, sizeof buffer, offset)) > 0) {
    bytes.append(buffer, static_cast<std::size_t>(n));
    offset += n;
  }
  return bytes;
}

}  // namespace

RunningProgram::RunningProgram(const std::vector<std::string>& argv, const std::string& input,
                               const std::vector<std::string>& environment)
    : out_(AnonymousFile()), err_(AnonymousFile()) {
  const int in = AnonymousFile();
  if (::write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
    throw std::runtime_error("cannot write the input");
  }
  ::lseek(in, 0, SEEK_SET);
  child_ = ::fork();
  if (child_ < 0) throw std::runtime_error("fork failed");
  if (child_ == 0) {
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
      arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    for (const std::string& variable : environment)
      ::putenv(const_cast<char*>(variable.c_str()));
    ::dup2(in, STDIN_FILENO);
    ::dup2(out_, STDOUT_FILENO);
    ::dup2(err_, STDERR_FILENO);
    ::execv(arguments[0], arguments.data());
    ::_exit(127);
  }
  ::close(in);
}

RunningProgram::~RunningProgram() {
  if (child_ > 0) {
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
  }
  ::close(out_);
  ::close(err_);
}

std::string RunningProgram::ErrorSoFar() const {
  return ReadAll(err_);
}

void RunningProgram::Signal(int signal) const {
  ::kill(child_, signal);
}

ProgramRun RunningProgram::Wait() {
  int status = 0;
  while (::waitpid(child_, &status, 0) < 0) {
  }
  child_ = -1;
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = ReadAll(out_);
  run.err = ReadAll(err_);
  return run;
}

ProgramRun RunProgram(const std::vector<std::string>& argv) {
  return RunningProgram(argv).Wait();
}

}  // namespace Halvane_Config
