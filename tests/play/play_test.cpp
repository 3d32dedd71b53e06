// fauxlarm-play as engineers and scripts run it: real processes, real files, a TCP client
// on loopback, and command queue 0 read back through the exchange library. Timing is not
// asserted beyond order and a wide bound on --rate.
#include <dlfcn.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "CommandQueue.h"
#include "PlayProcess.h"
#include "Scenario.h"
#include "SharedObjects.h"
#include "exchange/Halvane3.h"
#include "play/Tally.h"

namespace {

namespace fs = std::filesystem;

const std::string kPrefix = "fauxlarm-play-test-" + std::to_string(getpid()) + ".";

class PlayTest : public ::testing::Test {
 protected:
  ~PlayTest() override { fs::remove_all(folder_); }

  std::string Path(const std::string& name) const { return (folder_ / name).string(); }
  std::string Write(const std::string& name, const std::string& bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }
  std::string Read(const std::string& name) const {
    std::ifstream file(Path(name), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }
  long Lines(const std::string& name) const {
    const std::string bytes = Read(name);
    return std::count(bytes.begin(), bytes.end(), '\n');
  }

  fs::path folder_ =
      fs::temp_directory_path() / ("fauxlarm-play-" + std::to_string(getpid()) + "-" +
                                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  bool made_ = fs::create_directories(folder_);
};

TEST_F(PlayTest, ScenarioGoesToTheGenericFileAsFauxlarmWritesIt) {
  const std::string scenario = Write("s.csv", kScenario);
  const ProgramRun run = RunPlay({"--file=" + Path("G.txt"), scenario});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(Read("G.txt"), kLines);
  EXPECT_NE(run.out.find("Events read     3 from"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("Not delivered   0\n"), std::string::npos) << run.out;

  // Missing columns: Fauxlarm's design texts, the local date and time when sent.
  Write("d.csv", "type,tag\n1,X\n");
  ASSERT_EQ(RunPlay({"--file=" + Path("D.txt"), Path("d.csv")}).exitCode, 0);
  EXPECT_TRUE(std::regex_match(
      Read("D.txt"),
      std::regex("1\\|\\d{4}-\\d\\d-\\d\\d\\|\\d\\d:\\d\\d:\\d\\d\\|X\\|A5\\|2\\|PressureFault\\|"
                 "Pressure is bad\\|ACTIVE\r\n")))
      << Read("D.txt");
}

TEST_F(PlayTest, WhatOneRunWroteReplaysToTheSameFileAndOverTcpInOrder) {
  const std::string scenario = Write("s.csv", kScenario);
  ASSERT_EQ(RunPlay({"--file=" + Path("A.txt"), scenario}).exitCode, 0);
  const ProgramRun again = RunPlay({"--file=" + Path("B.txt"), "--json", Path("A.txt")});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(Read("B.txt"), Read("A.txt"));
  EXPECT_NE(again.out.find("\"read\":3,\"sent\":3,\"undelivered\":0"), std::string::npos)
      << again.out;

  RunningProgram tcp({FAUXLARM_PLAY, "--tcp=0", "--wait=20", "--loop=2", Path("A.txt")});
  const int port = ListeningPort(tcp);
  ASSERT_NE(port, 0) << tcp.ErrorSoFar();
  const std::string received = ReadAllFrom(port);
  const ProgramRun run = tcp.Wait();
  EXPECT_EQ(run.exitCode, 0) << run.err;
  std::string lines = std::regex_replace(kLines, std::regex("\r\n"), "\n");
  EXPECT_EQ(received, lines + lines);
}

TEST_F(PlayTest, QueueGetsAlarmAndMessageCommandsThatTheLibraryHandsBack) {
  void* library = dlopen(HALVANE3_LIBRARY, RTLD_NOW);
  ASSERT_NE(library, nullptr) << dlerror();
  const auto getCommandEntry =
      reinterpret_cast<decltype(&GetCommandEntry)>(dlsym(library, "GetCommandEntry"));
  int cursor = -1;
  const auto drain = [&] { return DrainCommandQueue(getCommandEntry, cursor); };
  drain();

  const ProgramRun run =
      RunPlay({"--queue", "--system=VISTA", "--log=" + Path("log"), Write("s.csv", kScenario)});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(drain(), kQueueCommands);
  std::istringstream log(Read("log"));
  for (const std::string& command : kQueueCommands) {
    std::string line;
    std::getline(log, line);
    EXPECT_TRUE(
        std::regex_match(line, std::regex("\\d{4}-\\d\\d-\\d\\dT[0-9:.]{15}[+-]\\d\\d:\\d\\d "
                                          "queue sent (.*)")))
        << line;
    EXPECT_EQ(line.substr(line.find(" sent ") + 6), command);
  }

  // A generic file's message line gives the same command; alarms the default system.
  ASSERT_EQ(RunPlay({"--queue", "--rate=0", Write("g.txt", kLines)}).exitCode, 0);
  const std::vector<std::string> replayed = drain();
  ASSERT_EQ(replayed.size(), 3u);
  EXPECT_EQ(replayed[0], "TA:" + kLines.substr(0, kLines.find('\r')) + "|18");
  EXPECT_EQ(replayed[2], kQueueCommands[2]);
}

TEST_F(PlayTest, BadScenarioIsToldWhereAndNothingIsSent) {
  const std::string bad = Write("bad.csv",
                                "at,type,tag\n"
                                "1,actve,A\n"
                                "0.5,active,B\n"
                                "2,active,C,D\n"
                                "2.x,active,E\n"
                                "3,active,\"F\"G\n"
                                "4,active,H\xF6\n"
                                "5,1,\"open\n"
                                "6,0,x\n");
  const ProgramRun run = RunPlay({"--file=" + Path("G.txt"), bad});
  EXPECT_EQ(run.exitCode, 2);
  for (const char* message : {
           ":2:3: found the type \"actve\"; expected inactive, active, acked, message or 0 to 3",
           ":3:1: found 0.500 s, earlier than the row before (1.000 s); expected rows in time "
           "order",
           ":4:12: found 4 fields; expected 3",
           ":5:1: found the time \"2.x\"; expected seconds",
           ":6:13: found \"G\" after a closing quote",
           ":7:10: found the byte 0xF6 in tag, which is not UTF-8",
           ":8:5: found a quote that is never closed",
       }) {
    EXPECT_NE(run.err.find(bad + message), std::string::npos) << message << "\n" << run.err;
  }
  EXPECT_FALSE(fs::exists(Path("G.txt")));

  const std::string generic = Write("g.txt", kLines + "2|only|four|fields\r\n");
  const ProgramRun line = RunPlay({"--file=" + Path("G.txt"), generic});
  EXPECT_EQ(line.exitCode, 2);
  EXPECT_NE(line.err.find(generic + ":4:19: found 4 fields; expected at least 9"),
            std::string::npos)
      << line.err;
  EXPECT_FALSE(fs::exists(Path("G.txt")));

  const ProgramRun column = RunPlay({"--queue", Write("c.csv", "at,type,colour\n")});
  EXPECT_EQ(column.exitCode, 2);
  EXPECT_NE(column.err.find("c.csv:1:9: found the column \"colour\"; expected at, type, tag"),
            std::string::npos)
      << column.err;
}

TEST_F(PlayTest, LoopsCountsAndTheRandomStreamRepeatAsTold) {
  // An input without events ends even when looped until stopped.
  const ProgramRun empty =
      RunPlay({"--file=" + Path("E.txt"), "--loop=0", Write("e.csv", "type\n")});
  EXPECT_EQ(empty.exitCode, 0);
  EXPECT_FALSE(fs::exists(Path("E.txt")));

  ASSERT_EQ(RunPlay({"--file=" + Path("L.txt"), "--loop=3", "--count=5", Write("g.txt", kLines)})
                .exitCode,
            0);
  EXPECT_EQ(Read("L.txt"), kLines + kLines.substr(0, kLines.find("3|")));

  // The same sequence after every start, as Fauxlarm's; only the time stamps differ.
  for (const char* file : {"R1.txt", "R2.txt"})
    ASSERT_EQ(RunPlay({"--file=" + Path(file), "--random", "--rate=0", "--count=20"}).exitCode, 0);
  const std::regex stamps("^([012])\\|[^|]*\\|[^|]*\\|(TA0220'GT41_[0-9A-F]{2}\\|A5\\|2\\|.*)$",
                          std::regex::multiline);
  const std::string first = std::regex_replace(Read("R1.txt"), stamps, "$1 $2");
  EXPECT_EQ(std::regex_replace(Read("R2.txt"), stamps, "$1 $2"), first);
  EXPECT_EQ(std::count(first.begin(), first.end(), '_'), 20) << first;
}

TEST_F(PlayTest, BadLinesOfStandardInputAreSkippedAndCounted) {
  const ProgramRun run =
      RunPlay({"--file=" + Path("G.txt"), "-"}, "type,tag\n1,A\nfive,B\n0,C\n1,D,E\n");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(Lines("G.txt"), 2);
  EXPECT_NE(run.err.find("<stdin>:3:1: found the type \"five\""), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("<stdin>:5:5: found 3 fields"), std::string::npos) << run.err;
  EXPECT_NE(run.out.find("Bad lines       2 skipped"), std::string::npos) << run.out;
}

TEST_F(PlayTest, ServerThatGoesAwayIsCountedAndANewOneTakesOver) {
  RunningProgram run({FAUXLARM_PLAY, "--tcp=0", "--wait=20", "--random", "--rate=200",
                      "--duration=2", "--json", "--log=" + Path("log")});
  const int port = ListeningPort(run);
  ASSERT_NE(port, 0) << run.ErrorSoFar();
  {
    // The first server reads a little and goes away.
    const int first = ConnectTo(port);
    char buffer[256];
    std::size_t got = 0;
    while (got < 1000) {
      const ssize_t n = ::read(first, buffer, sizeof buffer);
      if (n <= 0) break;
      got += static_cast<std::size_t>(n);
    }
    ::close(first);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  const std::string second = ReadAllFrom(port);
  const ProgramRun result = run.Wait();
  EXPECT_EQ(result.exitCode, 1) << result.err;
  EXPECT_GT(std::count(second.begin(), second.end(), '\n'), 100);
  std::smatch counts;
  ASSERT_TRUE(std::regex_search(result.out, counts,
                                std::regex("\"read\":(\\d+),\"sent\":(\\d+),\"undelivered\":(\\d+),"
                                           "\"undelivered_by_reason\":\\{\"no_server\":(\\d+)\\}")))
      << result.out;
  EXPECT_EQ(std::stoi(counts[1]), std::stoi(counts[2]) + std::stoi(counts[3]));
  EXPECT_EQ(counts[3], counts[4]);
  EXPECT_NE(Read("log").find(" tcp no_server 2|"), std::string::npos);
}

TEST_F(PlayTest, StandardInputGoesOutLineByLineAsItArrives) {
  ASSERT_EQ(::mkfifo(Path("fifo").c_str(), 0600), 0);
  RunningProgram run(
      {"/bin/sh", "-c",
       std::string("exec ") + FAUXLARM_PLAY + " --file=" + Path("G.txt") + " - < " + Path("fifo")});
  const int writer = ::open(Path("fifo").c_str(), O_WRONLY);
  ASSERT_GE(writer, 0);
  const auto waitForLines = [&](long lines) {
    for (int i = 0; i < 500 && Lines("G.txt") < lines; ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return Lines("G.txt");
  };
  const std::string first = "type,tag\n1,A\n";
  ASSERT_EQ(::write(writer, first.data(), first.size()), static_cast<ssize_t>(first.size()));
  EXPECT_EQ(waitForLines(1), 1);
  ASSERT_EQ(::write(writer, "0,B\n", 4), 4);
  EXPECT_EQ(waitForLines(2), 2);
  ::close(writer);
  EXPECT_EQ(run.Wait().exitCode, 0);
}

TEST_F(PlayTest, CtrlCStopsWithASummaryThatAddsUp) {
  RunningProgram run(
      {FAUXLARM_PLAY, "--file=" + Path("G.txt"), "--random", "--rate=40", "--json", "--quiet"});
  std::this_thread::sleep_for(std::chrono::milliseconds(600));
  run.Signal(SIGINT);
  const ProgramRun result = run.Wait();
  std::smatch counts;
  ASSERT_TRUE(std::regex_search(
      result.out, counts, std::regex("\"read\":(\\d+),\"sent\":(\\d+),\"undelivered\":(\\d+)")))
      << result.out;
  const int read = std::stoi(counts[1]);
  const int sent = std::stoi(counts[2]);
  EXPECT_GT(sent, 5);
  EXPECT_EQ(read, sent + std::stoi(counts[3]));
  EXPECT_EQ(Lines("G.txt"), sent);
  EXPECT_NE(result.out.find("\"stopped\":\"signal\""), std::string::npos);
  EXPECT_EQ(result.exitCode, read == sent ? 0 : 1);
}

TEST_F(PlayTest, RateIsKeptRoughly) {
  const ProgramRun run =
      RunPlay({"--file=" + Path("G.txt"), "--random", "--rate=200", "--duration=1", "--json"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto lines = Lines("G.txt");
  EXPECT_GE(lines, 150);
  EXPECT_LE(lines, 201);
}

TEST_F(PlayTest, UsageAndSetUpFailuresSaySoWithTheirStatus) {
  EXPECT_EQ(RunPlay({Path("s.csv")}).exitCode, 2);
  EXPECT_EQ(RunPlay({"--queue", "--file=x", Path("s.csv")}).exitCode, 2);
  EXPECT_EQ(RunPlay({"--queue", "--random"}).exitCode, 2);
  // A short option is named alone, also inside a group.
  for (const char* group : {"-Zq", "-qZ"}) {
    const ProgramRun unknown = RunPlay({group, Path("s.csv")});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_NE(unknown.err.find("unknown option -Z\n"), std::string::npos) << unknown.err;
  }
  EXPECT_NE(RunPlay({"--queue", "--wait"}).err.find("option --wait needs a value"),
            std::string::npos);
  const ProgramRun missing = RunPlay({"--queue", Path("none.csv")});
  EXPECT_EQ(missing.exitCode, 2);
  EXPECT_NE(missing.err.find("cannot open"), std::string::npos);

  const ProgramRun nobody = RunPlay({"--tcp=0", "--wait=0.2", Write("s.csv", kScenario)});
  EXPECT_EQ(nobody.exitCode, 1);
  EXPECT_NE(nobody.err.find("no alarm server connected to port"), std::string::npos) << nobody.err;
  // The summary names standard input alike whether the run started or not.
  const ProgramRun nobodyForInput =
      RunPlay({"--tcp=0", "--wait=0.2", "--json", "-"}, "1|d|t|g|a|c|n|x|s\n");
  EXPECT_EQ(nobodyForInput.exitCode, 1);
  EXPECT_NE(nobodyForInput.out.find("\"input\":\"standard input\""), std::string::npos)
      << nobodyForInput.out;

  // A copy of the program with no exchange library beside it or anywhere else.
  fs::copy_file(FAUXLARM_PLAY, Path("fauxlarm-play"));
  const ProgramRun noLibrary = RunningProgram({Path("fauxlarm-play"), "--queue", Path("s.csv")}, {},
                                              {"LD_LIBRARY_PATH=" + folder_.string()})
                                   .Wait();
  EXPECT_EQ(noLibrary.exitCode, 1);
  EXPECT_NE(noLibrary.err.find("The exchange library could not be loaded: looked for"),
            std::string::npos)
      << noLibrary.err;
}

TEST(Lateness, PercentilesAreTheTopsOfTheirStepsAndNeverAboveTheMaximum) {
  Play::LatenessHistogram lateness;
  for (int i = 1; i <= 1000; ++i)
    lateness.Add(i * 1000);  // 1 µs .. 1 ms
  EXPECT_EQ(lateness.Count(), 1000);
  EXPECT_EQ(lateness.Max(), 1'000'000);
  EXPECT_GE(lateness.Percentile(0.5), 500'000);
  EXPECT_LE(lateness.Percentile(0.5), 500'000 * 1.035);
  EXPECT_GE(lateness.Percentile(0.99), 990'000);
  EXPECT_LE(lateness.Percentile(0.99), 1'000'000);
  EXPECT_EQ(lateness.Percentile(1.0), 1'000'000);
  lateness.Add(-5);  // early counts as on time
  EXPECT_EQ(Play::LatenessHistogram().Percentile(0.5), 0);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("HALVANE3_NAME_PREFIX", kPrefix.c_str(), 1);
  ::testing::InitGoogleTest(&argc, argv);
  const int status = RUN_ALL_TESTS();
  RemoveSharedObjects(kPrefix);
  return status;
}
