#include <gtest/gtest.h>
#include <unistd.h>
#ifdef __SANITIZE_ADDRESS__
#include <sanitizer/lsan_interface.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "FixedCalendarLocale.h"
#include "config/CalendarLocale.h"

namespace Halvane_Config {
namespace {

namespace fs = std::filesystem;

struct Dated {
  int year, month, day, week;
};

TEST(WeekOfYear, Iso8601) {
  const Dated dates[] = {
      {2021, 1, 1, 53},                       // a Friday: the last week of 2020
      {2021, 1, 3, 53},                       // the Sunday after
      {2021, 1, 4, 1},                        // the first Monday
      {2020, 12, 31, 53}, {2024, 12, 30, 1},  // a Monday in the week of 2025's first Thursday
      {2025, 12, 28, 52}, {2000, 1, 1, 52},   // a Saturday
      {2000, 1, 3, 1},    {2000, 2, 29, 9},  {2009, 12, 31, 53},
      {2010, 1, 3, 53},   {2000, 2, 36, 10},  // 7 March: days roll over
  };
  for (const Dated& d : dates)
    EXPECT_EQ(WeekOfYear(d.year, d.month, d.day, kIsoWeeks), d.week)
        << d.year << "-" << d.month << "-" << d.day;
}

TEST(WeekOfYear, UnitedStates) {
  const Dated dates[] = {
      {2021, 1, 1, 1},                      // the week of 1 January is week 1
      {2021, 1, 2, 1},    {2021, 1, 3, 2},  // a Sunday starts week 2
      {2000, 2, 29, 10},  {2016, 12, 31, 53}, {2017, 1, 1, 1},
      {2022, 12, 31, 53}, {2021, 12, 31, 1},  // in the week of 1 January 2022
  };
  for (const Dated& d : dates)
    EXPECT_EQ(WeekOfYear(d.year, d.month, d.day, kUsWeeks), d.week)
        << d.year << "-" << d.month << "-" << d.day;
}

TEST(WeekOfYear, FirstFullWeek) {
  const WeekRule fullWeek{0, 7};
  EXPECT_EQ(WeekOfYear(2021, 1, 3, fullWeek), 52);
  EXPECT_EQ(WeekOfYear(2021, 1, 4, fullWeek), 1);
  EXPECT_EQ(WeekOfYear(2024, 1, 1, fullWeek), 1);  // a Monday
  EXPECT_EQ(WeekOfYear(2024, 12, 31, fullWeek), 53);
}

TEST(MonthTitle, FullMonthNameAndFourDigitYear) {
  const FixedCalendarLocale english;
  EXPECT_EQ(MonthTitle(english, 2000, 2), u"February 2000");
  EXPECT_EQ(MonthTitle(english, 2039, 13), u"January 2040");
  EXPECT_EQ(MonthTitle(english, 2000, 0), u"December 1999");
}

// Locales compiled from the C library's sources into the build tree (the machine's own
// installed set may hold none of them), once for every test process that follows.
class SystemLocale : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ::setenv("LOCPATH", HALVANE_TEST_LOCALES, 1); }
  static void TearDownTestSuite() { ::unsetenv("LOCPATH"); }

  void SetUp() override {
    for (const char* variable : {"LC_ALL", "LC_TIME", "LANG"}) {
      const char* value = std::getenv(variable);
      saved_.emplace_back(variable, value ? std::optional<std::string>(value) : std::nullopt);
      ::unsetenv(variable);
    }
  }
  void TearDown() override {
    for (const auto& [variable, value] : saved_) {
      if (value) {
        ::setenv(variable.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(variable.c_str());
      }
    }
  }

  // Compiles a locale (for example "de_DE", "ISO-8859-1"); false when the machine cannot.
  // Processes that run side by side each compile beside the folder and move theirs in.
  static bool Compiled(const std::string& input, const std::string& charmap) {
    const fs::path folder = HALVANE_TEST_LOCALES;
    const fs::path locale = folder / (input + "." + charmap);
    if (fs::exists(locale / "LC_TIME")) return true;
    const fs::path own = folder / (".building-" + std::to_string(::getpid()));
    fs::create_directories(own);
    const std::string command = "localedef -c -i " + input + " -f " + charmap + " '" +
                                (own / locale.filename()).string() + "' >/dev/null 2>&1";
    [[maybe_unused]] const int status = std::system(command.c_str());  // may warn and still build
    if (fs::exists(own / locale.filename() / "LC_TIME")) {
      std::error_code taken;  // by another process meanwhile
      fs::rename(own / locale.filename(), locale, taken);
    }
    fs::remove_all(own);
    return fs::exists(locale / "LC_TIME");
  }

  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

// The locale of a name (the user's for none). glibc's newlocale loses its copy of
// LOCPATH, a few bytes a call; that leak is not ours to report.
SystemCalendarLocale Load(std::string_view name = {}) {
#ifdef __SANITIZE_ADDRESS__
  const __lsan::ScopedDisabler glibcLosesLocpath;
#endif
  return SystemCalendarLocale(name);
}

TEST_F(SystemLocale, PlainCMeansEnglishNamesAndIsoWeeks) {
  for (const char* name : {"C", "POSIX", "no_SUCH.locale"}) {
    const SystemCalendarLocale locale = Load(name);
    EXPECT_EQ(locale.MonthName(1), u"January") << name;
    EXPECT_EQ(locale.MonthName(12), u"December") << name;
    EXPECT_EQ(locale.ShortDayName(0), u"Mon") << name;
    EXPECT_EQ(locale.ShortDayName(6), u"Sun") << name;
    EXPECT_EQ(locale.Weeks(), kIsoWeeks) << name;
  }
  // With nothing in the environment the user's locale is the C locale.
  EXPECT_EQ(Load().MonthName(2), u"February");
}

TEST_F(SystemLocale, SingleByteTextsConvertAndTheWeekRulesAreRead) {
  if (!Compiled("de_DE", "ISO-8859-1")) GTEST_SKIP() << "cannot compile de_DE.ISO-8859-1";
  const SystemCalendarLocale german = Load("de_DE.ISO-8859-1");
  EXPECT_EQ(german.MonthName(3), u"M\u00e4rz");
  EXPECT_EQ(german.ShortDayName(0), u"Mo");
  EXPECT_EQ(german.ShortDayName(6), u"So");
  EXPECT_EQ(german.Weeks(), kIsoWeeks);
  EXPECT_EQ(MonthTitle(german, 2000, 3), u"M\u00e4rz 2000");
}

TEST_F(SystemLocale, TitlesNameTheMonthOnItsOwn) {
  if (!Compiled("ru_RU", "UTF-8")) GTEST_SKIP() << "cannot compile ru_RU.UTF-8";
  const SystemCalendarLocale russian = Load("ru_RU.UTF-8");
  // The stand-alone form, not the genitive one of a date ("февраля").
  EXPECT_EQ(russian.MonthName(2), u"\u0424\u0435\u0432\u0440\u0430\u043b\u044c");
  EXPECT_EQ(russian.ShortDayName(0), u"\u041f\u043d");
  EXPECT_EQ(russian.Weeks(), (WeekRule{0, 1}));
}

TEST_F(SystemLocale, TheUsersLocaleComesFromTheEnvironment) {
  if (!Compiled("de_DE", "ISO-8859-1") || !Compiled("en_US", "ISO-8859-1"))
    GTEST_SKIP() << "cannot compile de_DE and en_US";
  ::setenv("LANG", "de_DE.ISO-8859-1", 1);
  EXPECT_EQ(Load().MonthName(1), u"Januar");
  ::setenv("LC_TIME", "en_US.ISO-8859-1", 1);
  EXPECT_EQ(Load().MonthName(1), u"January");
  EXPECT_EQ(Load().Weeks(), kUsWeeks);
  ::setenv("LC_ALL", "de_DE.ISO-8859-1", 1);
  EXPECT_EQ(Load().Weeks(), kIsoWeeks);
}

}  // namespace
}  // namespace Halvane_Config
