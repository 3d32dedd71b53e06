// The seven rings of the region as the queue operations use them.
#pragma once

#include <cstdint>

#include "Ring.h"
#include "SharedRegion.h"

namespace halvane3 {

// One ring's start and count, read and changed only under the region mutex.
class RingFields {
 public:
  RingFields(int32_t& start, int32_t& count, int32_t capacity)
      : start_(start), count_(count), capacity_(capacity) {}

  // ringPush on the repaired fields.
  int32_t push() {
    ringRepair(start_, count_, capacity_);
    return ringPush(start_, count_, capacity_);
  }

  void commit() { ringCommit(count_); }

  // ringRead on the repaired fields; reading leaves the region as it is.
  int32_t read(int32_t& cursor) const {
    int32_t start = start_;
    int32_t count = count_;
    ringRepair(start, count, capacity_);
    return ringRead(cursor, start, count, capacity_);
  }

  void clear() {
    start_ = 0;
    count_ = 0;
  }

 private:
  int32_t& start_;
  int32_t& count_;
  int32_t capacity_;
};

inline RingFields sysLogRing(SharedRegion& region) {
  return {region.sysLogStart, region.sysLogCount, kSysLogCapacity};
}
inline RingFields treeViewRing(SharedRegion& region) {
  return {region.treeViewStart, region.treeViewCount, kTreeViewCapacity};
}
inline RingFields debugRing(SharedRegion& region) {
  return {region.debugStart, region.debugCount, kDebugCapacity};
}
inline RingFields commandRing(SharedRegion& region, int32_t queue) {
  return {region.commandStart[queue], region.commandCount[queue], kCommandCapacity};
}

}  // namespace halvane3
