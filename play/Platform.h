// What fauxlarm-play needs from the platform it runs on, implemented once per platform in
// its own folder (posix/Platform.cpp): the monotonic clock and waits on it, the local
// calendar time, the stop signals, the terminal, reading input, and TCP sockets. The rest
// of the program is standard C++. Paths and texts are UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace Play::platform {

// Nanoseconds of a clock that never jumps; only differences mean anything.
std::int64_t MonotonicNanoseconds();
// Waits until the monotonic clock reaches the deadline; returns early when a stop signal
// comes.
void SleepUntil(std::int64_t deadline);
// Asks the system to wake the program as close to its deadlines as it can, for runs that
// keep times.
void KeepTimeClosely();

struct CalendarTime {
  int year, month, day, hour, minute, second;
  int utcOffsetMinutes;
};
// The local calendar time of a point in time, in whole seconds since 1970 (UTC).
CalendarTime LocalTime(std::int64_t secondsSince1970);

// Ctrl+C and the termination request stop the run rather than the process, so that the
// summary is printed.
void CatchStopSignals();
// How many stop signals came so far.
int StopSignals();

bool StandardErrorIsTerminal();

// The folder of the program file, ending with "/".
std::string ProgramFolder();

// A file or standard input, read in chunks.
class Input {
 public:
  enum class Status { kData, kEnd, kTimedOut, kStopped, kError };
  struct Result {
    Status status;
    std::size_t count;
  };

  // Null, with the reason in error, when the file cannot be opened.
  static std::unique_ptr<Input> OpenFile(const std::string& path, std::string* error);
  static std::unique_ptr<Input> StandardInput();
  virtual ~Input() = default;

  // Reads what is there, at most size bytes, waiting at most timeoutMs for the first one
  // (a file never waits). kError leaves the reason in Error().
  virtual Result Read(char* buffer, std::size_t size, int timeoutMs) = 0;
  virtual std::string Error() const = 0;
};

// TCP. A socket is a number of the platform's; kNoSocket is none.
using Socket = std::intptr_t;
inline constexpr Socket kNoSocket = -1;

// Listens on all local addresses; kNoSocket, with the reason in error, when it cannot.
Socket Listen(std::uint16_t port, std::string* error);
std::uint16_t LocalPort(Socket listener);
// A pending connection, made non-blocking; kNoSocket when none is waiting.
Socket Accept(Socket listener);
void Close(Socket socket);

// Waits up to timeoutMs for any of: a connection to accept (listener), data or a close to
// read (connection), room to write (connection, when wantWrite). Either may be kNoSocket.
void Wait(Socket listener, Socket connection, bool wantWrite, int timeoutMs);
// Bytes the system took from the buffer, 0 when it has no room now; -1 when the connection
// is lost.
std::int64_t Send(Socket connection, const char* bytes, std::size_t size);
// Reads and drops what the peer sent; false when the peer closed the connection or it
// was lost.
bool DiscardIncoming(Socket connection);
// Bytes handed to the system that the peer has not acknowledged yet; 0 when the platform
// cannot tell.
std::int64_t Unacknowledged(Socket connection);

}  // namespace Play::platform
