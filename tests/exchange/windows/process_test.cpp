// What only real Windows processes show: a holder of the region mutex ended by
// TerminateProcess, the fallback to the local names and the move to the
// global ones, and the region's bytes as another program sees them.
#define WIN32_LEAN_AND_MEAN
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <optional>
#include <string>

#include "ChildProcess.h"
#include "ExchangeFixture.h"
#include "MappedObject.h"

namespace {

using halvane3::kRegionSize;

constexpr const char* kGlobalRegion = "Global\\QorShareView3";

bool mappingExists(const char* name) {
  const HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
  if (mapping == nullptr) return false;
  CloseHandle(mapping);
  return true;
}

// A named pipe that nobody reads stands for a log file on a stalled share: the helper writing
// its system-log line to it stops inside the locked operation, holding the region mutex.
class StalledLog {
 public:
  StalledLog()
      : name_("\\\\.\\pipe\\halvane3-stalled-" + std::to_string(GetCurrentProcessId())),
        pipe_(CreateNamedPipeA(name_.c_str(), PIPE_ACCESS_INBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 0,
                               4096, 0, nullptr)) {
    EXPECT_NE(pipe_, INVALID_HANDLE_VALUE);
  }
  ~StalledLog() { CloseHandle(pipe_); }
  StalledLog(const StalledLog&) = delete;
  StalledLog& operator=(const StalledLog&) = delete;

  const std::string& name() const { return name_; }
  // True once a writer has put bytes into the pipe, within a minute.
  bool written() const {
    for (int poll = 0; poll < 12'000; ++poll) {
      DWORD available = 0;
      if (PeekNamedPipe(pipe_, nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        return true;
      }
      Sleep(5);
    }
    return false;
  }

 private:
  std::string name_;
  HANDLE pipe_;
};

TEST(WindowsProcesses, HolderEndedByTerminateProcessLosesNoCommittedEntry) {
  ChildProcess keeper(helper({"push", "0", "before", "wait"}));
  expectLines(keeper, {"push 1", "waiting"});
  StalledLog log;
  ChildProcess holder(
      helper({"push", "0", "from the holder", "syslog-long", log.name(), "4000000"}));
  expectLines(holder, {"push 1"});
  ASSERT_TRUE(log.written()) << "the holder never got into its log file";
  ChildProcess waiting(helper({"push", "0", "waited"}));
  holder.kill();

  EXPECT_EQ(waiting.readLine(), "push 1") << "the waiting writer took the abandoned mutex over";
  const Finished other = runToEnd(helper({"push", "0", "after", "read", "0"}));
  EXPECT_EQ(other.output,
            "push 1\nentry before\nentry from the holder\nentry waited\nentry after\nend\n");
  MappedObject region(kGlobalRegion, kRegionSize);
  ASSERT_TRUE(region.mapped());
  EXPECT_EQ(region.region().attachCount, 2) << "the keeper, and the holder that never detached";
  EXPECT_EQ(keeper.finish(), 0);
}

// Objects of another type under the global names make the global region and mutex
// unusable, as an object of another program under those names would.
class GlobalNamesTaken {
 public:
  GlobalNamesTaken()
      : region_(CreateEventA(nullptr, TRUE, FALSE, kGlobalRegion)),
        mutex_(CreateEventA(nullptr, TRUE, FALSE, "Global\\QorStructMutEx3")) {
    EXPECT_NE(region_, nullptr);
    EXPECT_NE(mutex_, nullptr);
  }
  ~GlobalNamesTaken() {
    CloseHandle(region_);
    CloseHandle(mutex_);
  }
  GlobalNamesTaken(const GlobalNamesTaken&) = delete;
  GlobalNamesTaken& operator=(const GlobalNamesTaken&) = delete;

 private:
  HANDLE region_;
  HANDLE mutex_;
};

TEST(WindowsProcesses, LocalProcessMovesToTheGlobalObjectsWithItsBits) {
  std::optional<GlobalNamesTaken> taken;
  taken.emplace();
  ChildProcess local(helper({"set-apps", "5", "1", "names", "cyclic", "wait", "cyclic", "cyclic",
                             "names", "get-apps", "1", "wait"}));
  expectLines(local, {"set-apps", "names QorShareView3|QorStructMutEx3", "cyclic 0 0", "waiting"});
  EXPECT_TRUE(mappingExists("QorShareView3"));

  taken.reset();
  ChildProcess global(helper({"set-apps", "2", "1", "names", "wait"}));
  expectLines(global,
              {"set-apps", "names Global\\QorShareView3|Global\\QorStructMutEx3", "waiting"});

  local.resume();
  expectLines(local, {"cyclic 1 1", "cyclic 0 0",
                      "names Global\\QorShareView3|Global\\QorStructMutEx3", "apps 1", "waiting"});
  {
    MappedObject region(kGlobalRegion, kRegionSize);
    ASSERT_TRUE(region.mapped());
    EXPECT_EQ(region.region().runningApps, 7);
    EXPECT_EQ(region.region().attachCount, 1) << "the move does not count the process in";
  }
  EXPECT_EQ(local.finish(), 0);
  EXPECT_FALSE(mappingExists("QorShareView3")) << "its handle closed at detach";
  EXPECT_EQ(global.finish(), 0);
}

template <typename Value>
Value at(const char* region, size_t offset) {
  Value value;
  std::memcpy(&value, region + offset, sizeof value);
  return value;
}

// The offsets as numbers, not through SharedRegion, so that a layout that moved shows.
TEST_F(ExchangeFixture, RegionOpenedByItsReportedNameHasTheDocumentedLayout) {
  h3.SetRunningApps(0x10, 1);
  h3.IncreaseWatchdog();
  h3.IncreaseWatchdog();
  h3.SetSysLogEntry(nullptr, "log");
  h3.SetTreeViewEntry(11, 12, "tree", 13, 14);
  h3.SetDebugEntry("debug");
  h3.SetCommandEntry("command", 2);
  h3.SetSysInfo("info");
  char name[32];
  ASSERT_EQ(h3.GetShareViewName(name, sizeof name), 20);

  const HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
  ASSERT_NE(mapping, nullptr);
  const auto* region = static_cast<const char*>(MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0));
  ASSERT_NE(region, nullptr);
  MEMORY_BASIC_INFORMATION view;
  ASSERT_NE(VirtualQuery(region, &view, sizeof view), 0u);
  EXPECT_GE(view.RegionSize, 1'100'320u) << "whole pages, so rounded up";

  EXPECT_EQ(at<int16_t>(region, 0), 1);
  EXPECT_EQ(at<int16_t>(region, 2), 2);
  EXPECT_EQ(at<int32_t>(region, 4), 0x10);
  EXPECT_EQ(at<int32_t>(region, 12), 1) << "sysLogCount";
  EXPECT_EQ(at<int32_t>(region, 20), 1) << "treeViewCount";
  EXPECT_EQ(at<int32_t>(region, 28), 1) << "debugCount";
  EXPECT_EQ(at<int32_t>(region, 48 + 2 * 4), 1) << "commandCount[2]";
  EXPECT_STREQ(region + 64, "log");
  EXPECT_EQ(at<int32_t>(region, 48'064 + 4), 11);
  EXPECT_EQ(at<int32_t>(region, 48'064 + 16), 14);
  EXPECT_STREQ(region + 48'064 + 20, "tree");
  EXPECT_STREQ(region + 256'864, "debug");
  EXPECT_STREQ(region + 280'864 + (2 * 50 + 0) * 4'096, "command");
  EXPECT_STREQ(region + 1'100'064, "info");
  UnmapViewOfFile(region);
  CloseHandle(mapping);
}

}  // namespace
