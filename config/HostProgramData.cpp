#include "config/HostProgramData.h"

namespace Halvane_Config {

std::array<std::u16string, kDayTypeCount> DayTypeShortNames;
std::array<std::u16string, kDayTypeCount> DayTypeNames;
std::array<bool, kCalendarDays> HolidayFlags{};
std::vector<cHolidayLabel> HolidayLabels;
bool DeleteAllPeriods = false;

std::array<ReceiverTypeEntry, kMaxReceiverTypes> ReceiverTypeCatalogue;
std::int16_t ReceiverTypeCount = 0;
bool NestedProfileNames = false;

}  // namespace Halvane_Config
