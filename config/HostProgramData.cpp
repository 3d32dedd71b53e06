#include "config/HostProgramData.h"

namespace Halvane_Config {

std::array<std::u16string, kDayTypeCount> DayTypeShortNames;
std::array<std::u16string, kDayTypeCount> DayTypeNames;
bool DeleteAllPeriods = false;

}  // namespace Halvane_Config
