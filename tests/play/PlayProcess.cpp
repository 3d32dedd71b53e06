#include "PlayProcess.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <regex>
#include <thread>

ProgramRun RunPlay(const std::vector<std::string>& arguments, const std::string& input) {
  std::vector<std::string> argv{FAUXLARM_PLAY};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  return RunningProgram(argv, input).Wait();
}

int ListeningPort(const RunningProgram& program) {
  const std::regex port("port (\\d+)");
  for (int i = 0; i < 500; ++i) {
    std::smatch match;
    const std::string err = program.ErrorSoFar();
    if (std::regex_search(err, match, port)) return std::stoi(match[1]);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return 0;
}

int ConnectTo(int port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(static_cast<std::uint16_t>(port));
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  if (::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0) return fd;
  ::close(fd);
  return -1;
}

std::string ReadAllFrom(int port) {
  const int fd = ConnectTo(port);
  std::string bytes;
  char buffer[65536];
  ssize_t n;
  while (fd >= 0 && (n = ::read(fd, buffer, sizeof buffer)) > 0)
    bytes.append(buffer, static_cast<std::size_t>(n));
  if (fd >= 0) ::close(fd);
  return bytes;
}
