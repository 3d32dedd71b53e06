#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "CalendarFixture.h"

namespace Halvane_Config {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kFileBytes = 29220;

std::string DiskForm(const cCalendar& calendar) {
  std::string bytes;
  calendar.PutDiskForm(bytes);
  return bytes;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const fs::path& path, std::string_view bytes) {
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), bytes.size());
}

// A calendar with a value in the first, a middle and the last day, including values that
// name no day type.
void FillVaried(cCalendar& calendar) {
  calendar.SetDayType(0, 3);
  calendar.SetDayType(1, -1);
  calendar.SetDayType(59, 23);  // 29 February 2000
  calendar.SetDayType(7000, 99);
  calendar.SetDayType(14609, 0x1234);
}

class CalendarFile : public CalendarTest {
 protected:
  CalendarFile() {
    folder_ = fs::path(::testing::TempDir()) /
              ("calendar_" + std::to_string(::getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(folder_);
  }
  ~CalendarFile() override { fs::remove_all(folder_); }

  // A path in the test's own folder, in the form the classes take.
  std::u16string Path(const std::string& name) const {
    return hcp::Utf8ToUtf16((folder_ / name).string());
  }
  fs::path FsPath(const std::string& name) const { return folder_ / name; }

  fs::path folder_;
};

TEST_F(CalendarFile, DayNumbersCoverTwoThousandToTwoThousandThirtyNine) {
  EXPECT_EQ(cCalendar::DayNumber(2000, 1, 1), 0);
  EXPECT_EQ(cCalendar::DayNumber(2000, 2, 29), 59);
  EXPECT_EQ(cCalendar::DayNumber(2039, 12, 31), 14609);
  EXPECT_EQ(cCalendar::DayNumber(1999, 12, 31), -1);

  calendar.SetDayType(0, 5);
  calendar.SetDayType(14609, 22);
  EXPECT_EQ(calendar.GetDayType(0), 5);
  EXPECT_EQ(calendar.GetDayType(14609), 22);
  for (const std::int32_t day : {-1, 14610}) {
    EXPECT_EQ(ErrorNumberOf([&] { calendar.SetDayType(day, 1); }), hcp::kSubscriptOutOfRange);
    EXPECT_EQ(ErrorNumberOf([&] { calendar.GetDayType(day); }), hcp::kSubscriptOutOfRange);
  }
  for (int dayType = 0; dayType < kDayTypeCount; ++dayType)
    EXPECT_FALSE(calendar.IsDayTypeUsed(dayType));
  for (const int dayType : {-1, 23})
    EXPECT_EQ(ErrorNumberOf([&] { calendar.IsDayTypeUsed(dayType); }), hcp::kSubscriptOutOfRange);
}

TEST_F(CalendarFile, ANewCalendarSavesAsZeroBytesAndComparesEqual) {
  const std::u16string path = Path("Calendar.dat");
  EXPECT_TRUE(calendar.SaveToDisk(path));
  EXPECT_EQ(ReadAll(FsPath("Calendar.dat")), std::string(kFileBytes, '\0'));
  EXPECT_TRUE(calendar.CompareToDisk(path));

  calendar.SetDayType(14609, 1);
  EXPECT_FALSE(calendar.CompareToDisk(path));
  EXPECT_TRUE(calendar.SaveToDisk(path));
  EXPECT_TRUE(calendar.CompareToDisk(path));
  EXPECT_FALSE(fs::exists(FsPath("Calendar.dat.tmp")));

  cCalendar other;
  EXPECT_FALSE(calendar.CompareToOtherCalendar(other));
  EXPECT_TRUE(other.ReadFromDisk(path));
  EXPECT_TRUE(calendar.CompareToOtherCalendar(other));
}

TEST_F(CalendarFile, GoldenBytesKeepEveryValue) {
  FillVaried(calendar);
  std::string golden(kFileBytes, '\0');
  golden.replace(0, 4, "\x03\x00\xff\xff", 4);
  golden.replace(118, 2, "\x17\x00", 2);
  golden.replace(14000, 2, "\x63\x00", 2);
  golden.replace(29218, 2, "\x34\x12", 2);
  EXPECT_EQ(DiskForm(calendar), golden);

  WriteAll(FsPath("Golden.dat"), golden);
  cCalendar back;
  EXPECT_TRUE(back.ReadFromDisk(Path("Golden.dat")));
  EXPECT_EQ(back.GetDayType(1), -1);
  EXPECT_EQ(back.GetDayType(7000), 99);  // kept, though it names no day type
  EXPECT_TRUE(back.CompareToOtherCalendar(calendar));
  EXPECT_TRUE(calendar.CompareToDisk(Path("Golden.dat")));
}

TEST_F(CalendarFile, AMissingFileIsAnswerNotError) {
  FillVaried(calendar);
  const std::string before = DiskForm(calendar);
  EXPECT_FALSE(calendar.ReadFromDisk(Path("Missing.dat")));
  EXPECT_FALSE(calendar.CompareToDisk(Path("Missing.dat")));
  // A folder is no file.
  EXPECT_FALSE(calendar.ReadFromDisk(hcp::Utf8ToUtf16(folder_.string())));
  EXPECT_FALSE(calendar.CompareToDisk(hcp::Utf8ToUtf16(folder_.string())));
  EXPECT_EQ(DiskForm(calendar), before);
}

TEST_F(CalendarFile, EveryTruncatedCalendarFailsAndChangesNothing) {
  cCalendar source;
  FillVaried(source);
  const std::string bytes = DiskForm(source);
  const std::string before = DiskForm(calendar);
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    hcp::ByteReader in(std::string_view(bytes).substr(0, length));
    ASSERT_EQ(ErrorNumberOf([&] { calendar.GetDiskForm(in); }), hcp::kInputPastEndOfFile) << length;
  }
  EXPECT_EQ(DiskForm(calendar), before);

  // The same through files, at the edges and in between; comparing says "different".
  for (const std::size_t length : {0, 1, 2, 14609, 29218, 29219}) {
    WriteAll(FsPath("Short.dat"), std::string_view(bytes).substr(0, length));
    EXPECT_EQ(ErrorNumberOf([&] { calendar.ReadFromDisk(Path("Short.dat")); }),
              hcp::kInputPastEndOfFile)
        << length;
    EXPECT_FALSE(calendar.CompareToDisk(Path("Short.dat"))) << length;
    EXPECT_FALSE(cCalendar().CompareToDisk(Path("Short.dat"))) << length;
  }
  EXPECT_EQ(DiskForm(calendar), before);
}

TEST_F(CalendarFile, ALongerFileIsNoCalendar) {
  cCalendar source;
  FillVaried(source);
  const std::string bytes = DiskForm(source);
  for (const std::string& longer : {bytes + '\0', bytes + std::string(2, '\0'), bytes + bytes}) {
    hcp::ByteReader in(longer);
    EXPECT_EQ(ErrorNumberOf([&] { calendar.GetDiskForm(in); }), hcp::kInvalidFileFormat);
    WriteAll(FsPath("Long.dat"), longer);
    EXPECT_EQ(ErrorNumberOf([&] { calendar.ReadFromDisk(Path("Long.dat")); }),
              hcp::kInvalidFileFormat);
    EXPECT_FALSE(source.CompareToDisk(Path("Long.dat")));
  }
  EXPECT_TRUE(calendar.CompareToOtherCalendar(cCalendar()));
}

TEST_F(CalendarFile, FilesThatCannotBeReadRaiseTheirErrors) {
  // A pattern finds a file, but no file has the pattern's name.
  calendar.SaveToDisk(Path("Calendar.dat"));
  EXPECT_EQ(ErrorNumberOf([&] { calendar.ReadFromDisk(Path("Cal*.dat")); }), hcp::kFileNotFound);
  EXPECT_EQ(ErrorNumberOf([&] { calendar.CompareToDisk(Path("Cal*.dat")); }), hcp::kFileNotFound);

  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  fs::permissions(FsPath("Calendar.dat"), fs::perms::none);
  EXPECT_EQ(ErrorNumberOf([&] { calendar.ReadFromDisk(Path("Calendar.dat")); }),
            hcp::kPermissionDenied);
  EXPECT_EQ(ErrorNumberOf([&] { calendar.CompareToDisk(Path("Calendar.dat")); }),
            hcp::kPermissionDenied);
}

TEST_F(CalendarFile, ASaveThatBreaksOffLeavesThePreviousFile) {
  FillVaried(calendar);
  calendar.SaveToDisk(Path("Calendar.dat"));
  const std::string previous = ReadAll(FsPath("Calendar.dat"));
  calendar.SetDayType(20, 7);

  // Files may grow to 10,000 bytes only: the write stops a third of the way.
  rlimit limit{};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
  const rlimit saved = limit;
  limit.rlim_cur = 10000;
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limit), 0);
  const int error = ErrorNumberOf([&] { calendar.SaveToDisk(Path("Calendar.dat")); });
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_EQ(error, hcp::kDiskFull);
  EXPECT_EQ(ReadAll(FsPath("Calendar.dat")), previous);
  EXPECT_FALSE(fs::exists(FsPath("Calendar.dat.tmp")));
  EXPECT_FALSE(calendar.CompareToDisk(Path("Calendar.dat")));
}

TEST_F(CalendarFile, SavingReplacesTheFileItselfAndKeepsItsWays) {
  // A leftover of an earlier save that broke off, longer than a calendar.
  WriteAll(FsPath("Calendar.dat.tmp"), std::string(40000, 'x'));
  WriteAll(FsPath("Target.dat"), "old");
  fs::permissions(FsPath("Target.dat"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink(FsPath("Target.dat"), FsPath("Calendar.dat"));
  FillVaried(calendar);

  EXPECT_TRUE(calendar.SaveToDisk(Path("Calendar.dat")));
  EXPECT_TRUE(fs::is_symlink(FsPath("Calendar.dat")));
  EXPECT_EQ(ReadAll(FsPath("Target.dat")), DiskForm(calendar));
  EXPECT_EQ(fs::status(FsPath("Target.dat")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_FALSE(fs::exists(FsPath("Target.dat.tmp")));

  // Into a folder that does not exist, or onto a folder.
  EXPECT_EQ(ErrorNumberOf([&] { calendar.SaveToDisk(Path("No/Calendar.dat")); }),
            hcp::kPathNotFound);
  fs::create_directory(FsPath("Folder.dat"));
  EXPECT_EQ(ErrorNumberOf([&] { calendar.SaveToDisk(Path("Folder.dat")); }),
            hcp::kPathFileAccessError);
  EXPECT_EQ(ErrorNumberOf([&] { calendar.SaveToDisk(u""); }), hcp::kBadFileNameOrNumber);

  if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind the super-user";
  fs::permissions(FsPath("Target.dat"), fs::perms::owner_read);
  calendar.SetDayType(3, 3);
  EXPECT_EQ(ErrorNumberOf([&] { calendar.SaveToDisk(Path("Calendar.dat")); }),
            hcp::kPermissionDenied);
  EXPECT_FALSE(calendar.CompareToDisk(Path("Calendar.dat")));
}

}  // namespace
}  // namespace Halvane_Config
