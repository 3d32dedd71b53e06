#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "common/Halvane_Common_Procedures.h"

namespace hcp = Halvane_Common_Procedures;

TEST(TimeTextToMinutes, ReadsTimesAsUsersTypeThem) {
  const struct {
    const char16_t* text;
    int minutes;
  } cases[] = {
      {u"12345", 1425}, {u"7", 420},      {u"17", 1020},    {u"730", 450},    {u"07", 7},
      {u"7:30", 450},   {u"7.30", 450},   {u"7 30", 450},   {u"25:00", 1440}, {u"", 0},
      {u":45", 45},     {u"7:30.5", 450}, {u"7,15", 435},   {u"-5", 5},       {u"abc", 0},
      {u"0", 0},        {u"2400", 1440},  {u"23:59", 1439}, {u"7:31.5", 452},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hcp::TimeTextToMinutes(c.text), c.minutes) << hcp::Utf16ToUtf8(c.text);
  }
}

TEST(TimeTextToMinutes, RaisesOverflowOnlyBeyondTheIntegerRange) {
  EXPECT_EQ(hcp::TimeTextToMinutes(u"999999:00"), 1440);
  try {
    hcp::TimeTextToMinutes(u"99999999:00");
    ADD_FAILURE();
  } catch (const hcp::RuntimeError& e) {
    EXPECT_EQ(e.Number(), hcp::kOverflow);
  }
}

TEST(IntegerChars, EveryValueSurvivesARoundTrip) {
  for (int v = -32768; v <= 32767; ++v) {
    const std::u16string chars = hcp::IntegerToChars(static_cast<std::int16_t>(v));
    ASSERT_EQ(chars.size(), 2u);
    ASSERT_EQ(hcp::CharsToInteger(chars), v);
    // Written out, the two characters are the value's bytes, high byte first.
    const std::string bytes = hcp::ToWindows1252(chars);
    ASSERT_EQ((static_cast<unsigned char>(bytes[0]) << 8) | static_cast<unsigned char>(bytes[1]),
              static_cast<std::uint16_t>(v));
  }
  EXPECT_EQ(hcp::IntegerToChars(258), (std::u16string{1, 2}));
  EXPECT_EQ(hcp::CharsToInteger(u"\x01\x02xyz"), 258);
}

TEST(IntegerChars, NeedsTwoCharacters) {
  try {
    hcp::CharsToInteger(u"A");
    ADD_FAILURE();
  } catch (const hcp::RuntimeError& e) {
    EXPECT_EQ(e.Number(), hcp::kInvalidProcedureCall);
  }
}

class FileExistsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/fileexists.XXXXXX";
    folder_ = mkdtemp(pattern);
    std::ofstream(folder_ + "/report.txt") << "x";
    std::ofstream(folder_ + "/.hidden") << "x";
    ::mkdir((folder_ + "/sub.dir").c_str(), 0755);
  }
  void TearDown() override { std::system(("rm -rf " + folder_).c_str()); }

  bool Exists(const std::string& path) { return hcp::FileExists(hcp::Utf8ToUtf16(path)); }

  std::string folder_;
};

TEST_F(FileExistsTest, FindsNormalFilesOnly) {
  EXPECT_TRUE(Exists(folder_ + "/report.txt"));
  EXPECT_FALSE(Exists(folder_ + "/missing.txt"));
  EXPECT_FALSE(Exists(folder_ + "/sub.dir"));
  EXPECT_FALSE(Exists(folder_));
  EXPECT_FALSE(Exists(folder_ + "/.hidden"));
  EXPECT_FALSE(Exists(folder_ + "/"));
  EXPECT_FALSE(Exists(""));
  EXPECT_FALSE(Exists("/no/such/folder/report.txt"));
}

TEST_F(FileExistsTest, HonoursWildcardsInTheFileName) {
  EXPECT_TRUE(Exists(folder_ + "/*.txt"));
  EXPECT_TRUE(Exists(folder_ + "/rep?rt.*"));
  EXPECT_FALSE(Exists(folder_ + "/*.doc"));
  EXPECT_FALSE(Exists(folder_ + "/sub*"));     // only a folder matches
  EXPECT_FALSE(Exists(folder_ + "/.hid*"));    // only a hidden file matches
  EXPECT_FALSE(Exists(folder_ + "/*/x.txt"));  // no wildcards in folders
}

TEST(GetTextByNumber, AnswersInvalidWhileTheTableIsEmpty) {
  EXPECT_EQ(hcp::GetTextByNumber(611), u"*** Invalid Text (611)");
  EXPECT_EQ(hcp::GetTextByNumber(-5), u"*** Invalid Text (-5)");
}

TEST(GetTextByNumber, FindsTextsAHostProgramAddsAndFlagsEmptyOnes) {
  hcp::TextStore = u"MondayTuesday";
  hcp::TextIndex = {{611, 1, 6}, {612, 7, 7}, {613, 14, 0}};
  hcp::TextCount = 3;
  EXPECT_EQ(hcp::GetTextByNumber(612), u"Tuesday");
  EXPECT_EQ(hcp::GetTextByNumber(613), u"*** Missing text (613)");
  EXPECT_EQ(hcp::GetTextByNumber(614), u"*** Invalid Text (614)");
  hcp::TextCount = 0;
  hcp::TextIndex.clear();
  hcp::TextStore.clear();
}

TEST(Random, StartsTheSameInEveryRunAndStaysInUnitRange) {
  hcp::RandomSequence a, b;
  for (int i = 0; i < 100000; ++i) {
    const double value = a.Next();
    ASSERT_EQ(value, b.Next());
    ASSERT_GE(value, 0.0);
    ASSERT_LT(value, 1.0);
  }
}
