// The byte layout of the shared region. Every process of the family maps it, including code
// that opens it without this library, so the offsets below are a file format: they must not
// move.
#pragma once

#include <cstddef>
#include <cstdint>

namespace halvane3 {

inline constexpr int32_t kSysLogCapacity = 200;
inline constexpr int32_t kTreeViewCapacity = 200;
inline constexpr int32_t kDebugCapacity = 100;
inline constexpr int32_t kCommandQueues = 4;
inline constexpr int32_t kCommandCapacity = 50;

inline constexpr size_t kShortTextSize = 240;
inline constexpr size_t kTreeViewTextSize = 1024;
inline constexpr size_t kCommandTextSize = 4096;
inline constexpr size_t kSysInfoSize = 256;

struct TreeViewRecord {
  int32_t reserved;  // never touched, kept for the layout
  int32_t value1;
  int32_t value2;
  int32_t value3;
  int32_t value4;
  char text[kTreeViewTextSize];
};

struct SharedRegion {
  int16_t attachCount;
  int16_t watchdog;
  int32_t runningApps;
  int32_t sysLogStart;
  int32_t sysLogCount;
  int32_t treeViewStart;
  int32_t treeViewCount;
  int32_t debugStart;
  int32_t debugCount;
  int32_t commandStart[kCommandQueues];
  int32_t commandCount[kCommandQueues];
  char sysLogEntries[kSysLogCapacity][kShortTextSize];
  TreeViewRecord treeViewEntries[kTreeViewCapacity];
  char debugEntries[kDebugCapacity][kShortTextSize];
  char commandEntries[kCommandQueues][kCommandCapacity][kCommandTextSize];
  char sysInfo[kSysInfoSize];
};

inline constexpr size_t kRegionSize = 1'100'320;

static_assert(sizeof(TreeViewRecord) == 1044);
static_assert(offsetof(TreeViewRecord, value1) == 4);
static_assert(offsetof(TreeViewRecord, text) == 20);

static_assert(sizeof(SharedRegion) == kRegionSize);
static_assert(offsetof(SharedRegion, attachCount) == 0);
static_assert(offsetof(SharedRegion, watchdog) == 2);
static_assert(offsetof(SharedRegion, runningApps) == 4);
static_assert(offsetof(SharedRegion, sysLogStart) == 8);
static_assert(offsetof(SharedRegion, sysLogCount) == 12);
static_assert(offsetof(SharedRegion, treeViewStart) == 16);
static_assert(offsetof(SharedRegion, treeViewCount) == 20);
static_assert(offsetof(SharedRegion, debugStart) == 24);
static_assert(offsetof(SharedRegion, debugCount) == 28);
static_assert(offsetof(SharedRegion, commandStart) == 32);
static_assert(offsetof(SharedRegion, commandCount) == 48);
static_assert(offsetof(SharedRegion, sysLogEntries) == 64);
static_assert(offsetof(SharedRegion, treeViewEntries) == 48'064);
static_assert(offsetof(SharedRegion, debugEntries) == 256'864);
static_assert(offsetof(SharedRegion, commandEntries) == 280'864);
static_assert(offsetof(SharedRegion, commandEntries[1][0]) == 280'864 + 50 * 4096);
static_assert(offsetof(SharedRegion, sysInfo) == 1'100'064);

}  // namespace halvane3
