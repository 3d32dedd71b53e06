#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>

#include "ChildProcess.h"
#include "ExchangeFixture.h"
#include "MappedObject.h"

namespace {

using Names = ExchangeFixture;

TEST(NamedObjects, GlobalObjectsAreOpenToEveryLocalUserWhateverTheUmask) {
  const mode_t previous = umask(077);
  TestNamespace names;
  {
    LoadedLibrary h3;
    for (const char* base : {"QorShareView3", "QorStructMutEx3", "QorAttach3"}) {
      struct stat status;
      ASSERT_EQ(stat(("/dev/shm/" + names.prefix() + base).c_str(), &status), 0) << base;
      EXPECT_EQ(status.st_mode & 0777, 0666u) << base;
    }
  }
  umask(previous);
}

TEST(NamedObjects, UnloadingLeavesTheRegionAndLoadingAttachesAfresh) {
  TestNamespace names;
  std::optional<LoadedLibrary> h3;
  h3.emplace();
  h3->SetCommandEntry("before", 0);
  h3.reset();
  EXPECT_FALSE(names.objectExists(names.posixName("QorShareView3")));
  EXPECT_FALSE(names.objectExists(names.posixName("QorStructMutEx3")));

  h3.emplace();
  int32_t cursor = -1;
  char buffer[32];
  int32_t size = sizeof buffer;
  EXPECT_EQ(h3->GetCommandEntry(&cursor, buffer, &size, 0), 0);
  EXPECT_EQ(h3->SetCommandEntry("after", 0), 1);
  EXPECT_EQ(h3->GetShareViewName(buffer, sizeof buffer), 20);
}

TEST_F(Names, ForkedChildEndingNormallyLeavesItsParentAttached) {
  ASSERT_EQ(h3.SetCommandEntry("parent", 0), 1);
  const pid_t child = fork();
  if (child == 0) std::exit(0);  // runs the library's unload in the child
  int status;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));

  ASSERT_TRUE(names.objectExists(names.posixName("QorShareView3")));
  MappedObject region(names.posixName("QorShareView3"), halvane3::kRegionSize);
  ASSERT_TRUE(region.mapped());
  EXPECT_EQ(region.region().attachCount, 1);
  const Finished other = runToEnd(helper({"read", "0"}));
  EXPECT_EQ(other.output, "entry parent\nend\n");
}

TEST(NamedObjects, ProcessThatCannotAttachReportsNoNameAndDoesNothing) {
  TestNamespace names;
  setenv("HALVANE3_NAME_PREFIX", "not/valid.", 1);
  LoadedLibrary h3;
  char buffer[32] = "untouched";
  EXPECT_EQ(h3.GetShareViewName(buffer, sizeof buffer), 0);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(h3.GetShareMutexName(buffer, sizeof buffer), 0);
  EXPECT_EQ(h3.SetCommandEntry("lost", 0), 0);
  EXPECT_EQ(h3.SetSysLogEntry((names.folder() + "/log").c_str(), "lost"), 0);
  int32_t cursor = -1;
  int32_t size = sizeof buffer;
  EXPECT_EQ(h3.GetCommandEntry(&cursor, buffer, &size, 0), 0);
  h3.SetRunningApps(1, 1);
  EXPECT_EQ(h3.GetRunningApps(1), 0);
  h3.IncreaseWatchdog();
  EXPECT_EQ(h3.ReadWatchdog(), 0);
  int32_t switched = -1;
  EXPECT_EQ(h3.CyclicCleanup(0, &switched), 0);
  EXPECT_EQ(switched, 0);
}

}  // namespace
