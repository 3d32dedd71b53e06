#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <limits>

#include "ErrorNumber.h"
#include "common/DateTime.h"
#include "common/RuntimeError.h"

namespace hcp = Halvane_Common_Procedures;

namespace {

int CivilTimeError(double days) {
  return ErrorNumberOf([days] { hcp::ToCivilTime({days}); });
}

}  // namespace

TEST(DateTime, CountsDaysFromTheZeroDate) {
  EXPECT_EQ(hcp::DateSerial(1899, 12, 30).days, 0);
  EXPECT_EQ(hcp::DateSerial(2000, 1, 1).days, 36526);
  EXPECT_EQ(hcp::DateSerial(1900, 3, 1).days, 61);
  EXPECT_EQ(hcp::DateSerial(100, 1, 1).days, hcp::kFirstDay);
  EXPECT_EQ(hcp::DateSerial(9999, 12, 31).days, hcp::kLastDay);
  EXPECT_EQ(hcp::ToDateTime({2000, 1, 1, 6, 0, 0}).days, 36526.25);
  // Before the zero date the fraction still counts forward from midnight.
  EXPECT_EQ(hcp::ToDateTime({1899, 12, 29, 6, 0, 0}).days, -1.25);
  EXPECT_EQ(hcp::ToCivilTime({-1.25}), (hcp::CivilTime{1899, 12, 29, 6, 0, 0}));
  EXPECT_EQ(hcp::ToCivilTime({-1.75}), (hcp::CivilTime{1899, 12, 29, 18, 0, 0}));
}

TEST(DateTime, RollsMonthsAndDaysOver) {
  EXPECT_EQ(hcp::DateSerial(2039, 13, 1), hcp::DateSerial(2040, 1, 1));
  EXPECT_EQ(hcp::DateSerial(2000, 3, 0), hcp::DateSerial(2000, 2, 29));
  EXPECT_EQ(hcp::DateSerial(2000, 0, 1), hcp::DateSerial(1999, 12, 1));
  EXPECT_EQ(hcp::ToDateTime({2000, 1, 1, 25, 0, 0}), hcp::ToDateTime({2000, 1, 2, 1, 0, 0}));
}

TEST(DateTime, EveryDayAndSecondSurvivesARoundTrip) {
  for (double day = -800; day < 80000; day += 7.0) {
    for (int second : {0, 1, 43199, 43200, 86399}) {
      const hcp::CivilTime civil = hcp::ToCivilTime({day});
      hcp::CivilTime withTime = civil;
      withTime.hour = second / 3600, withTime.minute = second / 60 % 60;
      withTime.second = second % 60;
      ASSERT_EQ(hcp::ToCivilTime(hcp::ToDateTime(withTime)), withTime);
    }
  }
  // To the nearest second, rolling into the next day.
  EXPECT_EQ(hcp::ToCivilTime({36526.9999999}), (hcp::CivilTime{2000, 1, 2, 0, 0, 0}));
  EXPECT_EQ(hcp::ToCivilTime({-1.9999999}), (hcp::CivilTime{1899, 12, 28, 0, 0, 0}));
}

TEST(DateTime, KnowsTheWeekday) {
  EXPECT_EQ(hcp::WeekdayFromMonday(hcp::DateSerial(2000, 1, 1)), 5);  // Saturday
  EXPECT_EQ(hcp::WeekdayFromMonday(hcp::DateSerial(2000, 2, 1)), 1);  // Tuesday
  EXPECT_EQ(hcp::WeekdayFromMonday(hcp::DateSerial(1899, 12, 25)), 0);
  EXPECT_EQ(hcp::WeekdayFromMonday({-1.5}), 4);  // Friday 29 December 1899
}

TEST(DateTime, RefusesDatesOutsideTheFamilysRange) {
  EXPECT_EQ(CivilTimeError(hcp::kLastDay + 1), hcp::kOverflow);
  EXPECT_EQ(CivilTimeError(hcp::kFirstDay - 1), hcp::kOverflow);
  EXPECT_EQ(CivilTimeError(std::numeric_limits<double>::quiet_NaN()), hcp::kOverflow);
  EXPECT_EQ(CivilTimeError(1e300), hcp::kOverflow);
  EXPECT_THROW(hcp::DateSerial(10000, 1, 1), hcp::RuntimeError);
  EXPECT_THROW(hcp::DateSerial(99, 12, 31), hcp::RuntimeError);
}

TEST(DateTime, NowIsTheLocalTimeOfTheInstalledClock) {
  ::setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
  ::tzset();
  // 2015-05-05 10:55:54.700 UTC is 12:55:54 summer time in Central Europe.
  const auto instant =
      std::chrono::system_clock::from_time_t(1430823354) + std::chrono::milliseconds(700);
  hcp::SetClock([instant] { return instant; });
  EXPECT_EQ(hcp::ToCivilTime(hcp::Now()), (hcp::CivilTime{2015, 5, 5, 12, 55, 54}));
  EXPECT_EQ(hcp::ToTimePoint(hcp::Now()), std::chrono::system_clock::from_time_t(1430823354));
  hcp::SetClock({});
  const hcp::DateTime now = hcp::Now();
  EXPECT_GT(now.days, hcp::DateSerial(2020, 1, 1).days);
  EXPECT_EQ(hcp::FromTimePoint(hcp::ToTimePoint(now)), now);
  ::unsetenv("TZ");
  ::tzset();
}
