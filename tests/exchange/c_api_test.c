/* Compiled as C: the public header is usable from C, and every export is there and callable.
 * Run in its own namespace (see CMakeLists.txt). */
#include <stdio.h>
#include <string.h>

#include "Halvane3.h"

static int failures = 0;

#define CHECK(condition)                                              \
  do {                                                                \
    if (!(condition)) {                                               \
      fprintf(stderr, "%s:%d: %s\n", __FILE__, __LINE__, #condition); \
      ++failures;                                                     \
    }                                                                 \
  } while (0)

int main(void) {
  char buffer[64];
  int32_t cursor = -1;
  int32_t size = sizeof buffer;
  int32_t switched = -1;
  int32_t values[4];

  CHECK(GetShareViewName(buffer, sizeof buffer) == 20);
  CHECK(GetShareMutexName(buffer, sizeof buffer) == 22);
  CHECK(CyclicCleanup(0, &switched) == 0 && switched == 0);

  CHECK(SetSysLogEntry(NULL, "log") == 1);
  CHECK(GetSysLogEntry(&cursor, buffer, &size) == 1 && strcmp(buffer, "log") == 0);
  ClearSysLogQueue();

  cursor = -1;
  size = sizeof buffer;
  CHECK(SetTreeViewEntry(1, 2, "tree", 3, 4) == 1);
  CHECK(GetTreeViewEntry(&cursor, buffer, &size, &values[0], &values[1], &values[2], &values[3]) ==
        1);
  CHECK(strcmp(buffer, "tree") == 0 && values[0] == 1 && values[3] == 4);
  ClearTreeViewQueue();

  cursor = -1;
  size = sizeof buffer;
  CHECK(SetDebugEntry("debug") == 1);
  CHECK(GetDebugEntry(&cursor, buffer, &size) == 1 && size == 5);
  ClearDebugQueue();

  cursor = -1;
  size = sizeof buffer;
  CHECK(SetCommandEntry("TA:1|x", 0) == 1);
  CHECK(GetCommandEntry(&cursor, buffer, &size, 0) == 1 && strcmp(buffer, "TA:1|x") == 0);
  ClearCommandQueue(0);

  SetSysInfo("info");
  CHECK(GetSysInfo(buffer, sizeof buffer) == 4);
  SetRunningApps(2, 1);
  CHECK(GetRunningApps(2) == 1);
  IncreaseWatchdog();
  CHECK(ReadWatchdog() == 1);
  CHECK(SendPRN("no such port", 9) == 0);
  CHECK(GetHalvaneDLLVersion() == 0x03000005);

  printf("%d failures\n", failures);
  return failures == 0 ? 0 : 1;
}
