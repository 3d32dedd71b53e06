#include "config/CalendarLocale.h"

#include <string>
#include <utility>

#include "common/DateTime.h"
#include "common/Text1252.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr int kDaysPerWeek = 7;

long SerialDay(int year, int month, int day) {
  return static_cast<long>(hcp::DateSerial(year, month, day).days);
}

int WeekdayOf(long serialDay) {
  return hcp::WeekdayFromMonday({static_cast<double>(serialDay)});
}

// The serial day on which week 1 of a year starts.
long FirstWeekStart(int year, WeekRule rule) {
  const long january1 = SerialDay(year, 1, 1);
  const int intoWeek = (WeekdayOf(january1) - rule.firstDayOfWeek + kDaysPerWeek) % kDaysPerWeek;
  const long weekStart = january1 - intoWeek;
  return kDaysPerWeek - intoWeek >= rule.minimalDaysInFirstWeek ? weekStart
                                                                : weekStart + kDaysPerWeek;
}

std::shared_ptr<const CalendarLocale>& InstalledLocale() {
  static std::shared_ptr<const CalendarLocale> installed;
  return installed;
}

}  // namespace

std::shared_ptr<const CalendarLocale> CurrentCalendarLocale() {
  if (const auto& installed = InstalledLocale()) return installed;
  static const auto user = std::make_shared<const SystemCalendarLocale>();
  return user;
}

void SetCalendarLocale(std::shared_ptr<const CalendarLocale> locale) {
  InstalledLocale() = std::move(locale);
}

int WeekOfYear(int year, int month, int day, WeekRule rule) {
  const long date = SerialDay(year, month, day);
  const int weekYear = hcp::ToCivilTime({static_cast<double>(date)}).year;
  long start = FirstWeekStart(weekYear, rule);
  if (date < start) {
    start = FirstWeekStart(weekYear - 1, rule);
  } else if (const long next = FirstWeekStart(weekYear + 1, rule); date >= next) {
    start = next;
  }
  return static_cast<int>((date - start) / kDaysPerWeek) + 1;
}

std::u16string MonthTitle(const CalendarLocale& locale, int year, int month) {
  const hcp::CivilTime first = hcp::ToCivilTime(hcp::DateSerial(year, month, 1));
  std::string digits = std::to_string(first.year);
  digits.insert(0, digits.size() < 4 ? 4 - digits.size() : 0, '0');
  return locale.MonthName(first.month) + u" " + hcp::Utf8ToUtf16(digits);
}

}  // namespace Halvane_Config
