// Follows one queue of the region with a cursor of its own, as any reader does, and tells
// when the writer went round the ring past that cursor, overwriting entries before they
// could be shown.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>

#include "MonitorOptions.h"

// One entry of a queue: its text and, for the tree view, its four numbers.
struct QueueEntry {
  std::string text;
  std::array<int32_t, 4> values{};

  bool operator==(const QueueEntry&) const = default;
};

// Reads the entry at the cursor as the library's Get functions do: true with the entry
// and the cursor moved on, or false when there is nothing new for that cursor.
using QueueReader = std::function<bool(int32_t& cursor, QueueEntry& entry)>;

class QueueFollower {
 public:
  QueueFollower(QueueChoice queue, QueueReader read) : queue_(std::move(queue)), read_(read) {}

  // Prints every entry that is new to this follower, one line each, after a line that
  // says so when the writer has overwritten entries that were not shown.
  void printNew(std::FILE* out);

 private:
  // The writer went round the ring since the last look: the slot of the entry shown last
  // holds another entry now. A lap that leaves that slot's entry as it was (the same text
  // written again) cannot be seen.
  bool lappedSinceLastLook();
  // Entries from the cursor to the end of the ring.
  int32_t countFrom(int32_t cursor);

  QueueChoice queue_;
  QueueReader read_;
  int32_t cursor_ = -1;
  // The slot and the entry shown last; -1 before any.
  int32_t lastSlot_ = -1;
  QueueEntry lastShown_;
};
