#include "play/Tally.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace Play {
namespace {

int BucketOf(std::int64_t value) {
  if (value < 32) return static_cast<int>(value);
  const int shift = std::bit_width(static_cast<std::uint64_t>(value)) - 6;
  return shift * 32 + static_cast<int>(value >> shift);
}

std::int64_t TopOf(int bucket) {
  if (bucket < 64) return bucket;
  const int shift = bucket / 32 - 1;
  const std::int64_t step = bucket % 32 + 32;
  return ((step + 1) << shift) - 1;
}

}  // namespace

const char* ReasonText(Undelivered reason) {
  switch (reason) {
    case Undelivered::kNoServer:
      return "no server connected";
    case Undelivered::kServerStalled:
      return "the alarm server did not take them";
    case Undelivered::kLibraryRefused:
      return "the exchange library refused them (no shared region)";
    case Undelivered::kFileError:
      return "the file could not be written";
    case Undelivered::kStopped:
      return "stopped before they went out";
  }
  return "";
}

const char* ReasonKey(Undelivered reason) {
  switch (reason) {
    case Undelivered::kNoServer:
      return "no_server";
    case Undelivered::kServerStalled:
      return "server_stalled";
    case Undelivered::kLibraryRefused:
      return "library_refused";
    case Undelivered::kFileError:
      return "file_error";
    case Undelivered::kStopped:
      return "stopped";
  }
  return "";
}

void LatenessHistogram::Add(std::int64_t lateness) {
  lateness = std::max<std::int64_t>(lateness, 0);
  ++counts_[BucketOf(lateness)];
  ++count_;
  max_ = std::max(max_, lateness);
}

std::int64_t LatenessHistogram::Percentile(double share) const {
  if (count_ == 0) return 0;
  const auto wanted = static_cast<std::int64_t>(std::ceil(share * static_cast<double>(count_)));
  std::int64_t seen = 0;
  for (int bucket = 0; bucket < kBuckets; ++bucket) {
    seen += counts_[bucket];
    if (seen >= wanted) return std::min(TopOf(bucket), max_);
  }
  return max_;
}

std::int64_t Tally::UndeliveredCount() const {
  std::int64_t all = 0;
  for (std::int64_t events : undelivered)
    all += events;
  return all;
}

}  // namespace Play
