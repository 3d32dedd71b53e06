#include "Deadline.h"

#include <cstdint>

namespace halvane3 {
namespace {

constexpr int64_t kNanosecondsPerSecond = 1'000'000'000;

int64_t nanoseconds(const timespec& time) {
  return time.tv_sec * kNanosecondsPerSecond + time.tv_nsec;
}

timespec fromNanoseconds(int64_t value) {
  return {static_cast<time_t>(value / kNanosecondsPerSecond),
          static_cast<long>(value % kNanosecondsPerSecond)};
}

int64_t now(clockid_t clock) {
  timespec time;
  clock_gettime(clock, &time);
  return nanoseconds(time);
}

}  // namespace

Deadline Deadline::in(int milliseconds) {
  Deadline deadline;
  deadline.at_ = fromNanoseconds(now(CLOCK_MONOTONIC) + int64_t{milliseconds} * 1'000'000);
  return deadline;
}

bool Deadline::passed() const {
  return now(CLOCK_MONOTONIC) >= nanoseconds(at_);
}

bool Deadline::pauseBeforeRetry(int attempt) const {
  constexpr int64_t kFirstPause = 50'000;
  constexpr int64_t kLongestPause = 5'000'000;
  const int64_t left = nanoseconds(at_) - now(CLOCK_MONOTONIC);
  if (left <= 0) return false;
  int64_t pause = kFirstPause;
  for (int i = 1; i < attempt && pause < kLongestPause; ++i)
    pause *= 2;
  if (pause > kLongestPause) pause = kLongestPause;
  const timespec sleep = fromNanoseconds(pause < left ? pause : left);
  nanosleep(&sleep, nullptr);
  return true;
}

timespec Deadline::onRealtimeClock() const {
  return fromNanoseconds(now(CLOCK_REALTIME) + nanoseconds(at_) - now(CLOCK_MONOTONIC));
}

}  // namespace halvane3
