#include <gtest/gtest.h>

#include "config-editor/CommandLine.h"

namespace ConfigEditor {
namespace {

TEST(CommandLineTest, ReadsTheFolderTheCalendarAndHelp) {
  ParsedCommandLine parsed = ParseCommandLine({"--folder", "/srv/alarm", "--calendar=/tmp/c.dat"});
  EXPECT_EQ(parsed.error, "");
  EXPECT_EQ(parsed.options.folder, "/srv/alarm");
  EXPECT_EQ(parsed.options.calendar, "/tmp/c.dat");
  EXPECT_FALSE(parsed.options.help);
  EXPECT_TRUE(ParseCommandLine({"--help"}).options.help);
  EXPECT_TRUE(ParseCommandLine({"-V"}).options.version);
  EXPECT_TRUE(ParseCommandLine({}).options.folder.empty());
}

TEST(CommandLineTest, TakesTheFolderAsAPlainArgumentButOnlyOnce) {
  EXPECT_EQ(ParseCommandLine({"/srv/alarm"}).options.folder, "/srv/alarm");
  EXPECT_EQ(ParseCommandLine({"/srv/alarm", "--calendar", "c.dat"}).options.calendar, "c.dat");
  EXPECT_EQ(ParseCommandLine({"/a", "/b"}).error, "one folder only: /a or /b?");
  EXPECT_EQ(ParseCommandLine({"--folder", "/a", "/b"}).error, "one folder only: /b or /a?");
}

TEST(CommandLineTest, RefusesWhatItDoesNotKnowAndMissingValues) {
  EXPECT_EQ(ParseCommandLine({"--fodler", "x"}).error, "unknown argument: --fodler");
  EXPECT_EQ(ParseCommandLine({"--folder"}).error, "--folder needs a path");
  EXPECT_EQ(ParseCommandLine({"--calendar="}).error, "--calendar needs a path");
  EXPECT_NE(UsageText().find("--folder DIR"), std::string::npos);
}

}  // namespace
}  // namespace ConfigEditor
