#include "TextModeWriter.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>

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

void TextModeWriter::append(const char* text, size_t length) {
  for (size_t i = 0; i < length; ++i) {
    if (used_ + 2 > sizeof buffer_) flush();
    if (text[i] == '\n') buffer_[used_++] = '\r';
    buffer_[used_++] = text[i];
  }
}

void TextModeWriter::append(const char* text) {
  append(text, std::strlen(text));
}

bool TextModeWriter::flush() {
  if (used_ > 0 && !writeAll(buffer_, used_)) failed_ = true;
  used_ = 0;
  return !failed_;
}

bool TextModeWriter::writeAll(const char* bytes, size_t length) {
  SigpipeHeld sigpipeHeld;
  while (length > 0) {
    const ssize_t written = write(fd_, bytes, length);
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

}  // namespace halvane3
