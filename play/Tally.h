// What became of the events of a run, and how late they went out.
#pragma once

#include <array>
#include <cstdint>

namespace Play {

// Why an event was not delivered.
enum class Undelivered {
  kNoServer,        // no alarm server was connected, or its connection was lost
  kServerStalled,   // the alarm server took no data for too long, or not before the end
  kLibraryRefused,  // the exchange library took nothing (it has no shared region)
  kFileError,       // the generic file could not be written
  kStopped,         // the run was stopped before the event went out
};
inline constexpr int kUndeliveredReasons = 5;

const char* ReasonText(Undelivered reason);  // "no server connected"
const char* ReasonKey(Undelivered reason);   // "no_server", for JSON and the traffic log

// Lateness in nanoseconds: exact below 32 ns, then 32 steps per doubling (about 3 %),
// with the maximum kept exactly. Fixed size, whatever the number of events.
class LatenessHistogram {
 public:
  void Add(std::int64_t lateness);
  std::int64_t Count() const { return count_; }
  std::int64_t Max() const { return max_; }
  // The lateness that the given share (0.5, 0.99) of events did not exceed, rounded up to
  // the top of its step.
  std::int64_t Percentile(double share) const;

 private:
  static constexpr int kSteps = 32;
  static constexpr int kBuckets = 58 * kSteps + 2 * kSteps;
  std::array<std::int64_t, kBuckets> counts_{};
  std::int64_t count_ = 0;
  std::int64_t max_ = 0;
};

struct Tally {
  std::int64_t read = 0;
  std::int64_t sent = 0;
  std::array<std::int64_t, kUndeliveredReasons> undelivered{};
  std::int64_t badLines = 0;
  std::int64_t late = 0;  // more than kLate after their time
  LatenessHistogram lateness;

  static constexpr std::int64_t kLate = 1'000'000;

  std::int64_t UndeliveredCount() const;
  void NotDelivered(Undelivered reason, std::int64_t events = 1) {
    undelivered[static_cast<int>(reason)] += events;
  }
  // Events counted as sent that turned out not to be delivered.
  void Unsend(Undelivered reason, std::int64_t events) {
    sent -= events;
    NotDelivered(reason, events);
  }
  void Lateness(std::int64_t nanoseconds) {
    lateness.Add(nanoseconds);
    if (nanoseconds > kLate) ++late;
  }
};

}  // namespace Play
