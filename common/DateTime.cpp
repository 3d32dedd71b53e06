#include "common/DateTime.h"

#include <cmath>
#include <ctime>
#include <utility>

#include "common/RuntimeError.h"

namespace Halvane_Common_Procedures {
namespace {

using Days = long long;

constexpr Days kSecondsPerDay = 86400;

// Days from 1 January 1970 of a proleptic Gregorian date (H. Hinnant's algorithm).
constexpr Days DaysFromCivil(Days y, unsigned m, unsigned d) {
  y -= m <= 2;
  const Days era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<Days>(doe) - 719468;
}

struct YearMonthDay {
  Days year;
  unsigned month;
  unsigned day;
};

constexpr YearMonthDay CivilFromDays(Days z) {
  z += 719468;
  const Days era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  const unsigned d = doy - (153 * mp + 2) / 5 + 1;
  const unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<Days>(yoe) + era * 400 + (m <= 2), m, d};
}

// The zero date, 30 December 1899, counted from 1 January 1970.
constexpr Days kZeroDate = DaysFromCivil(1899, 12, 30);
static_assert(kZeroDate == -25569);

Days FloorDiv(Days a, Days b) {
  return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

// Joins a whole day and the seconds since its midnight into the stored form.
DateTime Join(Days serialDay, Days secondsOfDay) {
  serialDay += FloorDiv(secondsOfDay, kSecondsPerDay);
  secondsOfDay -= FloorDiv(secondsOfDay, kSecondsPerDay) * kSecondsPerDay;
  if (serialDay < kFirstDay || serialDay > kLastDay) throw RuntimeError(kOverflow);
  const double fraction = static_cast<double>(secondsOfDay) / kSecondsPerDay;
  return {serialDay < 0 ? serialDay - fraction : serialDay + fraction};
}

// Splits the stored form into a whole day and seconds since its midnight (rounded).
std::pair<Days, Days> Split(DateTime time) {
  if (!(time.days >= kFirstDay && time.days < kLastDay + 1)) throw RuntimeError(kOverflow);
  Days day = static_cast<Days>(std::trunc(time.days));
  Days seconds = std::llround(std::fabs(time.days - static_cast<double>(day)) * kSecondsPerDay);
  if (seconds == kSecondsPerDay) {
    day += time.days < 0 ? -1 : 1;
    seconds = 0;
  }
  return {day, seconds};
}

Clock& CurrentClock() {
  static Clock clock;
  return clock;
}

}  // namespace

DateTime DateSerial(int year, int month, int day) {
  const Days monthIndex = static_cast<Days>(year) * 12 + (month - 1);
  const Days y = FloorDiv(monthIndex, 12);
  const auto m = static_cast<unsigned>(monthIndex - y * 12 + 1);
  if (y < 0 || y > 10000) throw RuntimeError(kOverflow);
  return Join(DaysFromCivil(y, m, 1) - kZeroDate + (day - 1), 0);
}

DateTime ToDateTime(const CivilTime& time) {
  const DateTime date = DateSerial(time.year, time.month, time.day);
  return Join(static_cast<Days>(date.days), static_cast<Days>(time.hour) * 3600 +
                                                static_cast<Days>(time.minute) * 60 + time.second);
}

CivilTime ToCivilTime(DateTime time) {
  const auto [day, seconds] = Split(time);
  const YearMonthDay date = CivilFromDays(day + kZeroDate);
  return {static_cast<int>(date.year),         static_cast<int>(date.month),
          static_cast<int>(date.day),          static_cast<int>(seconds / 3600),
          static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60)};
}

int WeekdayFromMonday(DateTime time) {
  // The zero date was a Saturday.
  const Days day = Split(time).first;
  return static_cast<int>(((day + 5) % 7 + 7) % 7);
}

DateTime FromTimePoint(std::chrono::system_clock::time_point point) {
  const std::time_t seconds =
      std::chrono::system_clock::to_time_t(std::chrono::floor<std::chrono::seconds>(point));
  std::tm local{};
  if (::localtime_r(&seconds, &local) == nullptr) throw RuntimeError(kOverflow);
  return ToDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                     local.tm_min, local.tm_sec});
}

std::chrono::system_clock::time_point ToTimePoint(DateTime time) {
  const CivilTime civil = ToCivilTime(time);
  std::tm local{};
  local.tm_year = civil.year - 1900;
  local.tm_mon = civil.month - 1;
  local.tm_mday = civil.day;
  local.tm_hour = civil.hour;
  local.tm_min = civil.minute;
  local.tm_sec = civil.second;
  local.tm_isdst = -1;
  const std::time_t seconds = std::mktime(&local);
  return std::chrono::system_clock::from_time_t(seconds);
}

void SetClock(Clock clock) {
  CurrentClock() = std::move(clock);
}

DateTime Now() {
  const Clock& clock = CurrentClock();
  return FromTimePoint(clock ? clock() : std::chrono::system_clock::now());
}

}  // namespace Halvane_Common_Procedures
