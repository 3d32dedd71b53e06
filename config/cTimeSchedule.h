// The weekly time schedule of a profile: for each of 23 day types the periods of the day
// during which it is in force, with its text form, its disk form and the editing
// operations of the editor's popup menu; and the editor itself, which draws the schedule
// on a host's surface and changes it with the mouse.
//
// Time counts whole minutes from midnight, 0..1440; a period covers start <= minute < stop.
// Periods are objects with identity: the iteration of GetNextTimePeriod and the selected
// period compare the very same object, and the selected period stays valid after it
// left its day type.
//
// Period array text (ComposePeriodArray / ExtractPeriodArray) and disk form (SaveToDisk /
// ReadFromDisk) hold the same sequence of 16-bit values: the text as two characters per
// value (IntegerToChars, high byte first), the disk form as little-endian int16:
//
//   per day type 0..22:  active (0 / -1), grouped (0 / -1), count n,
//                        n x (start minute, stop minute), axis row
//   then once:           use calendar (0 / -1)
//
// so an empty schedule is 186 characters or bytes, plus 4 per period.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/BinaryFile.h"
#include "config/HostProgramData.h"
#include "config/HostWindow.h"
#include "config/PaintSurface.h"

namespace Halvane_Config {

class cTimeSchedulePeriod {
 public:
  std::int16_t m_StartMinute = 0;
  std::int16_t m_StopMinute = 0;
};

using PeriodRef = std::shared_ptr<cTimeSchedulePeriod>;

// The minutes a period covers where minutes index or draw something (the map of
// InvertTimeSchedule, the editor's and the calendar's bars): start and stop clipped to
// 0..1440. A span whose start is not before its stop covers no minute. Everything else
// (merging, GetNextTimePeriod, the text and disk forms) takes the minutes as stored, also
// outside the day, as files written elsewhere may hold them.
struct MinuteSpan {
  int start = 0;
  int stop = 0;
};
MinuteSpan ClippedToDay(const cTimeSchedulePeriod& period);
// Whether the period starts or stops outside 0..1440.
bool IsOutsideTheDay(const cTimeSchedulePeriod& period);

class cTimeSchedule {
 public:
  static constexpr int kMinutesPerDay = 1440;

  // What a drag with the left button does.
  enum class DragMode : std::int16_t {
    Idle = 0,
    MovingStart = 1,
    MovingStop = 2,
    DrawingNew = 3,
  };

  // Where HitTestTimeAxis found a point: a minute (0 or more) and a row, or below zero
  // the reason it found none.
  struct AxisHit {
    static constexpr int kRightOfAxis = -1;
    static constexpr int kLeftOfAxis = -2;
    static constexpr int kOutsideRows = -3;
    int minute = kOutsideRows;
    int row = 0;
  };

  // Monday to Sunday active, nothing grouped, no periods.
  cTimeSchedule();

  // Rows the editor shows; set by RecalculateAndPrepareToPaint.
  std::int16_t m_NumberOfAxisToPaint = 0;
  // The calendar's special day types 7..22 are in use.
  bool m_UseCalendar = false;

  // Day types outside 0..22 raise error 9 and change nothing, here and below.
  //
  // The period after LastTimePeriod (the first for none) of an active day type, with its
  // minutes in StartTime and StopTime; none after the last, for a LastTimePeriod that is
  // not one of the day type's own, and for an inactive day type (the out-arguments are
  // then left alone).
  PeriodRef GetNextTimePeriod(int DayType, std::int16_t& StartTime, std::int16_t& StopTime,
                              const PeriodRef& LastTimePeriod) const;
  void SetActive(int DayType, bool State);
  bool GetActive(int DayType) const;
  bool GetGrouped(int DayType) const;
  std::int16_t GetAxisRow(int DayType) const;
  // The periods of a day type in their order.
  const std::vector<PeriodRef>& GetPeriods(int DayType) const;
  // Appends a new period as it comes (nothing merged) and returns it.
  PeriodRef AddPeriod(int DayType, std::int16_t StartMinute, std::int16_t StopMinute);
  // The day types with a period that starts or stops outside 0..1440, ascending.
  std::vector<int> DayTypesOutsideTheDay() const;

  // Monday to Friday become active and grouped and get one more period 07:00-16:00.
  void SetDefaultPeriod();

  // The whole schedule as a period array text, and back. Extracting replaces one day type
  // after another; a text that ends early (or announces a negative count) raises error 5
  // and leaves the day type it was reading, and those after it, as they were.
  std::u16string ComposePeriodArray() const;
  void ExtractPeriodArray(std::u16string_view PeriodArray);

  // The disk form at the file's current position. Reading replaces one day type after
  // another; a short file raises error 62, a negative count error 321, and the day type
  // being read and those after it stay as they were. Minutes are read as stored.
  void SaveToDisk(Halvane_Common_Procedures::BinaryFile& FileNumber) const;
  void ReadFromDisk(Halvane_Common_Procedures::BinaryFile& FileNumber);
  // The same disk form into and out of bytes, for owners that assemble their own files.
  void PutDiskForm(std::string& out) const;
  void GetDiskForm(Halvane_Common_Procedures::ByteInput& in);

  // Makes the periods of a day type disjoint and non-touching: an earlier-starting period
  // swallows the ones that start inside it or at its end (and their selection).
  void MergePeriods(int DayType);
  // Copies the periods of a grouped day type to every other grouped day type and redraws
  // their rows.
  void CopyToGroupedDayTypes(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject,
                             int DayType);

  // The popup menu's operations. They act on the selected day type (the row last pressed)
  // and do nothing without one; GroupMonFri acts on Monday to Friday.
  void Copy();
  void Paste(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject);
  void Delete(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject);
  void SetTimeFrom00to24(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject);
  void ExtractTimeFromTextboxes(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject);
  void InvertTimeSchedule(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject);
  void Group(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject);
  void GroupMonFri(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject);

  const PeriodRef& GetSelectedPeriod() const { return m_SelectedPeriod; }
  std::int32_t GetSelectedDayType() const { return m_SelectedDayType; }
  std::int32_t GetCopiedDayType() const { return m_CopiedDayType; }
  DragMode GetDragMode() const { return m_DragMode; }

  // The editor. Geometry: minute m at x = 30 + m * m_Scale / 5 (00:00 at 30, 24:00 at
  // 318), row r's bar from y = r * 25 + 4 to r * 25 + 18, its label left of x = 30.
  //
  // Lays out rows, scroll bar and surface; sets the host's surface when it has none.
  void RecalculateAndPrepareToPaint(HostWindow& m_ParentContainer, PaintSurface*& HostSurface,
                                    PaintSurface* SchedulePaintObject);
  // Draws the grid and every active row; nothing without a surface.
  void Paint(HostWindow& m_ParentContainer, PaintSurface* m_SchedulePaintObject);
  // The minute and row under a point (and the minute shown in the host's time text).
  AxisHit HitTestTimeAxis(HostWindow& m_ParentContainer, double x, double y);
  void MouseDown(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject,
                 std::int16_t Button, std::int16_t Shift, double x, double y);
  void MouseMove(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject,
                 std::int16_t Button, std::int16_t Shift, double x, double y);
  void MouseUp(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject,
               std::int16_t Button, std::int16_t Shift, double x, double y);

 private:
  // The values of the text and disk forms, in their order.
  std::vector<std::int16_t> Values() const;
  // Reads those values from a source of the text or disk form, one day type at a time.
  template <typename Source>
  void ReadValues(Source& source);
  void ReplacePeriods(int DayType, const std::vector<PeriodRef>& source);
  void SetSelectedPeriodTexts(HostWindow& m_ParentContainer, const PeriodRef& period);
  // The row's day type: the row-th active one, or -1.
  int DayTypeOfRow(int row) const;
  void PaintAxis(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject, int DayType);

  std::array<bool, kDayTypeCount> m_Active{};
  std::array<bool, kDayTypeCount> m_Grouped{};
  std::array<std::vector<PeriodRef>, kDayTypeCount> m_Periods;
  std::array<std::int16_t, kDayTypeCount> m_AxisRow{};

  float m_Scale = 1.0f;
  PeriodRef m_SelectedPeriod;
  std::int32_t m_SelectedDayType = -1;
  std::int32_t m_CopiedDayType = -1;
  PeriodRef m_DraggedPeriod;
  std::int32_t m_DragDayType = 0;
  std::int32_t m_AnchorMinute = 0;
  DragMode m_DragMode = DragMode::Idle;
};

// Minutes as a time text "hh:mm" (1440 is "24:00").
std::u16string MinutesToTimeText(int minutes);

}  // namespace Halvane_Config
