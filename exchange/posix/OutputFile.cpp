// Log files and printer devices as file descriptors.
#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

#include "Platform.h"

namespace halvane3 {
namespace {

// A pipe or FIFO whose reader went away must fail the write, not kill the calling process
// with SIGPIPE: the signal is held back while writing and a pending one is discarded.
class SigpipeHeld {
 public:
  SigpipeHeld() {
    sigemptyset(&pipeOnly_);
    sigaddset(&pipeOnly_, SIGPIPE);
    sigset_t pending;
    wasPending_ = sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &pipeOnly_, &previous_);
  }
  ~SigpipeHeld() {
    if (raised_ && !wasPending_) {
      const timespec noWait{0, 0};
      while (sigtimedwait(&pipeOnly_, nullptr, &noWait) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;

  void noteRaised() { raised_ = true; }

 private:
  sigset_t pipeOnly_;
  sigset_t previous_;
  bool wasPending_ = false;
  bool raised_ = false;
};

}  // namespace

OutputFile OutputFile::appendToLog(const char* path) {
  return OutputFile(open(path, O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC | O_NOCTTY, 0666));
}

// Appending, so that a plain file in the device folder collects every job.
OutputFile OutputFile::openDevice(const char* device) {
  return OutputFile(open(device, O_WRONLY | O_APPEND | O_NOCTTY | O_CLOEXEC));
}

bool OutputFile::write(const char* bytes, size_t length) {
  const int fd = static_cast<int>(handle_);
  SigpipeHeld sigpipeHeld;
  while (length > 0) {
    const ssize_t written = ::write(fd, bytes, length);
    if (written < 0) {
      if (errno == EINTR) continue;
      if (errno == EPIPE) sigpipeHeld.noteRaised();
      return false;
    }
    bytes += written;
    length -= static_cast<size_t>(written);
  }
  return true;
}

bool OutputFile::close() {
  if (!isOpen()) return false;
  const int fd = static_cast<int>(handle_);
  handle_ = kClosed;
  return ::close(fd) == 0;
}

}  // namespace halvane3
