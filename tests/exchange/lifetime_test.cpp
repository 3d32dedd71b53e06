// Attach and detach of real processes, seen from outside through the region itself.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <optional>
#include <utility>

#include "ChildProcess.h"
#include "MappedObject.h"
#include "TestNamespace.h"

namespace {

using halvane3::kRegionSize;

// Reads helper output up to its "waiting" line.
void expectLines(ChildProcess& child, const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    ASSERT_EQ(child.readLine(), line);
}

TEST(Lifetime, AttachCountFollowsTheAttachedProcesses) {
  TestNamespace names;
  const std::string regionName = names.posixName("QorShareView3");
  ChildProcess first(helper({"wait"}));
  expectLines(first, {"waiting"});
  {
    MappedObject region(regionName, kRegionSize);
    ASSERT_TRUE(region.mapped());
    EXPECT_EQ(region.region().attachCount, 1);
    const char* bytes = static_cast<const char*>(region.address());
    EXPECT_TRUE(std::all_of(bytes + 2, bytes + kRegionSize, [](char byte) { return byte == 0; }));

    ChildProcess second(helper({"wait"}));
    expectLines(second, {"waiting"});
    EXPECT_EQ(region.region().attachCount, 2);
    EXPECT_EQ(second.finish(), 0);
    EXPECT_EQ(region.region().attachCount, 1);
  }
  EXPECT_EQ(first.finish(), 0);
  EXPECT_FALSE(names.objectExists(regionName)) << "gone with its last process";
  EXPECT_FALSE(names.objectExists(names.posixName("QorStructMutEx3")));
}

TEST(Lifetime, RegionLeftByKilledProcessesStartsAfresh) {
  TestNamespace names;
  const std::string regionName = names.posixName("QorShareView3");
  ChildProcess a(helper({"push", "0", "from a", "sysinfo", "info", "set-apps", "3", "1", "wait"}));
  expectLines(a, {"push 1", "sysinfo", "set-apps", "waiting"});
  ChildProcess b(helper({"wait"}));
  expectLines(b, {"waiting"});
  a.kill();
  b.kill();
  {
    MappedObject left(regionName, kRegionSize);
    ASSERT_TRUE(left.mapped()) << "nobody detached, so the objects are still there";
    EXPECT_EQ(left.region().attachCount, 2);
  }

  ChildProcess c(helper({"read", "0", "get-apps", "3", "wait"}));
  expectLines(c, {"end", "apps 0", "waiting"});
  MappedObject fresh(regionName, kRegionSize);
  ASSERT_TRUE(fresh.mapped());
  EXPECT_EQ(fresh.region().attachCount, 1);
  EXPECT_STREQ(fresh.region().sysInfo, "");
  EXPECT_EQ(c.finish(), 0);
}

// A third process reads the entries of a parent and its forked child, of whom one has ended.
void expectBothEntriesAndOneProcess(const std::string& regionName, const char* remaining) {
  const Finished third = runToEnd(helper({"read", "0"}));
  EXPECT_EQ(third.output, "entry parent\nentry child\nend\n");
  MappedObject region(regionName, kRegionSize);
  ASSERT_TRUE(region.mapped());
  EXPECT_EQ(region.region().attachCount, 1) << remaining;
}

// The way a daemon starts: it loads the library, forks, and the parent ends.
TEST(Lifetime, ForkedChildKeepsTheRegionWhenItsParentEnds) {
  TestNamespace names;
  const std::string regionName = names.posixName("QorShareView3");
  ChildProcess family(helper({"push", "0", "parent", "fork-parent-exits", "push", "0", "child",
                              "wait", "push", "0", "later"}));
  expectLines(family, {"push 1", "parent ended", "push 1", "waiting"});

  expectBothEntriesAndOneProcess(regionName, "the child");
  family.resume();
  EXPECT_EQ(family.readRest(), "push 1\n");
  EXPECT_EQ(family.finish(), 0) << "the parent";
  EXPECT_FALSE(names.objectExists(regionName)) << "gone with the child, the last process";
  EXPECT_FALSE(names.objectExists(names.posixName("QorStructMutEx3")));
}

TEST(Lifetime, ForkedChildEndingFirstLeavesTheRegionToItsParent) {
  TestNamespace names;
  const std::string regionName = names.posixName("QorShareView3");
  ChildProcess family(helper({"push", "0", "parent", "child-push", "0", "child", "wait", "push",
                              "0", "later", "read", "0"}));
  expectLines(family, {"push 1", "child push 1", "waiting"});

  expectBothEntriesAndOneProcess(regionName, "the parent");
  family.resume();
  expectLines(family, {"push 1", "entry parent", "entry child", "entry later", "end"});
  EXPECT_EQ(family.finish(), 0);
  EXPECT_FALSE(names.objectExists(regionName)) << "gone with the parent, the last process";
}

// What a process killed half-way through its first attach leaves: objects of the wrong size
// (here an empty region and a mutex object of three stray bytes) that nobody holds.
TEST(Lifetime, ObjectsLeftHalfMadeByADeadProcessAreMadeAgain) {
  TestNamespace names;
  for (auto [base, size] : {std::pair{"QorShareView3", 0}, {"QorStructMutEx3", 3}}) {
    const int fd = shm_open(names.posixName(base).c_str(), O_RDWR | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(write(fd, "\xff\xff\xff", size), size);
    close(fd);
  }
  const Finished run = runToEnd(helper({"names", "push", "0", "works", "read", "0"}));
  EXPECT_EQ(run.output,
            "names Global\\QorShareView3|Global\\QorStructMutEx3\npush 1\nentry works\nend\n");
}

// An object under a global name that some live process holds but that is too small for
// what the name stands for: the global name cannot be had while it is there.
class ForeignObject {
 public:
  explicit ForeignObject(const std::string& name) : name_(name) {
    fd_ = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
    EXPECT_GE(fd_, 0);
    EXPECT_EQ(ftruncate(fd_, 16), 0);
    EXPECT_EQ(flock(fd_, LOCK_SH), 0);
  }
  ~ForeignObject() {
    close(fd_);
    shm_unlink(name_.c_str());
  }

 private:
  std::string name_;
  int fd_;
};

TEST(Lifetime, LocalProcessMovesToTheGlobalObjectsWithItsBits) {
  TestNamespace names;
  std::optional<ForeignObject> blockRegion(names.posixName("QorShareView3"));
  std::optional<ForeignObject> blockMutex(names.posixName("QorStructMutEx3"));
  ChildProcess local(helper({"set-apps", "5", "1", "names", "cyclic", "wait", "cyclic", "cyclic",
                             "names", "get-apps", "1"}));
  expectLines(local, {"set-apps", "names QorShareView3|QorStructMutEx3", "cyclic 0 0", "waiting"});

  blockRegion.reset();
  blockMutex.reset();
  ChildProcess global(helper({"set-apps", "2", "1", "names", "wait"}));
  expectLines(global,
              {"set-apps", "names Global\\QorShareView3|Global\\QorStructMutEx3", "waiting"});

  local.resume();
  expectLines(local, {"cyclic 1 1", "cyclic 0 0",
                      "names Global\\QorShareView3|Global\\QorStructMutEx3", "apps 1"});
  {
    MappedObject region(names.posixName("QorShareView3"), kRegionSize);
    ASSERT_TRUE(region.mapped());
    EXPECT_EQ(region.region().runningApps, 7);
  }
  EXPECT_EQ(local.finish(), 0);
  EXPECT_FALSE(names.objectExists(names.localPosixName("QorShareView3")));
  EXPECT_TRUE(names.objectExists(names.posixName("QorShareView3")));
  EXPECT_EQ(global.finish(), 0);
}

}  // namespace
