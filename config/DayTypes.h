// Day types 0..22: Monday..Sunday (0..6), then the 16 special day types that the calendar
// assigns to dates (7..22).
#pragma once

namespace Halvane_Config {

inline constexpr int kDayTypeCount = 23;
inline constexpr int kWeekDayTypes = 7;  // Monday..Sunday
inline constexpr int kWorkDayTypes = 5;  // Monday..Friday

}  // namespace Halvane_Config
