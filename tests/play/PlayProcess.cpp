#include "PlayProcess.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <regex>
#include <stdexcept>
#include <thread>

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

PlayProcess::PlayProcess(const std::string& program, const std::vector<std::string>& arguments,
                         const std::string& input, const std::vector<std::string>& environment)
    : out_(AnonymousFile()), err_(AnonymousFile()) {
  const int in = AnonymousFile();
  if (::write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
    throw std::runtime_error("cannot write the input");
  }
  ::lseek(in, 0, SEEK_SET);
  child_ = ::fork();
  if (child_ < 0) throw std::runtime_error("fork failed");
  if (child_ == 0) {
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const std::string& argument : arguments)
      argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    for (const std::string& variable : environment)
      ::putenv(const_cast<char*>(variable.c_str()));
    ::dup2(in, STDIN_FILENO);
    ::dup2(out_, STDOUT_FILENO);
    ::dup2(err_, STDERR_FILENO);
    ::execv(argv[0], argv.data());
    ::_exit(127);
  }
  ::close(in);
}

PlayProcess::~PlayProcess() {
  if (child_ > 0) {
    ::kill(child_, SIGKILL);
    ::waitpid(child_, nullptr, 0);
  }
  ::close(out_);
  ::close(err_);
}

std::string PlayProcess::ErrorSoFar() const {
  return ReadAll(err_);
}

int PlayProcess::ListeningPort() const {
  const std::regex port("port (\\d+)");
  for (int i = 0; i < 500; ++i) {
    std::smatch match;
    const std::string err = ErrorSoFar();
    if (std::regex_search(err, match, port)) return std::stoi(match[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

void PlayProcess::Signal(int signal) const {
  ::kill(child_, signal);
}

PlayResult PlayProcess::Wait() {
  int status = 0;
  while (::waitpid(child_, &status, 0) < 0) {
  }
  child_ = -1;
  PlayResult result;
  result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = ReadAll(out_);
  result.err = ReadAll(err_);
  return result;
}

PlayResult RunPlay(const std::vector<std::string>& arguments, const std::string& input,
                   const std::vector<std::string>& environment) {
  return PlayProcess(FAUXLARM_PLAY, arguments, input, environment).Wait();
}

std::string ReadAllFrom(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::string bytes;
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) {
    char buffer[65536];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0)
      bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}
