#include "QueueFollower.h"

#include "VisibleText.h"

bool QueueFollower::lappedSinceLastLook() {
  if (lastSlot_ < 0) return false;
  QueueEntry now;
  int32_t probe = lastSlot_;
  if (!read_(probe, now)) {
    // The slot is where the next entry goes, which in a full ring is the oldest entry.
    probe = -1;
    if (!read_(probe, now) || probe != cursor_) return false;
  }
  return !(now == lastShown_);
}

int32_t QueueFollower::countFrom(int32_t cursor) {
  QueueEntry entry;
  int32_t count = 0;
  while (count <= queue_.capacity && read_(cursor, entry))
    ++count;
  return count;
}

void QueueFollower::printNew(std::FILE* out) {
  if (lappedSinceLastLook()) {
    // At least a whole ring was written since the last look, so every entry it holds is
    // new; beyond those, the entries between the cursor and the end were overwritten too.
    const int32_t overwritten = countFrom(cursor_);
    if (overwritten > 0) {
      std::fprintf(out,
                   "%s: -- at least %d entries were overwritten before they could be shown --\n",
                   queue_.label.c_str(), overwritten);
    } else {
      std::fprintf(out, "%s: -- entries may have been overwritten before they could be shown --\n",
                   queue_.label.c_str());
    }
    cursor_ = -1;
  }
  QueueEntry entry;
  while (read_(cursor_, entry)) {
    lastSlot_ = (cursor_ == 0 ? queue_.capacity : cursor_) - 1;
    lastShown_ = entry;
    const std::string text = visibleText(entry.text);
    if (queue_.kind == QueueKind::TreeView) {
      std::fprintf(out, "%s: [%d %d %d %d] %s\n", queue_.label.c_str(), entry.values[0],
                   entry.values[1], entry.values[2], entry.values[3], text.c_str());
    } else {
      std::fprintf(out, "%s: %s\n", queue_.label.c_str(), text.c_str());
    }
  }
}
