// The discipline shared by all seven rings: writers overwrite the oldest entry of a full
// ring, and readers keep their own cursors, so reading never removes anything.
#pragma once

#include <cstdint>

namespace halvane3 {

inline constexpr int32_t kNothingNew = -1;

// The slot that follows `start + count`, i.e. where the next entry goes.
constexpr int32_t ringEnd(int32_t start, int32_t count, int32_t capacity) {
  const int32_t end = start + count;
  return end >= capacity ? end - capacity : end;
}

// Gives the slot for a new entry, the end slot; in a full ring the oldest entry is dropped
// first. The entry becomes visible to readers only with ringCommit, once it is written whole,
// so that a writer that dies half-way through leaves no torn entry behind. Push and commit
// together leave start, count and the slot as a plain push does.
constexpr int32_t ringPush(int32_t& start, int32_t& count, int32_t capacity) {
  if (count >= capacity) {
    start = start + 1 == capacity ? 0 : start + 1;
    count = capacity - 1;
  }
  return ringEnd(start, count, capacity);
}

constexpr void ringCommit(int32_t& count) {
  ++count;
}

// The slot the reader gets next, or kNothingNew. A cursor outside 0..capacity-1 (readers
// start at -1) means the oldest entry.
constexpr int32_t ringRead(int32_t& cursor, int32_t start, int32_t count, int32_t capacity) {
  if (count <= 0 || cursor == ringEnd(start, count, capacity)) return kNothingNew;
  const int32_t slot = cursor >= 0 && cursor < capacity ? cursor : start;
  cursor = slot + 1 == capacity ? 0 : slot + 1;
  return slot;
}

// Ring fields live in memory that any process, also one without this library, may write.
// Fields out of range would make the slot index point outside the region, so such a ring is
// taken for empty.
constexpr void ringRepair(int32_t& start, int32_t& count, int32_t capacity) {
  if (start < 0 || start >= capacity || count < 0 || count > capacity) {
    start = 0;
    count = 0;
  }
}

}  // namespace halvane3
