// What only the Linux monitor meets: forked processes and a region that cannot be had.
#include <cstdlib>

#include "MonitorFixture.h"

namespace {

TEST_F(MonitorTest, KeepsSeeingAForkedChildWhoseParentEnded) {
  ChildProcess daemon(helper({"push", "0", "from the parent", "fork-parent-exits", "push", "0",
                              "from the child", "wait", "push", "0", "later"}));
  for (const char* line : {"push 1", "parent ended", "push 1", "waiting"})
    ASSERT_EQ(daemon.readLine(), line);

  const Finished once = runToEnd(monitor({"--once"}));
  EXPECT_EQ(once.output, "command0: from the parent\ncommand0: from the child\n");
  ChildProcess follower(monitor({"--interval", "10"}));
  EXPECT_EQ(follower.readLine(), "command0: from the parent");
  EXPECT_EQ(follower.readLine(), "command0: from the child");
  daemon.resume();
  EXPECT_EQ(follower.readLine(), "command0: later");
  follower.stop();
  EXPECT_EQ(daemon.readRest(), "push 1\n");
}

TEST_F(MonitorTest, RegionThatCannotBeHadExitsWithOne) {
  setenv("HALVANE3_NAME_PREFIX", "not/valid.", 1);
  const Finished run = runToEnd(monitor({"--once"}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("cannot attach"), std::string::npos) << run.output;
}

}  // namespace
