// System information, running applications, watchdog and version.
//
// The bit set and the watchdog are changed with atomic operations: they take only the
// process lock, and plain updates from two processes at once would lose one of them.
#include <atomic>
#include <cstring>

#include "Halvane3.h"
#include "Platform.h"

using namespace halvane3;

extern "C" {

void HALVANE3_CALL SetSysInfo(const char* text) {
  if (text == nullptr) return;
  LockedRegion locked;
  SharedRegion* region = locked.region();
  if (region == nullptr) return;
  const size_t length = strnlen(text, kSysInfoSize);
  // Too long a text is not cut but dropped: half a system-information line would mislead.
  if (length == kSysInfoSize) {
    region->sysInfo[0] = '\0';
  } else {
    std::memcpy(region->sysInfo, text, length + 1);
  }
}

int16_t HALVANE3_CALL GetSysInfo(char* buffer, int32_t sizeSlot) {
  const auto size = static_cast<uint16_t>(sizeSlot);
  if (size == 0 || buffer == nullptr) return 0;
  LockedRegion locked;
  SharedRegion* region = locked.region();
  const size_t length = region != nullptr ? strnlen(region->sysInfo, kSysInfoSize - 1) : 0;
  const size_t delivered = length < size ? length : 0;
  if (delivered > 0) std::memcpy(buffer, region->sysInfo, delivered);
  buffer[delivered] = '\0';
  return static_cast<int16_t>(delivered);
}

int32_t HALVANE3_CALL GetRunningApps(int32_t mask) {
  ProcessLocked locked;
  SharedRegion* region = locked.region();
  if (region == nullptr) return 0;
  return (std::atomic_ref<int32_t>(region->runningApps).load() & mask) > 0 ? 1 : 0;
}

void HALVANE3_CALL SetRunningApps(int32_t mask, int32_t running) {
  ProcessLocked locked;
  SharedRegion* region = locked.region();
  if (region == nullptr) return;
  std::atomic_ref<int32_t> bits(region->runningApps);
  if (running != 0) {
    bits.fetch_or(mask);
  } else {
    bits.fetch_and(~mask);
  }
}

void HALVANE3_CALL IncreaseWatchdog(void) {
  ProcessLocked locked;
  SharedRegion* region = locked.region();
  if (region == nullptr) return;
  // Atomic arithmetic wraps, from 32,767 to -32,768.
  std::atomic_ref<int16_t>(region->watchdog).fetch_add(1);
}

int32_t HALVANE3_CALL ReadWatchdog(void) {
  ProcessLocked locked;
  SharedRegion* region = locked.region();
  if (region == nullptr) return 0;
  return std::atomic_ref<int16_t>(region->watchdog).load();
}

int32_t HALVANE3_CALL GetHalvaneDLLVersion(void) {
  return 0x03000005;
}

}  // extern "C"
