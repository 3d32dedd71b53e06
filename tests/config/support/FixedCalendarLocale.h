// A calendar locale with English names and a chosen week rule, for drawings that compare
// against golden lists whatever the machine's locale is.
#pragma once

#include <string>

#include "config/CalendarLocale.h"

namespace Halvane_Config {

class FixedCalendarLocale : public CalendarLocale {
 public:
  explicit FixedCalendarLocale(WeekRule weeks = kIsoWeeks) : weeks_(weeks) {}

  std::u16string MonthName(int month) const override {
    static const char16_t* const kMonths[] = {u"January",   u"February", u"March",    u"April",
                                              u"May",       u"June",     u"July",     u"August",
                                              u"September", u"October",  u"November", u"December"};
    return kMonths[month - 1];
  }
  std::u16string ShortDayName(int weekday) const override {
    static const char16_t* const kDays[] = {u"Mon", u"Tue", u"Wed", u"Thu", u"Fri", u"Sat", u"Sun"};
    return kDays[weekday];
  }
  WeekRule Weeks() const override { return weeks_; }

 private:
  WeekRule weeks_;
};

}  // namespace Halvane_Config
