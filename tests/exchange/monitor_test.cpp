// halvane3-monitor run as the real program against a region that helper processes fill.
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>

#include "ChildProcess.h"
#include "TestNamespace.h"

namespace {

std::vector<std::string> monitor(std::vector<std::string> options) {
  options.insert(options.begin(), MONITOR_PATH);
  return options;
}

// Entries from a helper that stays attached, so the region lives while the monitor runs.
class MonitorTest : public ::testing::Test {
 protected:
  void fill(const std::vector<std::string>& commands) {
    std::vector<std::string> all = commands;
    all.push_back("wait");
    filler_.emplace(helper(all));
    while (filler_->readLine() != "waiting") {
      if (HasFailure()) return;
    }
  }

  TestNamespace names;

 private:
  std::optional<ChildProcess> filler_;
};

TEST_F(MonitorTest, OnceShowsCommandQueueZeroWithControlBytesVisible) {
  fill({"push", "0", "TA:1|01.02.2024|10:00:00|Tag|||||Active|18", "push", "0",
        "FT:Bob\xFE"
        "Caf\xE9 \x80 5\x01",
        "push", "1", "not shown"});
  const Finished run = runToEnd(monitor({"--once"}));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output,
            "command0: TA:1|01.02.2024|10:00:00|Tag|||||Active|18\n"
            "command0: FT:Bob<FE>Café € 5<01>\n");
}

TEST_F(MonitorTest, OnceShowsTheChosenQueuesAndValues) {
  fill({"tree", "1", "-2", "3", "4", "node", "debug", "a\tb", "push", "3", "three", "sysinfo",
        "server up", "set-apps", "0x80000005", "1", "watchdog", "3"});
  const Finished run = runToEnd(monitor({"-q", "treeview", "--queue", "debug", "--queue", "3",
                                         "--sys-info", "--running-apps", "--watchdog", "-1"}));
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_EQ(run.output,
            "sys-info: server up\n"
            "running-apps: 0x00000005\n"
            "watchdog: 3\n"
            "treeview: [1 -2 3 4] node\n"
            "debug: a<09>b\n"
            "command3: three\n");
}

TEST_F(MonitorTest, FollowingPrintsEachNewEntryAsItArrives) {
  fill({});
  ChildProcess follower(monitor({"--interval", "10"}));
  for (const char* text : {"first", "second"}) {
    ASSERT_EQ(runToEnd(helper({"push", "0", text})).exitCode, 0);
    EXPECT_EQ(follower.readLine(), std::string("command0: ") + text);
  }
  follower.kill(SIGTERM);
}

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
  follower.kill(SIGTERM);
  EXPECT_EQ(daemon.readRest(), "push 1\n");
}

TEST_F(MonitorTest, UsageErrorsAndHelp) {
  const Finished help = runToEnd(monitor({"--help"}));
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("Usage: halvane3-monitor"), std::string::npos);

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--queue", "command4"}, {"--interval", "0"}, {"--bogus"}, {"extra"}, {"-q"}}) {
    const Finished run = runToEnd(monitor(bad));
    EXPECT_EQ(run.exitCode, 2) << bad[0];
    EXPECT_NE(run.output.find("halvane3-monitor: "), std::string::npos) << run.output;
  }
}

TEST_F(MonitorTest, RegionThatCannotBeHadExitsWithOne) {
  setenv("HALVANE3_NAME_PREFIX", "not/valid.", 1);
  const Finished run = runToEnd(monitor({"--once"}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.output.find("cannot attach"), std::string::npos) << run.output;
}

}  // namespace
