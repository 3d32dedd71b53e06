// What the calendar takes from the user's language and regional settings: the month names
// of its title, short weekday names, and the rule by which the weeks of a year are
// numbered. By default they come from the C library's locale of the user (LC_ALL, LC_TIME,
// LANG); a host or a test installs its own with SetCalendarLocale.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace Halvane_Config {

// Week 1 of a year is the first week that has at least minimalDaysInFirstWeek of its days
// in that year: 1 makes it the week of 1 January, 4 the week of the first Thursday (with
// Monday first), 7 the first full week.
struct WeekRule {
  int firstDayOfWeek = 0;  // 0 = Monday .. 6 = Sunday
  int minimalDaysInFirstWeek = 4;

  friend bool operator==(const WeekRule&, const WeekRule&) = default;
};

inline constexpr WeekRule kIsoWeeks{0, 4};
inline constexpr WeekRule kUsWeeks{6, 1};

class CalendarLocale {
 public:
  virtual ~CalendarLocale() = default;

  // The full name of a month 1..12 as it stands alone in a title ("February").
  virtual std::u16string MonthName(int month) const = 0;
  // The abbreviated name of a weekday, 0 = Monday .. 6 = Sunday ("Mon").
  virtual std::u16string ShortDayName(int weekday) const = 0;
  virtual WeekRule Weeks() const = 0;
};

// The settings of a C library locale. An empty name means the user's: LC_ALL, else
// LC_TIME, else LANG. The C and POSIX locales, which stand for no choice of the user,
// number weeks by ISO 8601; a locale that cannot be loaded counts as the C locale.
class SystemCalendarLocale final : public CalendarLocale {
 public:
  explicit SystemCalendarLocale(std::string_view localeName = {});

  std::u16string MonthName(int month) const override;
  std::u16string ShortDayName(int weekday) const override;
  WeekRule Weeks() const override { return weeks_; }

 private:
  std::u16string months_[12];
  std::u16string weekdays_[7];
  WeekRule weeks_ = kIsoWeeks;
};

// The locale the calendar draws with. An empty one restores the user's.
std::shared_ptr<const CalendarLocale> CurrentCalendarLocale();
void SetCalendarLocale(std::shared_ptr<const CalendarLocale> locale);

// The week of the year of a date (month and day roll over like DateSerial). A week has one
// number: days before week 1 belong to the last week of the year before, and the days of
// December in the next year's week 1 belong to it.
int WeekOfYear(int year, int month, int day, WeekRule rule);

// A month as its title: the full month name and the four-digit year ("February 2000").
// The month rolls over like DateSerial.
std::u16string MonthTitle(const CalendarLocale& locale, int year, int month);

}  // namespace Halvane_Config
