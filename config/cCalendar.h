// The calendar of day types: for every date from 1 January 2000 (day number 0) to
// 31 December 2039 (day number 14609) a value that tells the time schedules how to treat
// the date, its file, and its month view on a host's surface, on which the user paints
// day types onto dates with the mouse.
//
// Day-type values:
//   0        an ordinary day: its weekday's schedule
//   1 .. 7   day type value - 1 (Monday .. Sunday) where the schedule has it active; shown
//            as that weekday's short name
//   8 .. 23  special day type value - 1 (7 .. 22) where active; shown as host image
//            value - 7 (1 .. 16)
// Other values (only a file can hold them) are kept as they are and count as ordinary days.
//
// Calendar file: exactly the 14,610 values in day-number order, each a little-endian
// int16, no header: 29,220 bytes.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/BinaryCodec.h"
#include "config/HostProgramData.h"
#include "config/HostWindow.h"
#include "config/PaintSurface.h"
#include "config/cHolidayLabel.h"
#include "config/cTimeSchedule.h"

namespace Halvane_Config {

class cCalendar {
 public:
  static constexpr std::size_t kDiskFormBytes = 2 * kCalendarDays;
  static constexpr std::int16_t kLastDayTypeValue = 23;

  // The day number of a date (month and day roll over like DateSerial); it may lie outside
  // the calendar.
  static std::int32_t DayNumber(int year, int month, int day);

  // The month shown (1..12) and its year, set by the host before RecalculateAndPrepareToPaint.
  std::int32_t m_SelectedMonth = 1;
  std::int32_t m_SelectedYear = 2000;
  // Derived from them by RecalculateAndPrepareToPaint: the day number of the 1st, its
  // weekday (0 = Monday), the number of days, and today's day number.
  std::int32_t m_ActualMonthOffset = 0;
  std::int32_t m_FirstWeekDayInActualMonth = 0;
  std::int32_t m_DaysInActualMonth = 0;
  std::int32_t m_TodaysDayOffset = 0;
  // Each date box shows the associated schedule's periods of the date as a bar. The
  // schedule belongs to the host, which keeps it alive while it is associated.
  bool m_ShowTimeAxis = false;
  const cTimeSchedule* m_AssociatedTimeSchedule = nullptr;

  // Day numbers outside 0..14609 raise error 9.
  void SetDayType(std::int32_t TheDay, std::int16_t DayType);
  std::int16_t GetDayType(std::int32_t TheDay) const;
  // Whether a schedule day type 0..22 is in use by some date. Nothing keeps track of that,
  // so the answer is always false; other day types raise error 9.
  bool IsDayTypeUsed(int DayType) const;

  // The calendar file. ReadFromDisk answers false for a missing file and changes nothing;
  // a file that is not a calendar's 29,220 bytes raises error 62 (shorter) or 321 (longer)
  // and changes nothing; errors of the file itself (53, 70, 75, ...) pass to the caller.
  bool ReadFromDisk(std::u16string_view CalendarName);
  // Writes beside the file and then renames over it, so a save that breaks off leaves the
  // previous file as it was (and raises the error). Always true when it returns.
  bool SaveToDisk(std::u16string_view CalendarName) const;
  // Whether the file holds exactly this calendar's values: false for a missing file and
  // for a file of another length; errors of the file itself pass to the caller.
  bool CompareToDisk(std::u16string_view CalendarName) const;
  bool CompareToOtherCalendar(const cCalendar& OtherCalendar) const;

  // The file's bytes, for owners and tools that hold them elsewhere. Reading takes all the
  // remaining input, with the same errors as ReadFromDisk, and changes nothing on failure.
  void PutDiskForm(std::string& out) const;
  void GetDiskForm(Halvane_Common_Procedures::ByteInput& in);

  // The month view. A grid of 7 columns (Monday first) of 40 and 6 rows of 25 from
  // (30, 20); the box of day d of the month lies in cell m_FirstWeekDayInActualMonth + d,
  // at (column * 40 + 32, row * 25 + 22), 37 x 22.
  //
  // Derives the month fields from m_SelectedYear and m_SelectedMonth and today's date; the
  // host calls it, then Paint, whenever the month or the schedule changes.
  void RecalculateAndPrepareToPaint();
  // Draws the whole month over what the surface shows, and sets the host's month title.
  // A month outside 2000..2039 raises error 9.
  void Paint(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject);
  // Draws the box of one day of the month, 0-based; other days raise error 9.
  void PaintDateBox(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject,
                    std::int32_t DateToPaintInActualMonth);
  // The 0-based day of the month whose cell holds a point, or -1 (grid lines, outside the
  // grid, cells before the 1st and after the last day).
  std::int32_t DateFromPoint(double x, double y) const;

  // Painting: a press stores the value chosen in the host's day-type list on the date under
  // the mouse, and a move with the button held stores it on each further date it reaches;
  // each date changed is redrawn at once. A move also sets the tooltip to the date's day
  // type and holiday. MouseMove never raises; the other two pass the host's errors on.
  void MouseDown(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject,
                 std::int16_t Button, std::int16_t Shift, double x, double y);
  void MouseMove(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject,
                 std::int16_t Button, std::int16_t Shift, double x, double y);
  void MouseUp(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject,
               std::int16_t Button, std::int16_t Shift, double x, double y);

  std::int16_t GetPaintingDayType() const { return m_PaintingDayType; }

 private:
  static void RequireDay(std::int32_t TheDay);
  // Red: a Sunday, or a holiday one of whose own labels is to be shown in the calendar.
  static bool IsRedHoliday(std::int32_t TheDay);
  void PaintTimeBar(PaintSurface& surface, double X, double Y, int weekday, std::int16_t value);
  // The tooltip of a date: its day type's name from the host's list, then the name of its
  // holiday in brackets. Parts that fail are left out.
  std::u16string ToolTipOf(HostWindow& m_ParentContainer, std::int32_t TheDay) const;

  std::array<std::int16_t, kCalendarDays> m_DayTypes{};
  std::int16_t m_MouseButton = 0;
  std::int16_t m_PaintingDayType = -1;
  std::int32_t m_LastDayUnderMouse = -1;
};

}  // namespace Halvane_Config
