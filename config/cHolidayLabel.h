// Day numbers count the days from 1 January 2000 (day 0); the calendar holds a day type
// for each of them up to 31 December 2039 (day 14609). A holiday label names one of them.
#pragma once

#include <cstdint>
#include <string>

namespace Halvane_Config {

inline constexpr std::int32_t kCalendarDays = 14610;

class cHolidayLabel {
 public:
  // The day number of the holiday.
  std::int16_t m_Day = 0;
  // Its day type; the calendar does not read it.
  std::int16_t m_DayType = 0;
  // Show the holiday as a red day.
  bool m_ViewInCalendar = false;
  // The name of the holiday.
  std::u16string m_Label;
};

}  // namespace Halvane_Config
