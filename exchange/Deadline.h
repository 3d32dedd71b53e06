// A moment on the monotonic clock at which a wait for a lock held elsewhere gives up.
#pragma once

#include <ctime>

namespace halvane3 {

class Deadline {
 public:
  static Deadline in(int milliseconds);

  bool passed() const;
  // Sleeps before try number `attempt` (from 1) of something that did not succeed: 50 us at
  // first, twice as long each time up to 5 ms, never past the deadline. False, without
  // sleeping, once the deadline has passed.
  bool pauseBeforeRetry(int attempt) const;
  // The same moment on the real-time clock, for the waits that take only that one.
  timespec onRealtimeClock() const;

 private:
  timespec at_{};
};

}  // namespace halvane3
