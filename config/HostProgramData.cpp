#include "config/HostProgramData.h"

namespace Halvane_Config {

std::array<std::u16string, kDayTypeCount> DayTypeShortNames;
std::array<std::u16string, kDayTypeCount> DayTypeNames;
std::array<bool, kCalendarDays> HolidayFlags{};
std::vector<cHolidayLabel> HolidayLabels;
bool DeleteAllPeriods = false;

}  // namespace Halvane_Config
