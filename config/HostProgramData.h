// Program-wide data that belongs to the program hosting the configuration classes. The
// classes only read it; a host fills it (empty texts and false until then).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "config/DayTypes.h"
#include "config/cHolidayLabel.h"

namespace Halvane_Config {

// Short names ("Mo") label the schedule's rows and the calendar's dates; full names are
// printed over a row when the host asks for them.
extern std::array<std::u16string, kDayTypeCount> DayTypeShortNames;
extern std::array<std::u16string, kDayTypeCount> DayTypeNames;

// Per day number, whether the day is a holiday; and the holidays' names. The calendar shows
// a holiday red when one of its own labels asks for it, and names it in its tooltip.
extern std::array<bool, kCalendarDays> HolidayFlags;
extern std::vector<cHolidayLabel> HolidayLabels;

// Makes the schedule's Delete remove every period of the row instead of the selected one.
extern bool DeleteAllPeriods;

// The receiver types the host program knows; the first ReceiverTypeCount entries are in
// use. Receivers look their type up here by its id.
struct ReceiverTypeEntry {
  std::int16_t typeId = 0;
  std::u16string displayName;
  std::u16string systemCode;
};
inline constexpr int kMaxReceiverTypes = 300;
extern std::array<ReceiverTypeEntry, kMaxReceiverTypes> ReceiverTypeCatalogue;
extern std::int16_t ReceiverTypeCount;

// Makes cProfile::SetName read "@" in a name as the separator of a parent profile.
extern bool NestedProfileNames;

}  // namespace Halvane_Config
