#define WIN32_LEAN_AND_MEAN
#include "play/Platform.h"

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>
// After windows.h, whose types they use.
#include <mmsystem.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include "events/windows/WindowsText.h"

namespace Play::platform {
namespace {

namespace text = FauxlarmEvents::windows;

constexpr std::int64_t kNanoseconds = 1'000'000'000;
// Windows 10 1803 and later: a timer that fires within about half a millisecond of its time
// rather than at the next tick of the system's clock. Older systems refuse the flag.
constexpr DWORD kHighResolutionTimer = 0x2;

std::atomic<int> stopSignals{0};

// Set by the first stop signal and never reset, so that every wait ends at once.
HANDLE StopEvent() {
  static const HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  return event;
}

BOOL WINAPI OnConsoleControl(DWORD type) {
  if (type != CTRL_C_EVENT && type != CTRL_BREAK_EVENT) return FALSE;
  stopSignals.fetch_add(1, std::memory_order_relaxed);
  SetEvent(StopEvent());
  return TRUE;
}

HANDLE SleepTimer() {
  static const HANDLE timer = [] {
    const HANDLE precise =
        CreateWaitableTimerExW(nullptr, nullptr, kHighResolutionTimer, TIMER_ALL_ACCESS);
    return precise != nullptr ? precise : CreateWaitableTimerW(nullptr, FALSE, nullptr);
  }();
  return timer;
}

// The console mode that the status line changed, put back when the program ends.
struct ConsoleModeKept {
  HANDLE console = nullptr;
  DWORD mode = 0;
  ~ConsoleModeKept() {
    if (console != nullptr) SetConsoleMode(console, mode);
  }
} consoleModeKept;

std::string LastError() {
  return text::ErrorText(GetLastError());
}

std::string SocketError() {
  return text::ErrorText(static_cast<DWORD>(WSAGetLastError()));
}

class FileInput : public Input {
 public:
  explicit FileInput(HANDLE file) : file_(file) {}
  ~FileInput() override { CloseHandle(file_); }

  Result Read(char* buffer, std::size_t size, int) override {
    DWORD n = 0;
    if (!ReadFile(file_, buffer, static_cast<DWORD>(std::min<std::size_t>(size, 1 << 30)), &n,
                  nullptr)) {
      error_ = LastError();
      return {Status::kError, 0};
    }
    return {n > 0 ? Status::kData : Status::kEnd, n};
  }

  std::string Error() const override { return error_; }

 private:
  HANDLE file_;
  std::string error_;
};

// Standard input, read by a thread of its own: a console, a pipe and a file all block in
// ReadFile, and only so can a wait for input end at its time-out or at Ctrl+C. The thread
// stays ahead by at most kAhead bytes; it may outlive the reader, blocked in ReadFile,
// until the process ends.
class StandardInputReader : public Input {
 public:
  StandardInputReader() : shared_(std::make_shared<Shared>()) {
    auto* forThread = new std::shared_ptr<Shared>(shared_);
    const HANDLE thread = CreateThread(nullptr, 0, ReadAll, forThread, 0, nullptr);
    if (thread == nullptr) {
      delete forThread;
      shared_->Finish(GetLastError());
      return;
    }
    CloseHandle(thread);
  }

  Result Read(char* buffer, std::size_t size, int timeoutMs) override {
    const HANDLE waits[] = {shared_->ready, StopEvent()};
    WaitForMultipleObjects(2, waits, FALSE, timeoutMs < 0 ? INFINITE : timeoutMs);
    const std::lock_guard<std::mutex> lock(shared_->mutex);
    if (!shared_->data.empty()) {
      const std::size_t count = std::min(size, shared_->data.size());
      shared_->data.copy(buffer, count);
      shared_->data.erase(0, count);
      if (shared_->data.empty() && !shared_->ended) ResetEvent(shared_->ready);
      SetEvent(shared_->room);
      return {Status::kData, count};
    }
    if (shared_->ended) {
      if (shared_->error == 0) return {Status::kEnd, 0};
      error_ = text::ErrorText(shared_->error);
      return {Status::kError, 0};
    }
    return {StopSignals() > 0 ? Status::kStopped : Status::kTimedOut, 0};
  }

  std::string Error() const override { return error_; }

 private:
  static constexpr std::size_t kAhead = 1 << 20;

  struct Shared {
    std::mutex mutex;
    std::string data;
    bool ended = false;
    DWORD error = 0;
    // Both manual-reset: ready while there is data or the end, room while below kAhead.
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE room = CreateEventW(nullptr, TRUE, TRUE, nullptr);

    ~Shared() {
      CloseHandle(ready);
      CloseHandle(room);
    }
    void Finish(DWORD reason) {
      const std::lock_guard<std::mutex> lock(mutex);
      ended = true;
      error = reason;
      SetEvent(ready);
    }
  };

  static DWORD WINAPI ReadAll(void* parameter) {
    const std::unique_ptr<std::shared_ptr<Shared>> owner(
        static_cast<std::shared_ptr<Shared>*>(parameter));
    Shared& shared = **owner;
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    char chunk[65536];
    for (;;) {
      WaitForSingleObject(shared.room, INFINITE);
      DWORD n = 0;
      if (!ReadFile(input, chunk, sizeof chunk, &n, nullptr)) {
        const DWORD reason = GetLastError();
        // The writer of a pipe closing it is the pipe's end.
        shared.Finish(reason == ERROR_BROKEN_PIPE ? 0 : reason);
        return 0;
      }
      // No bytes: the end of a file or a pipe, or Ctrl+Z (or Ctrl+C) on a console.
      if (n == 0) {
        shared.Finish(0);
        return 0;
      }
      const std::lock_guard<std::mutex> lock(shared.mutex);
      shared.data.append(chunk, n);
      SetEvent(shared.ready);
      if (shared.data.size() >= kAhead) ResetEvent(shared.room);
    }
  }

  std::shared_ptr<Shared> shared_;
  std::string error_;
};

bool StartWinsock(std::string* error) {
  static const int started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data);
  }();
  if (started != 0) *error = text::ErrorText(static_cast<DWORD>(started));
  return started == 0;
}

void SetNonBlocking(SOCKET socket) {
  u_long on = 1;
  ioctlsocket(socket, FIONBIO, &on);
}

}  // namespace

std::vector<std::string> Arguments(int argc, char** argv) {
  // main's arguments are in the ANSI code page, which cannot hold every path.
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  if (wide == nullptr) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i)
    arguments.push_back(text::Utf8(wide[i]));
  LocalFree(wide);
  return arguments;
}

void Write(Stream stream, std::string_view bytes) {
  const HANDLE handle =
      GetStdHandle(stream == Stream::kOutput ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::string shown = text::InCodePage(bytes, GetConsoleOutputCP());
    DWORD written = 0;
    WriteFile(handle, shown.data(), static_cast<DWORD>(shown.size()), &written, nullptr);
    return;
  }
  std::FILE* file = stream == Stream::kOutput ? stdout : stderr;
  std::fwrite(bytes.data(), 1, bytes.size(), file);
  std::fflush(file);
}

std::int64_t MonotonicNanoseconds() {
  static const std::int64_t frequency = [] {
    LARGE_INTEGER ticks;
    QueryPerformanceFrequency(&ticks);
    return ticks.QuadPart;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return now.QuadPart / frequency * kNanoseconds +
         now.QuadPart % frequency * kNanoseconds / frequency;
}

void SleepUntil(std::int64_t deadline) {
  while (StopSignals() == 0) {
    const std::int64_t now = MonotonicNanoseconds();
    if (now >= deadline) return;
    const std::int64_t wait = deadline - now;
    LARGE_INTEGER due;
    due.QuadPart = -std::max<std::int64_t>(wait / 100, 1);  // relative, in 100 ns
    // A stop signal ends the wait at once, also one that came before it began.
    const HANDLE waits[] = {StopEvent(), SleepTimer()};
    if (waits[1] != nullptr && SetWaitableTimer(waits[1], &due, 0, nullptr, nullptr, FALSE)) {
      WaitForMultipleObjects(2, waits, FALSE, INFINITE);
    } else {
      WaitForSingleObject(waits[0], static_cast<DWORD>((wait + 999'999) / 1'000'000));
    }
  }
}

void KeepTimeClosely() {
  // Timers and waits run on a 1 ms tick instead of the system's usual 15.6 ms.
  timeBeginPeriod(1);
}

CalendarTime LocalTime(std::int64_t secondsSince1970) {
  // File times count 100 ns from 1601.
  constexpr std::int64_t kSeconds1601To1970 = 11'644'473'600;
  const auto universalTicks =
      static_cast<std::uint64_t>(secondsSince1970 + kSeconds1601To1970) * 10'000'000;
  const FILETIME universalFile{static_cast<DWORD>(universalTicks),
                               static_cast<DWORD>(universalTicks >> 32)};
  SYSTEMTIME universal;
  SYSTEMTIME local;
  FileTimeToSystemTime(&universalFile, &universal);
  if (!SystemTimeToTzSpecificLocalTime(nullptr, &universal, &local)) local = universal;
  FILETIME localFile;
  SystemTimeToFileTime(&local, &localFile);
  const std::uint64_t localTicks =
      static_cast<std::uint64_t>(localFile.dwHighDateTime) << 32 | localFile.dwLowDateTime;
  const auto offsetTicks =
      static_cast<std::int64_t>(localTicks) - static_cast<std::int64_t>(universalTicks);
  return {local.wYear,
          local.wMonth,
          local.wDay,
          local.wHour,
          local.wMinute,
          local.wSecond,
          static_cast<int>(offsetTicks / 600'000'000)};
}

void CatchStopSignals() {
  StopEvent();
  SetConsoleCtrlHandler(OnConsoleControl, TRUE);
}

int StopSignals() {
  return stopSignals.load(std::memory_order_relaxed);
}

bool StandardErrorIsTerminal() {
  const HANDLE console = GetStdHandle(STD_ERROR_HANDLE);
  DWORD mode = 0;
  if (!GetConsoleMode(console, &mode)) return false;
  if ((mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) != 0) return true;
  // The status line redraws itself with control sequences, which a console takes only
  // when told to (Windows 10 and later); an older one shows no status line.
  if (!SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) return false;
  consoleModeKept.console = console;
  consoleModeKept.mode = mode;
  return true;
}

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".\\";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  return text::Utf8(path.substr(0, path.find_last_of(L"\\/") + 1));
}

std::FILE* OpenNewFile(const std::string& path, std::string* error) {
  std::FILE* file = _wfopen(text::Wide(path).c_str(), L"wb");
  if (file == nullptr) *error = std::strerror(errno);
  return file;
}

std::unique_ptr<Input> Input::OpenFile(const std::string& path, std::string* error) {
  // Others may go on writing, renaming or deleting the file while it is read.
  const HANDLE file = CreateFileW(text::Wide(path).c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    *error = LastError();
    return nullptr;
  }
  return std::make_unique<FileInput>(file);
}

std::unique_ptr<Input> Input::StandardInput() {
  return std::make_unique<StandardInputReader>();
}

Socket Listen(std::uint16_t port, std::string* error) {
  if (!StartWinsock(error)) return kNoSocket;
  // One socket for IPv6 and IPv4 where the system allows it, else IPv4 alone. No
  // SO_REUSEADDR: on Windows it would let a second program take the port from the first.
  SOCKET listener = socket(AF_INET6, SOCK_STREAM, IPPROTO_TCP);
  if (listener != INVALID_SOCKET) {
    const DWORD off = 0;
    setsockopt(listener, IPPROTO_IPV6, IPV6_V6ONLY, reinterpret_cast<const char*>(&off),
               sizeof off);
    sockaddr_in6 address{};
    address.sin6_family = AF_INET6;
    address.sin6_addr = in6addr_any;
    address.sin6_port = htons(port);
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        listen(listener, 8) == 0) {
      SetNonBlocking(listener);
      return static_cast<Socket>(listener);
    }
    const int reason = WSAGetLastError();
    closesocket(listener);
    if (reason != WSAEAFNOSUPPORT && reason != WSAEADDRNOTAVAIL) {
      *error = text::ErrorText(static_cast<DWORD>(reason));
      return kNoSocket;
    }
  }
  listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (listener == INVALID_SOCKET) {
    *error = SocketError();
    return kNoSocket;
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_ANY);
  address.sin_port = htons(port);
  if (bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(listener, 8) != 0) {
    *error = SocketError();
    closesocket(listener);
    return kNoSocket;
  }
  SetNonBlocking(listener);
  return static_cast<Socket>(listener);
}

std::uint16_t LocalPort(Socket listener) {
  sockaddr_storage address{};
  int size = sizeof address;
  getsockname(static_cast<SOCKET>(listener), reinterpret_cast<sockaddr*>(&address), &size);
  if (address.ss_family == AF_INET6) {
    return ntohs(reinterpret_cast<sockaddr_in6*>(&address)->sin6_port);
  }
  return ntohs(reinterpret_cast<sockaddr_in*>(&address)->sin_port);
}

Socket Accept(Socket listener) {
  const SOCKET connection = accept(static_cast<SOCKET>(listener), nullptr, nullptr);
  if (connection == INVALID_SOCKET) return kNoSocket;
  SetNonBlocking(connection);
  return static_cast<Socket>(connection);
}

void Close(Socket socket) {
  if (socket != kNoSocket) closesocket(static_cast<SOCKET>(socket));
}

void Wait(Socket listener, Socket connection, bool wantWrite, int timeoutMs) {
  fd_set readable;
  fd_set writable;
  FD_ZERO(&readable);
  FD_ZERO(&writable);
  if (listener != kNoSocket) FD_SET(static_cast<SOCKET>(listener), &readable);
  if (connection != kNoSocket) {
    FD_SET(static_cast<SOCKET>(connection), &readable);
    if (wantWrite) FD_SET(static_cast<SOCKET>(connection), &writable);
  }
  timeval timeout{timeoutMs / 1000, timeoutMs % 1000 * 1000};
  select(0, &readable, &writable, nullptr, &timeout);
}

std::int64_t Send(Socket connection, const char* bytes, std::size_t size) {
  const int n = send(static_cast<SOCKET>(connection), bytes,
                     static_cast<int>(std::min<std::size_t>(size, 1 << 30)), 0);
  if (n >= 0) return n;
  return WSAGetLastError() == WSAEWOULDBLOCK ? 0 : -1;
}

bool DiscardIncoming(Socket connection) {
  char buffer[16384];
  // A peer that never stops talking gets a few reads per look, not the whole program.
  for (int reads = 0; reads < 16; ++reads) {
    const int n = recv(static_cast<SOCKET>(connection), buffer, sizeof buffer, 0);
    if (n > 0) continue;
    if (n == 0) return false;
    return WSAGetLastError() == WSAEWOULDBLOCK;
  }
  return true;
}

// Windows tells no count of the bytes a connection has sent and not had acknowledged
// (before Windows 10 not at all, and then not of what waits unsent): what Winsock has
// taken counts as delivered, as with Fauxlarm.
std::int64_t Unacknowledged(Socket) {
  return 0;
}

}  // namespace Play::platform
