#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "injector/SendQueueWatch.h"

SendQueueWatch::SendQueueWatch(qintptr socket)
    : handle_(socket < 0 ? -1 : ::fcntl(static_cast<int>(socket), F_DUPFD_CLOEXEC, 0)) {}

SendQueueWatch::~SendQueueWatch() {
  if (handle_ >= 0) ::close(handle_);
}

// SIOCOUTQ counts the bytes from the first one not acknowledged to the last one written,
// also once the connection has been reset.
qint64 SendQueueWatch::Unacknowledged() const {
  int bytes = 0;
  if (handle_ < 0 || ::ioctl(handle_, SIOCOUTQ, &bytes) != 0) return -1;
  return bytes;
}
