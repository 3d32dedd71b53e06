// Program-wide data that belongs to the program hosting the configuration classes. The
// classes only read it; a host fills it (empty texts and false until then).
#pragma once

#include <array>
#include <string>

#include "config/DayTypes.h"

namespace Halvane_Config {

// Short names ("Mo") label the schedule's rows and the calendar's dates; full names are
// printed over a row when the host asks for them.
extern std::array<std::u16string, kDayTypeCount> DayTypeShortNames;
extern std::array<std::u16string, kDayTypeCount> DayTypeNames;

// Makes the schedule's Delete remove every period of the row instead of the selected one.
extern bool DeleteAllPeriods;

}  // namespace Halvane_Config
