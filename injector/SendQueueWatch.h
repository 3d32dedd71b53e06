// How much of what the program wrote to a TCP connection the peer's side has not yet
// acknowledged. It watches through a handle of its own, so that it can still tell after
// the socket's owner has closed its handle (a peer that reset the connection). What the
// peer's program has read of what its system acknowledged cannot be known from here.
#pragma once

#include <QtGlobal>

class SendQueueWatch {
 public:
  // Watches the connected socket with that descriptor; none is watched for -1.
  explicit SendQueueWatch(qintptr socket = -1);
  ~SendQueueWatch();
  SendQueueWatch(const SendQueueWatch&) = delete;
  SendQueueWatch& operator=(const SendQueueWatch&) = delete;

  // Bytes written to the system that the peer has not acknowledged; -1 when the system
  // cannot tell (or no socket is watched).
  qint64 Unacknowledged() const;

 private:
  int handle_ = -1;
};
