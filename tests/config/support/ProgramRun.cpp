#include "ProgramRun.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
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
  ::lseek(descriptor, 0, SEEK_SET);
  ssize_t n;
  while ((n = ::read(descriptor, buffer, sizeof buffer)) > 0)
    bytes.append(buffer, static_cast<std::size_t>(n));
  ::close(descriptor);
  return bytes;
}

}  // namespace

ProgramRun RunProgram(const std::vector<std::string>& argv) {
  const int out = AnonymousFile();
  const int err = AnonymousFile();
  const pid_t child = ::fork();
  if (child < 0) throw std::runtime_error("fork failed");
  if (child == 0) {
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
      arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    ::dup2(out, STDOUT_FILENO);
    ::dup2(err, STDERR_FILENO);
    const int nothing = ::open("/dev/null", O_RDONLY);
    ::dup2(nothing, STDIN_FILENO);
    ::execv(arguments[0], arguments.data());
    ::_exit(127);
  }
  int status = 0;
  while (::waitpid(child, &status, 0) < 0) {
  }
  ProgramRun run;
  run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  run.out = ReadAll(out);
  run.err = ReadAll(err);
  return run;
}

}  // namespace Halvane_Config
