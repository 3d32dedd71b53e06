// halvane-config-dump run as the real program on files and folders made by hand.
#include <filesystem>

#include "ConfigFilesFixture.h"
#include "HalvaneVersion.h"
#include "ProgramRun.h"

namespace Halvane_Config {
namespace {

using golden::kNoon;

class ConfigDumpTest : public ConfigFilesTest {
 protected:
  ProgramRun Dump(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), CONFIG_DUMP_PATH);
    return RunProgram(arguments);
  }

  // Good, old, truncated and foreign files, as a commissioning engineer may find them.
  void MakeMixedFolder() {
    folder.Write(
        "Receivers/Receiver_0042.dat",
        golden::ReceiverV5(42, true, 12, "Pump \xe9", golden::SampleSettings(), "", kNoon));
    folder.Write("Receivers/Receiver_0007.dat", golden::ReceiverV3());
    folder.Write("Receivers/Receiver_0008.dat", golden::EmptyReceiverV5(8, kNoon).substr(0, 100));
    folder.Write("Receivers/Receiver_0009.dat", "PK\x03\x04 not a receiver");
    folder.Write("Receivers/notes.txt", "call Anna first");
    folder.Write("Profiles/Profile_0311.dat", golden::SampleProfile(5, 2, kNoon));
    folder.Write("Profiles/Profile_0004.dat", golden::SampleProfile(4, 1, 0));
  }
};

TEST_F(ConfigDumpTest, HelpAndBadUsage) {
  const ProgramRun help = Dump({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("Usage: halvane-config-dump"), std::string::npos);
  for (const std::vector<std::string>& bad : {std::vector<std::string>{},
                                              {"--bogus", "x"},
                                              {"--kind", "printer", "x"},
                                              {"--offset", "3", "x"},
                                              {"--kind", "alarm", "--count", "0", "x"},
                                              {"--folder", folder.Path(), "x"},
                                              {"--folder"}}) {
    const ProgramRun run = Dump(bad);
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find("Try 'halvane-config-dump --help'"), std::string::npos);
    EXPECT_EQ(run.out, "");
  }
}

TEST_F(ConfigDumpTest, AReceiverShowsEveryFieldAsTextOrJson) {
  MakeMixedFolder();
  const std::string file = PathOf("Receivers/Receiver_0042.dat");
  const ProgramRun text = Dump({file});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(text.out, "file: \"" + file +
                          "\"\n"
                          "kind: \"receiver\"\n"
                          "size: 2099\n"
                          "version: 5\n"
                          "disk identity: 42\n"
                          "enabled: yes\n"
                          "receiver type id: 12\n"
                          "receiver name: \"Pump \xc3\xa9\"\n"
                          "settings:\n"
                          "  - Integer 5\n"
                          "  - String \"x\"\n"
                          "  - Empty\n"
                          "  - Boolean True\n"
                          "backup receiver: \"\"\n"
                          "time of writing: 2026-12-08 12:00:00\n"
                          "problems: none\n");

  const ProgramRun json = Dump({"--json", file});
  EXPECT_EQ(json.exitCode, 0);
  for (const char* part : {"[\n  {\n", "\"receiverName\": \"Pump \xc3\xa9\"",
                           "\"type\": \"Integer\",\n", "\"value\": 5\n", "\"timeOfWriting\": {\n",
                           "\"days\": 46364.5,", "\"problems\": []\n  }\n]\n"})
    EXPECT_NE(json.out.find(part), std::string::npos) << part;
}

TEST_F(ConfigDumpTest, AProfileShowsItsScheduleAsPeriodsPerDayType) {
  MakeMixedFolder();
  const ProgramRun run = Dump({PathOf("Profiles/Profile_0004.dat")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  for (const char* line :
       {"version: 4\n", "systems: 18: 1 (the others 0)\n", "off-duty alarm behaviour: 1\n",
        "    Monday: active, grouped, row 0: 07:00-16:00 23:00-24:00\n",
        "    Saturday: active, row 5, no periods\n",
        "    special day type 1: active, row 7, no periods\n",
        "problems:\n  - \"version 4: the server rewrites the file as version 5 when it first loads "
        "it\"\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
  EXPECT_EQ(folder.Read("Profiles/Profile_0004.dat"), golden::SampleProfile(4, 1, 0));
}

TEST_F(ConfigDumpTest, TheFolderSummaryTellsWhatTheServerCannotLoad) {
  MakeMixedFolder();
  const ProgramRun run = Dump({"--folder", folder.Path()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(
      run.out,
      "Folder " + folder.Path() +
          "\n"
          "Receivers: 4, 2 the server cannot load\n"
          "  identity  version  enabled  name      file                         problems\n"
          "  7         3        yes      \"Pump\"    Receivers/Receiver_0007.dat  version 3: "
          "the server rewrites the file as version 5 when it first loads it\n"
          "  8         5        -        -         Receivers/Receiver_0008.dat  cannot be "
          "read at byte 38: Input past end of file\n"
          "  9         19280    -        -         Receivers/Receiver_0009.dat  unknown "
          "version 19280: the server does not load the file\n"
          "  42        5        yes      \"Pump \xc3\xa9\"  Receivers/Receiver_0042.dat  -\n"
          "Profiles: 2\n"
          "  identity  version  enabled  name     file                       problems\n"
          "  4         4        yes      \"Night\"  Profiles/Profile_0004.dat  version 4: the "
          "server rewrites the file as version 5 when it first loads it\n"
          "  311       5        yes      \"Night\"  Profiles/Profile_0311.dat  -\n"
          "Calendar: no Calendar.dat\n"
          "Other files: 1\n"
          "  Receivers/notes.txt: not a receiver file\n");

  const ProgramRun json = Dump({"--folder", folder.Path(), "--json"});
  EXPECT_EQ(json.exitCode, 1);
  for (const char* part :
       {"\"file\": \"Receivers/Receiver_0008.dat\",\n      \"identity\": 8,\n"
        "      \"version\": 5,\n      \"enabled\": null,\n      \"name\": null,\n"
        "      \"loads\": false,\n",
        "\"otherFiles\": [\n    {\n      \"file\": \"Receivers/notes.txt\","})
    EXPECT_NE(json.out.find(part), std::string::npos) << part << json.out;

  EXPECT_NE(run.err.find("Receivers/Receiver_0008.dat: the server cannot load it: cannot be read "
                         "at byte 38"),
            std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("Receivers/Receiver_0009.dat: the server cannot load it: unknown"),
            std::string::npos);

  std::filesystem::remove(folder.PathOf("Receivers/Receiver_0008.dat"));
  std::filesystem::remove(folder.PathOf("Receivers/Receiver_0009.dat"));
  std::string calendar(29220, '\0');
  calendar[2 * 9475] = 7;  // 2025-12-11
  calendar[2 * 9476] = 9;
  calendar[2 * 9862] = 8;  // 2027-01-01
  folder.Write("Calendar.dat", calendar);
  const ProgramRun good = Dump({"--folder", folder.Path()});
  EXPECT_EQ(good.exitCode, 0) << good.err;
  EXPECT_NE(good.out.find("Calendar: Calendar.dat, 29220 bytes, dates set to a day type: 2025 (2), "
                          "2027 (1)\n"),
            std::string::npos)
      << good.out;
  EXPECT_EQ(folder.Read("Receivers/Receiver_0007.dat"), golden::ReceiverV3());  // never written

  // A calendar the server cannot load fails the folder, and is named.
  folder.Write("Calendar.dat", calendar.substr(0, 1000));
  const ProgramRun damaged = Dump({"--folder", folder.Path()});
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_NE(
      damaged.err.find("Calendar.dat: the server cannot load it: cannot be read at byte 1000: "
                       "Input past end of file"),
      std::string::npos)
      << damaged.err;
}

TEST_F(ConfigDumpTest, ACalendarShowsTheDatesSetToADayType) {
  std::string calendar(29220, '\0');
  calendar[0] = 8;          // 2000-01-01: special day type 1
  calendar[2 * 14609] = 1;  // 2039-12-31: as Monday
  calendar[2 * 400] = 40;   // no day type
  folder.Write("calendar.dat", calendar);
  const ProgramRun run = Dump({PathOf("calendar.dat")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  for (const char* line :
       {"dates set: 3\n", "  - 2000-01-01 Saturday: 8 (special day type 1)\n",
        "  - 2001-02-04 Sunday: 40 (no day type: an ordinary day)\n",
        "  - 2039-12-31 Saturday: 1 (as Monday)\n",
        "  - \"1 date with a value outside 0..23 (first: 2001-02-04 holds 40)\"\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;

  const ProgramRun all = Dump({"--all", "--kind", "calendar", PathOf("calendar.dat")});
  EXPECT_NE(all.out.find("  - 2000-01-02 Sunday: 0 (ordinary day)\n"), std::string::npos);

  // The calendar reads exactly 29,220 bytes, no fewer and no more.
  folder.Write("short.cal", calendar.substr(0, 1000));
  folder.Write("long.cal", calendar + "x");
  const ProgramRun wrongLength =
      Dump({"--kind", "calendar", PathOf("short.cal"), PathOf("long.cal")});
  EXPECT_EQ(wrongLength.exitCode, 1);
  EXPECT_NE(wrongLength.err.find("short.cal: cannot be read at byte 1000: Input past end of file"),
            std::string::npos);
  EXPECT_NE(wrongLength.err.find("long.cal: cannot be read at byte 29220: Invalid file format"),
            std::string::npos)
      << wrongLength.err;
}

TEST_F(ConfigDumpTest, AlarmRecordsAreReadFromAnOffsetOneAfterAnother) {
  folder.Write("alarms.dat",
               std::string(10, 'x') + golden::NewAlarmRecord(kNoon) + golden::SampleAlarmRecord());
  const ProgramRun run =
      Dump({"--kind", "alarm", "--offset", "10", "--count", "2", PathOf("alarms.dat")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  for (const char* line :
       {"    offset: 74\n", "    event id: 74565\n", "    event id hex: \"2345\"\n",
        "    time stamp from SCADA: 2026-12-08 06:00:00\n",
        "    sequence receiver confirm: \"-1;0\"\n"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;

  const ProgramRun tooMany =
      Dump({"--kind", "alarm", "--offset", "10", "--count", "3", PathOf("alarms.dat")});
  EXPECT_EQ(tooMany.exitCode, 1);
  EXPECT_NE(tooMany.err.find("record 3 at byte 167: Input past end of file"), std::string::npos)
      << tooMany.err;
}

TEST_F(ConfigDumpTest, EveryPathGivenIsNamedWithWhatItIs) {
  folder.Write("mystery.bin", "abc");
  folder.Write("Calendar.dat", std::string(100, '\0'));
  folder.Write("Profiles/Profile_0005.dat", golden::SampleProfile(5, 2, kNoon).substr(0, 2431));
  const ProgramRun run =
      Dump({PathOf("missing/Receiver_0001.dat"), PathOf("Receivers"), PathOf("mystery.bin"),
            PathOf("Calendar.dat"), PathOf("Profiles/Profile_0005.dat")});
  EXPECT_EQ(run.exitCode, 1);
  for (const char* line :
       {"Receiver_0001.dat: no such file\n", "Receivers: is a folder: use --folder\n",
        "mystery.bin: cannot tell what kind of file this is",
        "Calendar.dat: cannot be read at byte 100: Input past end of file",
        "Profile_0005.dat: cannot be read at byte 2430: Input past end of file"})
    EXPECT_NE(run.err.find(line), std::string::npos) << line << run.err;
  EXPECT_NE(run.out.find("kind: \"calendar\""), std::string::npos);
  EXPECT_EQ(Dump({"--folder", PathOf("missing")}).exitCode, 1);

  const ProgramRun version = Dump({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out, std::string("halvane-config-dump ") + kHalvaneVersion + "\n");
}

TEST_F(ConfigDumpTest, MinutesOutsideTheDayShowAsStoredWithAWarning) {
  cProfile profile;
  profile.m_DiskIdentity = 6;
  profile.m_TimeSchedule = std::make_shared<cTimeSchedule>();
  profile.m_TimeSchedule->AddPeriod(0, -5, 2000);
  profile.m_TimeSchedule->AddPeriod(0, 480, 600);
  ASSERT_TRUE(profile.SaveToDisk());
  const ProgramRun run = Dump({PathOf("Profiles/Profile_0006.dat")});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  for (const char* line :
       {"    Monday: active, row 0: minutes -5..2000 08:00-10:00\n",
        "  - \"Monday: minutes -5..2000 outside 00:00-24:00: kept as stored, clipped to the day"})
    EXPECT_NE(run.out.find(line), std::string::npos) << line << run.out;
}

}  // namespace
}  // namespace Halvane_Config
