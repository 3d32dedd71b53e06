// Date-times as the family stores them: a double counting days since 30 December 1899
// (the zero date), the time of day as the fraction. Before the zero date the whole part
// counts backwards while the fraction still counts forward from midnight, so -1.25 is
// 29 December 1899, 06:00. Conversions work in the local time zone; "now" comes from a
// clock that tests and hosts can replace.
#pragma once

#include <chrono>
#include <compare>
#include <functional>

namespace Halvane_Common_Procedures {

struct DateTime {
  double days = 0;

  friend auto operator<=>(const DateTime&, const DateTime&) = default;
};

// A date and time of day as people read them. Month 1..12, day 1..31, hour 0..23.
struct CivilTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  friend bool operator==(const CivilTime&, const CivilTime&) = default;
};

// The first and last day the family's programs can hold: 1 January 100 and
// 31 December 9999.
inline constexpr double kFirstDay = -657434;
inline constexpr double kLastDay = 2958465;

// The date of a year, month and day, at midnight. Months and days outside their range roll
// over: month 13 is January of the next year, day 0 the last day of the month before.
// A result outside years 100..9999 raises error 6.
DateTime DateSerial(int year, int month, int day);

// The date-time of a civil date and time (rolling over like DateSerial).
DateTime ToDateTime(const CivilTime& time);

// The civil date and time of a date-time, to the nearest second. Raises error 6 outside
// years 100..9999 (and for NaN).
CivilTime ToCivilTime(DateTime time);

// The day of the week, 0 = Monday .. 6 = Sunday.
int WeekdayFromMonday(DateTime time);

// Local date-times and points of the system clock, both ways.
DateTime FromTimePoint(std::chrono::system_clock::time_point point);
std::chrono::system_clock::time_point ToTimePoint(DateTime time);

// Where Now takes the time from. An empty clock restores the system clock.
using Clock = std::function<std::chrono::system_clock::time_point()>;
void SetClock(Clock clock);

// The current local date and time, in whole seconds.
DateTime Now();

}  // namespace Halvane_Common_Procedures
