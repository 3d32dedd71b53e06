// What the queue tests cannot reach through the library: a writer that dies between claiming
// a slot and committing it, and cursors that no reader of the library would hold.
#include "Ring.h"

#include <gtest/gtest.h>

using namespace halvane3;

namespace {

constexpr int32_t kCapacity = 3;

struct TestRing {
  int32_t start = 0;
  int32_t count = 0;
  int32_t push() {
    const int32_t slot = ringPush(start, count, kCapacity);
    ringCommit(count);
    return slot;
  }
  int32_t read(int32_t& cursor) const { return ringRead(cursor, start, count, kCapacity); }
};

TEST(Ring, EntryClaimedButNeverCommittedIsNotRead) {
  TestRing ring;
  for (int i = 0; i < 3; ++i)
    ring.push();
  int32_t upToDate = -1;
  while (ring.read(upToDate) != kNothingNew) {
  }
  ringPush(ring.start, ring.count, kCapacity);  // its writer dies here

  int32_t fromOldest = -1;
  EXPECT_EQ(ring.read(fromOldest), 1);
  EXPECT_EQ(ring.read(fromOldest), 2);
  EXPECT_EQ(ring.read(fromOldest), kNothingNew);
  EXPECT_EQ(ring.read(upToDate), kNothingNew);
  EXPECT_EQ(ring.push(), 0) << "the next entry takes the abandoned slot";
  EXPECT_EQ(ring.read(upToDate), 0);
}

TEST(Ring, CursorOutsideTheRingMeansTheOldestEntry) {
  TestRing ring;
  for (int i = 0; i < 4; ++i)
    ring.push();
  for (int32_t outside : {-7, kCapacity, 1000}) {
    int32_t cursor = outside;
    EXPECT_EQ(ring.read(cursor), ring.start) << outside;
    EXPECT_EQ(cursor, ring.start + 1);
  }
}

}  // namespace
