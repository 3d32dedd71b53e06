// Where the schedule editor draws, in its surface's units at scale 1: minute m of a day at
// x = kAxisLeft + m / kMinutesPerUnit (an hour is kHourUnits wide), row r from
// y = r * kRowHeight with its bar kBarLines high from kBarTop below the row's top. Hosts
// that draw beside the editor (a ruler, marks, the keyboard's pointer) take these, so that
// they stay where the editor draws.
#pragma once

namespace Halvane_Config::ScheduleGeometry {

inline constexpr int kAxisLeft = 30;
inline constexpr int kMinutesPerUnit = 5;
inline constexpr int kHourUnits = 60 / kMinutesPerUnit;
inline constexpr int kHours = 24;
inline constexpr int kAxisRight = kAxisLeft + kHours * kHourUnits;
inline constexpr int kRowHeight = 25;
inline constexpr int kBarTop = 4;
inline constexpr int kBarLines = 15;
inline constexpr int kVisibleRows = 7;
inline constexpr int kScrollStepsPerRow = 4;

}  // namespace Halvane_Config::ScheduleGeometry
