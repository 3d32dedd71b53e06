#include "SharedValuesView.h"

#include "Halvane3.h"
#include "VisibleText.h"

namespace {

// Bits 0 to 30; the library never reports bit 31 as set.
uint32_t readRunningApps() {
  uint32_t bits = 0;
  for (int bit = 0; bit < 31; ++bit) {
    if (GetRunningApps(static_cast<int32_t>(1u << bit)) != 0) bits |= 1u << bit;
  }
  return bits;
}

template <typename Value>
bool changed(std::optional<Value>& shown, const Value& now) {
  if (shown == now) return false;
  shown = now;
  return true;
}

}  // namespace

void SharedValuesView::printChanges(std::FILE* out) {
  if (options_.sysInfo) {
    char buffer[256];
    const int16_t length = GetSysInfo(buffer, sizeof buffer);
    const std::string text(buffer, static_cast<size_t>(length));
    if (changed(sysInfo_, text)) std::fprintf(out, "sys-info: %s\n", visibleText(text).c_str());
  }
  if (options_.runningApps) {
    const uint32_t bits = readRunningApps();
    if (changed(runningApps_, bits)) std::fprintf(out, "running-apps: 0x%08X\n", bits);
  }
  if (options_.watchdog) {
    const int32_t counter = ReadWatchdog();
    if (changed(watchdog_, counter)) std::fprintf(out, "watchdog: %d\n", counter);
  }
}
