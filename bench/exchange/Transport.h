// One way of moving texts from a writer to a reader, so that the exchange library and the
// alternatives run the same workload.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

class Transport {
 public:
  virtual ~Transport() = default;
  // Hands over a NUL-terminated text of `length` characters.
  virtual void send(const char* text, size_t length) = 0;
  // Takes the next text into buffer and gives its length; 0 when there is none yet (the
  // message queues wait for one instead).
  virtual size_t receive(char* buffer, size_t size) = 0;
};

// The library's command queue 0. A paced writer never gets more than 40 entries ahead of
// the reader, since a full ring overwrites rather than waits.
std::unique_ptr<Transport> makeHalvane3Transport(bool paced);
// Detaches from the region, which then goes away.
void unloadHalvane3();
// The same two locks and copies without any queue: what the library cannot beat.
std::unique_ptr<Transport> makeFloorTransport();
std::unique_ptr<Transport> makeBoostQueueTransport(const std::string& name);
// The capacity is 50 when the system allows it (see the README).
std::unique_ptr<Transport> makePosixQueueTransport(const std::string& name);
