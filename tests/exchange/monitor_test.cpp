// halvane3-monitor run as the real program against a region that helper processes fill.
#include "HalvaneVersion.h"
#include "MonitorFixture.h"

namespace {

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
  follower.stop();
}

TEST_F(MonitorTest, UsageErrorsAndHelp) {
  const Finished help = runToEnd(monitor({"--help"}));
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("Usage: halvane3-monitor"), std::string::npos);
  const Finished version = runToEnd(monitor({"--version"}));
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_NE(version.output.find(std::string("halvane3-monitor ") + kHalvaneVersion),
            std::string::npos)
      << version.output;

  for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
           {"--queue", "command4"}, {"--interval", "0"}, {"--bogus"}, {"extra"}, {"-q"}}) {
    const Finished run = runToEnd(monitor(bad));
    EXPECT_EQ(run.exitCode, 2) << bad[0];
    EXPECT_NE(run.output.find("halvane3-monitor: "), std::string::npos) << run.output;
  }
}

}  // namespace
