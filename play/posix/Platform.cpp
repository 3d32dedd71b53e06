#include "play/Platform.h"

#include <fcntl.h>
#include <linux/sockios.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <filesystem>

namespace Play::platform {
namespace {

constexpr std::int64_t kNanoseconds = 1'000'000'000;
// A stop signal that comes just before a sleep starts ends it within this time.
constexpr std::int64_t kLongestSleep = 100'000'000;

std::atomic<int> stopSignals{0};

void OnStopSignal(int) {
  stopSignals.fetch_add(1, std::memory_order_relaxed);
}

timespec ToTimespec(std::int64_t nanoseconds) {
  return {static_cast<time_t>(nanoseconds / kNanoseconds),
          static_cast<long>(nanoseconds % kNanoseconds)};
}

class FileInput : public Input {
 public:
  FileInput(int fd, bool waits) : fd_(fd), waits_(waits) {}
  ~FileInput() override {
    if (fd_ != STDIN_FILENO) ::close(fd_);
  }

  Result Read(char* buffer, std::size_t size, int timeoutMs) override {
    if (waits_) {
      pollfd ready{fd_, POLLIN, 0};
      const int n = ::poll(&ready, 1, timeoutMs);
      if (n == 0) return {Status::kTimedOut, 0};
      if (n < 0) return Failed();
    }
    const ssize_t n = ::read(fd_, buffer, size);
    if (n > 0) return {Status::kData, static_cast<std::size_t>(n)};
    if (n == 0) return {Status::kEnd, 0};
    return Failed();
  }

  std::string Error() const override { return std::strerror(errno_); }

 private:
  Result Failed() {
    if (errno == EINTR || errno == EAGAIN) {
      return {StopSignals() > 0 ? Status::kStopped : Status::kTimedOut, 0};
    }
    errno_ = errno;
    return {Status::kError, 0};
  }

  int fd_;
  bool waits_;
  int errno_ = 0;
};

}  // namespace

std::int64_t MonotonicNanoseconds() {
  timespec now;
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * kNanoseconds + now.tv_nsec;
}

void SleepUntil(std::int64_t deadline) {
  while (StopSignals() == 0) {
    const std::int64_t now = MonotonicNanoseconds();
    if (now >= deadline) return;
    const timespec until = ToTimespec(std::min(deadline, now + kLongestSleep));
    ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr);
  }
}

void KeepTimeClosely() {
  // Timers fire when due rather than up to 50 µs later, where the system would group them.
  ::prctl(PR_SET_TIMERSLACK, 1, 0, 0, 0);
}

CalendarTime LocalTime(std::int64_t secondsSince1970) {
  const time_t seconds = static_cast<time_t>(secondsSince1970);
  tm local;
  ::localtime_r(&seconds, &local);
  return {local.tm_year + 1900,
          local.tm_mon + 1,
          local.tm_mday,
          local.tm_hour,
          local.tm_min,
          local.tm_sec,
          static_cast<int>(local.tm_gmtoff / 60)};
}

void CatchStopSignals() {
  struct sigaction action {};
  action.sa_handler = OnStopSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = 0;  // no restart: a blocked read or wait returns and sees the stop
  ::sigaction(SIGINT, &action, nullptr);
  ::sigaction(SIGTERM, &action, nullptr);
  ::signal(SIGPIPE, SIG_IGN);
}

int StopSignals() {
  return stopSignals.load(std::memory_order_relaxed);
}

bool StandardErrorIsTerminal() {
  return ::isatty(STDERR_FILENO) == 1;
}

std::string ProgramFolder() {
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string("./") : program.parent_path().string() + "/";
}

std::unique_ptr<Input> Input::OpenFile(const std::string& path, std::string* error) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    *error = std::strerror(errno);
    return nullptr;
  }
  return std::make_unique<FileInput>(fd, false);
}

std::unique_ptr<Input> Input::StandardInput() {
  return std::make_unique<FileInput>(STDIN_FILENO, true);
}

Socket Listen(std::uint16_t port, std::string* error) {
  // One socket for IPv6 and IPv4 where the system allows it, else IPv4 alone.
  int fd = ::socket(AF_INET6, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  const int on = 1;
  const int off = 0;
  if (fd >= 0) {
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    ::setsockopt(fd, IPPROTO_IPV6, IPV6_V6ONLY, &off, sizeof off);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_any;
    address.sin6_port = htons(port);
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::listen(fd, 8) == 0) {
      return fd;
    }
    const int reason = errno;
    ::close(fd);
    if (reason != EAFNOSUPPORT && reason != EADDRNOTAVAIL) {
      *error = std::strerror(reason);
      return kNoSocket;
    }
  }
  fd = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    *error = std::strerror(errno);
    return kNoSocket;
  }
  ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(port);
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::listen(fd, 8) != 0) {
    *error = std::strerror(errno);
    ::close(fd);
    return kNoSocket;
  }
  return fd;
}

std::uint16_t LocalPort(Socket listener) {
  sockaddr_storage address{};
  socklen_t size = sizeof address;
  ::getsockname(static_cast<int>(listener), reinterpret_cast<sockaddr*>(&address), &size);
  if (address.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
  }
  return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

Socket Accept(Socket listener) {
  const int fd =
      ::accept4(static_cast<int>(listener), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  return fd >= 0 ? fd : kNoSocket;
}

void Close(Socket socket) {
  if (socket != kNoSocket) ::close(static_cast<int>(socket));
}

void Wait(Socket listener, Socket connection, bool wantWrite, int timeoutMs) {
  pollfd sockets[2];
  nfds_t count = 0;
  if (listener != kNoSocket) sockets[count++] = {static_cast<int>(listener), POLLIN, 0};
  if (connection != kNoSocket) {
    sockets[count++] = {static_cast<int>(connection),
                        static_cast<short>(POLLIN | (wantWrite ? POLLOUT : 0)), 0};
  }
  ::poll(sockets, count, timeoutMs);
}

std::int64_t Send(Socket connection, const char* bytes, std::size_t size) {
  const ssize_t n = ::send(static_cast<int>(connection), bytes, size, MSG_NOSIGNAL);
  if (n >= 0) return n;
  return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR ? 0 : -1;
}

bool DiscardIncoming(Socket connection) {
  char buffer[16384];
  // A peer that never stops talking gets a few reads per look, not the whole program.
  for (int reads = 0; reads < 16; ++reads) {
    const ssize_t n = ::recv(static_cast<int>(connection), buffer, sizeof buffer, 0);
    if (n > 0) continue;
    if (n == 0) return false;
    return errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR;
  }
  return true;
}

std::int64_t Unacknowledged(Socket connection) {
  int bytes = 0;
  if (::ioctl(static_cast<int>(connection), SIOCOUTQ, &bytes) != 0) return 0;
  return bytes;
}

}  // namespace Play::platform
