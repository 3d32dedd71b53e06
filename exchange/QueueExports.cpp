// The entry queues: system log, tree view, debug and the four command queues.
#include <cstring>

#include "Halvane3.h"
#include "Platform.h"
#include "RegionRings.h"
#include "SysLogFile.h"

using namespace halvane3;

namespace {

bool validQueue(int32_t queue) {
  return queue >= 0 && queue < kCommandQueues;
}

bool validRead(const int32_t* cursor, const char* buffer, const int32_t* size) {
  return cursor != nullptr && buffer != nullptr && size != nullptr && *size > 0;
}

// Stores at most slotSize - 1 characters of text and its NUL.
void storeCut(char* slot, size_t slotSize, const char* text) {
  const size_t length = strnlen(text, slotSize - 1);
  std::memcpy(slot, text, length);
  slot[length] = '\0';
}

// System-log texts that do not fit end in "..." so that readers see they were cut.
void storeSysLogText(char* slot, const char* text) {
  constexpr size_t kKept = kShortTextSize - 4;
  if (strnlen(text, kShortTextSize) < kShortTextSize) {
    storeCut(slot, kShortTextSize, text);
    return;
  }
  std::memcpy(slot, text, kKept);
  std::memcpy(slot + kKept, "...", 4);
}

// Delivers a slot's text, cut to the caller's buffer; the slot's own NUL is not trusted,
// since any process may have written it.
void deliver(const char* slot, size_t slotSize, char* buffer, int32_t* size) {
  const size_t length = strnlen(slot, slotSize - 1);
  const size_t room = static_cast<size_t>(*size);
  const size_t delivered = length < room ? length : room - 1;
  std::memcpy(buffer, slot, delivered);
  buffer[delivered] = '\0';
  *size = static_cast<int32_t>(delivered);
}

// Every Set: claims a slot, lets `store` fill it, then makes it visible.
template <typename RingOf, typename Store>
int32_t setEntry(RingOf ringOf, Store store) {
  LockedRegion locked;
  SharedRegion* region = locked.region();
  if (region == nullptr) return 0;
  RingFields ring = ringOf(*region);
  store(*region, ring.push());
  ring.commit();
  return 1;
}

// Every Get: finds the reader's next slot and lets `deliverSlot` copy it out.
template <typename RingOf, typename DeliverSlot>
int32_t getEntry(int32_t* cursor, int32_t* size, RingOf ringOf, DeliverSlot deliverSlot) {
  LockedRegion locked;
  SharedRegion* region = locked.region();
  if (region == nullptr) return 0;
  const int32_t slot = ringOf(*region).read(*cursor);
  if (slot == kNothingNew) {
    *size = 0;
    return 0;
  }
  deliverSlot(*region, slot);
  return 1;
}

template <typename RingOf>
void clearRing(RingOf ringOf) {
  LockedRegion locked;
  if (SharedRegion* region = locked.region()) ringOf(*region).clear();
}

}  // namespace

extern "C" {

int32_t HALVANE3_CALL SetSysLogEntry(const char* path, const char* text) {
  if (text == nullptr) return 0;
  LockedRegion locked;
  SharedRegion* region = locked.region();
  if (region == nullptr) return 0;
  RingFields ring = sysLogRing(*region);
  char* slot = region->sysLogEntries[ring.push()];
  if (std::strcmp(text, kSysLogSeparator) == 0) {
    storeCut(slot, kShortTextSize, kSeparatorLine);
  } else {
    storeSysLogText(slot, text);
  }
  ring.commit();
  // Inside the lock, so that entries of several writers to one file never interleave.
  appendToSysLogFile(path, text);
  return 1;
}

int32_t HALVANE3_CALL GetSysLogEntry(int32_t* cursor, char* buffer, int32_t* size) {
  if (!validRead(cursor, buffer, size)) return 0;
  return getEntry(cursor, size, sysLogRing, [&](SharedRegion& region, int32_t slot) {
    deliver(region.sysLogEntries[slot], kShortTextSize, buffer, size);
  });
}

void HALVANE3_CALL ClearSysLogQueue(void) {
  clearRing(sysLogRing);
}

int32_t HALVANE3_CALL SetTreeViewEntry(int32_t value1, int32_t value2, const char* text,
                                       int32_t value3, int32_t value4) {
  if (text == nullptr) return 0;
  return setEntry(treeViewRing, [&](SharedRegion& region, int32_t slot) {
    TreeViewRecord& record = region.treeViewEntries[slot];
    record.value1 = value1;
    record.value2 = value2;
    record.value3 = value3;
    record.value4 = value4;
    storeCut(record.text, kTreeViewTextSize, text);
  });
}

int32_t HALVANE3_CALL GetTreeViewEntry(int32_t* cursor, char* buffer, int32_t* size,
                                       int32_t* value1, int32_t* value2, int32_t* value3,
                                       int32_t* value4) {
  if (!validRead(cursor, buffer, size) || value1 == nullptr || value2 == nullptr ||
      value3 == nullptr || value4 == nullptr) {
    return 0;
  }
  return getEntry(cursor, size, treeViewRing, [&](SharedRegion& region, int32_t slot) {
    const TreeViewRecord& record = region.treeViewEntries[slot];
    deliver(record.text, kTreeViewTextSize, buffer, size);
    *value1 = record.value1;
    *value2 = record.value2;
    *value3 = record.value3;
    *value4 = record.value4;
  });
}

void HALVANE3_CALL ClearTreeViewQueue(void) {
  clearRing(treeViewRing);
}

int32_t HALVANE3_CALL SetDebugEntry(const char* text) {
  if (text == nullptr) return 0;
  return setEntry(debugRing, [&](SharedRegion& region, int32_t slot) {
    storeCut(region.debugEntries[slot], kShortTextSize, text);
  });
}

int32_t HALVANE3_CALL GetDebugEntry(int32_t* cursor, char* buffer, int32_t* size) {
  if (!validRead(cursor, buffer, size)) return 0;
  return getEntry(cursor, size, debugRing, [&](SharedRegion& region, int32_t slot) {
    deliver(region.debugEntries[slot], kShortTextSize, buffer, size);
  });
}

void HALVANE3_CALL ClearDebugQueue(void) {
  clearRing(debugRing);
}

int32_t HALVANE3_CALL SetCommandEntry(const char* text, int32_t queue) {
  if (!validQueue(queue) || text == nullptr) return 0;
  return setEntry([queue](SharedRegion& region) { return commandRing(region, queue); },
                  [&](SharedRegion& region, int32_t slot) {
                    storeCut(region.commandEntries[queue][slot], kCommandTextSize, text);
                  });
}

int32_t HALVANE3_CALL GetCommandEntry(int32_t* cursor, char* buffer, int32_t* size, int32_t queue) {
  if (!validQueue(queue) || !validRead(cursor, buffer, size)) return 0;
  return getEntry(
      cursor, size, [queue](SharedRegion& region) { return commandRing(region, queue); },
      [&](SharedRegion& region, int32_t slot) {
        deliver(region.commandEntries[queue][slot], kCommandTextSize, buffer, size);
      });
}

void HALVANE3_CALL ClearCommandQueue(int32_t queue) {
  if (!validQueue(queue)) return;
  clearRing([queue](SharedRegion& region) { return commandRing(region, queue); });
}

}  // extern "C"
