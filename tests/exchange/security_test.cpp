// Processes of other local users: what they may share, and what they cannot do to the family.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "ChildProcess.h"
#include "OtherUser.h"
#include "TestNamespace.h"

namespace {

constexpr const char* kGlobalNames = "names Global\\QorShareView3|Global\\QorStructMutEx3\n";
constexpr const char* kLocalNames = "names QorShareView3|QorStructMutEx3\n";

void expectLines(ChildProcess& child, const std::vector<std::string>& lines) {
  for (const std::string& line : lines)
    ASSERT_EQ(child.readLine(), line);
}

struct stat statusOf(const TestNamespace& names, const std::string& base) {
  struct stat status {};
  EXPECT_EQ(lstat(("/dev/shm/" + names.prefix() + base).c_str(), &status), 0) << base;
  return status;
}

// Sets HALVANE3_GROUP for the processes a test starts.
class FamilyGroup {
 public:
  explicit FamilyGroup(const std::string& group) { setenv("HALVANE3_GROUP", group.c_str(), 1); }
  ~FamilyGroup() { unsetenv("HALVANE3_GROUP"); }
};

TEST(Security, ProcessesOfDifferentUsersShareTheGlobalObjects) {
  SKIP_UNLESS_OTHER_USERS_AVAILABLE();
  TestNamespace names;
  ChildProcess other(
      asUser(kSecondUser, helper({"push", "0", "from a user", "wait", "read", "0"})));
  expectLines(other, {"push 1", "waiting"});
  const Finished root = runToEnd(helper({"names", "read", "0", "push", "0", "from root"}));
  EXPECT_EQ(root.output, std::string(kGlobalNames) + "entry from a user\nend\npush 1\n");
  for (const char* base : {"QorShareView3", "QorStructMutEx3", "QorAttach3"}) {
    const struct stat status = statusOf(names, base);
    EXPECT_EQ(status.st_uid, kSecondUser) << base << ": made by the first to attach";
    EXPECT_EQ(status.st_mode & 07777, 0666u) << base;
  }
  other.resume();
  expectLines(other, {"entry from a user", "entry from root", "end"});
  EXPECT_EQ(other.finish(), 0);
}

// Any local user can open the attach lock and hold a lock on it; nobody waits for that long.
TEST(Security, AnotherUsersLockBlocksNeitherLoadingNorEndingAndLosesNothing) {
  SKIP_UNLESS_OTHER_USERS_AVAILABLE();
  TestNamespace names;
  ChildProcess writer(helper({"wait", "push", "0", "shared"}));
  expectLines(writer, {"waiting"});
  ChildProcess reader(helper({"wait", "read", "0", "names"}));
  expectLines(reader, {"waiting"});
  ChildProcess holder(
      asUser(kSecondUser, foreign({"lock-shared", names.posixName("QorAttach3"), "wait"})));
  expectLines(holder, {"locked 1", "waiting"});

  const Finished late = runToEnd(helper({"names", "push", "0", "alone", "read", "0"}));
  EXPECT_EQ(late.exitCode, 0);
  EXPECT_EQ(late.output, std::string(kLocalNames) + "push 1\nentry alone\nend\n")
      << "the local objects, since the global ones cannot be had in time";

  writer.resume();
  expectLines(writer, {"push 1"});
  EXPECT_EQ(writer.finish(), 0) << "ended without its bookkeeping";
  reader.resume();
  expectLines(reader, {"entry shared", "end", std::string(kGlobalNames, strlen(kGlobalNames) - 1)});

  holder.resume();
  EXPECT_EQ(holder.finish(), 0);
  EXPECT_EQ(reader.finish(), 0);
  EXPECT_FALSE(names.objectExists(names.posixName("QorShareView3")))
      << "the last process removed the objects once the lock was free";
}

TEST(Security, TheLastProcessRemovesOnlyItsOwnObjects) {
  TestNamespace names;
  ChildProcess old(helper({"wait"}));
  expectLines(old, {"waiting"});
  // The owner of the names removes them and makes them anew: processes that come now meet
  // in the new objects.
  for (const char* base : {"QorShareView3", "QorStructMutEx3"})
    ASSERT_EQ(shm_unlink(names.posixName(base).c_str()), 0);
  ChildProcess newer(helper({"push", "0", "new", "wait"}));
  expectLines(newer, {"push 1", "waiting"});

  EXPECT_EQ(old.finish(), 0);
  const Finished third = runToEnd(helper({"read", "0"}));
  EXPECT_EQ(third.output, "entry new\nend\n") << "the names of the new objects are still there";
  newer.resume();
  EXPECT_EQ(newer.finish(), 0);
}

// Anybody who may write the mutex object can take the region mutex. Locked operations then
// wait, as they wait for any holder, but the process can still end.
TEST(Security, AnotherUsersRegionMutexDoesNotKeepAProcessFromEnding) {
  SKIP_UNLESS_OTHER_USERS_AVAILABLE();
  TestNamespace names;
  ChildProcess reader(helper({"wait", "read", "0"}));
  expectLines(reader, {"waiting"});
  ChildProcess holder(
      asUser(kSecondUser, foreign({"lock-mutex", names.posixName("QorStructMutEx3"), "wait"})));
  expectLines(holder, {"locked 1", "waiting"});

  // The fork, too, goes on without the process lock that the stuck thread holds; the child
  // gets a lock of its own.
  // (Its error output is left apart: LeakSanitizer remarks there on the child of a process
  // with a stuck thread.)
  ChildProcess stuck(
      helper({"set-apps", "1", "1", "push-stuck", "0", "waits", "child-get-apps", "1"}));
  EXPECT_EQ(stuck.readRest(), "set-apps\nstuck 1\nchild apps 1\n");
  EXPECT_EQ(stuck.finish(), 0);

  holder.kill();
  reader.resume();
  expectLines(reader, {"end"});
  const Finished after = runToEnd(helper({"push", "0", "after", "read", "0"}));
  EXPECT_EQ(after.output, "push 1\nentry after\nend\n") << "the mutex is taken over";
  EXPECT_EQ(reader.finish(), 0);
}

TEST(Security, ObjectsOtherThanRegularFilesAreNeverUsed) {
  TestNamespace names;
  const std::string target = names.folder() + "/target";
  { std::ofstream(target) << "kept"; }
  const std::filesystem::path region = "/dev/shm/" + names.prefix() + "QorShareView3";
  std::filesystem::create_symlink(target, region);
  const std::string mutex = "/dev/shm/" + names.prefix() + "QorStructMutEx3";
  ASSERT_EQ(mkfifo(mutex.c_str(), 0666), 0);

  const Finished run = runToEnd(helper({"names", "push", "0", "x"}));
  EXPECT_EQ(run.output, std::string(kLocalNames) + "push 1\n");
  EXPECT_TRUE(std::filesystem::is_symlink(region));
  EXPECT_EQ(std::filesystem::file_size(target), 4u) << "never followed";
  EXPECT_TRUE(S_ISFIFO(statusOf(names, "QorStructMutEx3").st_mode));
}

TEST(Security, FamilyGroupClosesTheGlobalObjectsToOthers) {
  SKIP_UNLESS_OTHER_USERS_AVAILABLE();
  TestNamespace names;
  FamilyGroup group(std::to_string(kFamilyGroup));
  ChildProcess member(
      asUser(kSecondUser, helper({"names", "push", "0", "from a member", "wait"}), {kFamilyGroup}));
  expectLines(member, {std::string(kGlobalNames, strlen(kGlobalNames) - 1), "push 1", "waiting"});
  for (const char* base : {"QorShareView3", "QorStructMutEx3", "QorAttach3"}) {
    const struct stat status = statusOf(names, base);
    EXPECT_EQ(status.st_gid, kFamilyGroup) << base;
    EXPECT_EQ(status.st_mode & 07777, 0660u) << base;
  }

  const Finished root = runToEnd(helper({"names", "read", "0"}));
  EXPECT_EQ(root.output, std::string(kGlobalNames) + "entry from a member\nend\n");
  const Finished outsider = runToEnd(asUser(kThirdUser, helper({"names", "read", "0"})));
  EXPECT_EQ(outsider.output, std::string(kLocalNames) + "end\n");
  member.resume();
  EXPECT_EQ(member.finish(), 0);
}

// Somebody outside the group makes the region under its global name first, open to all.
TEST(Security, FamilyGroupRefusesObjectsOfOutsiders) {
  SKIP_UNLESS_OTHER_USERS_AVAILABLE();
  TestNamespace names;
  FamilyGroup group(std::to_string(kFamilyGroup));
  const Finished planted = runToEnd(
      asUser(kThirdUser, foreign({"create", names.posixName("QorShareView3"), "666", "1100320"})));
  ASSERT_EQ(planted.output, "created 1\n");

  const Finished root = runToEnd(helper({"names", "push", "0", "kept from them"}));
  EXPECT_EQ(root.output, "names QorShareView3|Global\\QorStructMutEx3\npush 1\n");
  const struct stat status = statusOf(names, "QorShareView3");
  EXPECT_EQ(status.st_uid, kThirdUser) << "left as it was";
  EXPECT_EQ(status.st_mode & 07777, 0666u);
}

TEST(Security, FamilyGroupThatDoesNotExistLeavesOnlyTheLocalObjects) {
  TestNamespace names;
  FamilyGroup group("no-such-group-h3");
  const Finished run = runToEnd(helper({"names"}));
  EXPECT_EQ(run.output, kLocalNames);
  EXPECT_FALSE(names.objectExists(names.posixName("QorAttach3")));
}

}  // namespace
