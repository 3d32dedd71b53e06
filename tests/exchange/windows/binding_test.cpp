// Every export bound by its plain name and called many times through a pointer of the
// header's type, which carries __stdcall. A callee that took its arguments off the stack in
// another way than the caller expects would move the stack pointer at every call.
#define WIN32_LEAN_AND_MEAN
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>

#include "ExchangeFixture.h"

namespace {

__attribute__((always_inline)) inline uintptr_t stackPointer() {
  uintptr_t pointer;
#if defined(__x86_64__)
  asm volatile("mov %%rsp, %0" : "=r"(pointer));
#else
  asm volatile("mov %%esp, %0" : "=r"(pointer));
#endif
  return pointer;
}

constexpr int kCalls = 1'000;

// How far the stack pointer moved over that many calls.
template <typename Call>
intptr_t drift(Call call, int calls = kCalls) {
  const uintptr_t before = stackPointer();
  for (int i = 0; i < calls; ++i)
    call();
  return static_cast<intptr_t>(stackPointer() - before);
}

using Binding = ExchangeFixture;

TEST_F(Binding, EveryExportKeepsTheStackBalanced) {
  char buffer[64];
  int32_t cursor = -1;
  int32_t size = 0;
  int32_t switched = 0;
  int32_t values[4];
  const auto full = [&] { return size = sizeof buffer; };
  EXPECT_EQ(drift([&] { h3.GetShareViewName(buffer, sizeof buffer); }), 0);
  EXPECT_EQ(drift([&] { h3.GetShareMutexName(buffer, sizeof buffer); }), 0);
  EXPECT_EQ(drift([&] { h3.CyclicCleanup(0, &switched); }), 0);
  EXPECT_EQ(drift([&] { h3.SetSysLogEntry(nullptr, "log"); }), 0);
  EXPECT_EQ(drift([&] { h3.GetSysLogEntry(&cursor, buffer, (full(), &size)); }), 0);
  EXPECT_EQ(drift([&] { h3.ClearSysLogQueue(); }), 0);
  EXPECT_EQ(drift([&] { h3.SetTreeViewEntry(1, 2, "tree", 3, 4); }), 0);
  EXPECT_EQ(drift([&] {
              h3.GetTreeViewEntry(&cursor, buffer, (full(), &size), &values[0], &values[1],
                                  &values[2], &values[3]);
            }),
            0);
  EXPECT_EQ(drift([&] { h3.ClearTreeViewQueue(); }), 0);
  EXPECT_EQ(drift([&] { h3.SetDebugEntry("debug"); }), 0);
  EXPECT_EQ(drift([&] { h3.GetDebugEntry(&cursor, buffer, (full(), &size)); }), 0);
  EXPECT_EQ(drift([&] { h3.ClearDebugQueue(); }), 0);
  EXPECT_EQ(drift([&] { h3.SetCommandEntry("command", 1); }), 0);
  EXPECT_EQ(drift([&] { h3.GetCommandEntry(&cursor, buffer, (full(), &size), 1); }), 0);
  EXPECT_EQ(drift([&] { h3.ClearCommandQueue(1); }), 0);
  EXPECT_EQ(drift([&] { h3.SetSysInfo("info"); }), 0);
  EXPECT_EQ(drift([&] { h3.GetSysInfo(buffer, sizeof buffer); }), 0);
  EXPECT_EQ(drift([&] { h3.GetRunningApps(1); }), 0);
  EXPECT_EQ(drift([&] { h3.SetRunningApps(1, 1); }), 0);
  EXPECT_EQ(drift([&] { h3.IncreaseWatchdog(); }), 0);
  EXPECT_EQ(drift([&] { h3.ReadWatchdog(); }), 0);
  // Every job waits a little for its writer thread: fewer calls.
  EXPECT_EQ(drift([&] { h3.SendPRN("x", 5); }, 50), 0);
  EXPECT_EQ(drift([&] { h3.GetHalvaneDLLVersion(); }), 0);
  EXPECT_EQ(h3.ReadWatchdog(), kCalls);
}

TEST(Exports, DecoratedNamesAreNotExported) {
  const HMODULE library = LoadLibraryA(HALVANE3_LIBRARY_PATH);
  ASSERT_NE(library, nullptr);
  EXPECT_NE(GetProcAddress(library, "GetCommandEntry"), nullptr);
  EXPECT_EQ(GetProcAddress(library, "GetCommandEntry@16"), nullptr);
  EXPECT_EQ(GetProcAddress(library, "_GetCommandEntry@16"), nullptr);
  FreeLibrary(library);
}

}  // namespace
