// Counts the allocations of the queue paths by standing in for malloc in this executable,
// which the loader also binds the library's calls to. Built without sanitizers only, since
// they bring their own allocator.
#include <atomic>
#include <cstddef>

#include "ExchangeFixture.h"

extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* memory, size_t size);

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};

void count() {
  if (counting) ++allocations;
}
}  // namespace

extern "C" void* malloc(size_t size) {
  count();
  return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
  ::count();
  return __libc_calloc(count, size);
}
extern "C" void* realloc(void* memory, size_t size) {
  count();
  return __libc_realloc(memory, size);
}

namespace {

using Allocation = ExchangeFixture;

TEST_F(Allocation, QueueOperationsAllocateNothing) {
  const std::string log = names.folder() + "/system.log";
  char buffer[4096];
  int32_t cursor = -1;
  int32_t size;
  int32_t v1, v2, v3, v4;
  counting = true;
  for (int i = 0; i < 100; ++i) {
    h3.SetCommandEntry("command", 0);
    h3.GetCommandEntry(&cursor, buffer, &(size = sizeof buffer), 0);
    h3.SetTreeViewEntry(1, 2, "tree", 3, 4);
    h3.GetTreeViewEntry(&cursor, buffer, &(size = sizeof buffer), &v1, &v2, &v3, &v4);
    h3.SetDebugEntry("debug");
    h3.GetDebugEntry(&cursor, buffer, &(size = sizeof buffer));
    h3.SetSysLogEntry(log.c_str(), "log");
    h3.SetSysLogEntry(log.c_str(), "-");
    h3.GetSysLogEntry(&cursor, buffer, &(size = sizeof buffer));
    h3.SetSysInfo("info");
    h3.GetSysInfo(buffer, sizeof buffer);
  }
  counting = false;
  EXPECT_EQ(allocations, 0);

  // The count does see what the library allocates: a print job owns a copy of its text.
  counting = true;
  h3.SendPRN("job", 7);
  counting = false;
  EXPECT_GT(allocations, 0);
}

}  // namespace
