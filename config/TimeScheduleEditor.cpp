// The editor half of cTimeSchedule: layout, drawing, hit testing and the mouse.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "common/Halvane_Common_Procedures.h"
#include "config/ScheduleGeometry.h"
#include "config/cTimeSchedule.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

namespace geometry = ScheduleGeometry;

constexpr double kAxisLeft = geometry::kAxisLeft;  // x of 00:00
constexpr double kAxisWidth = geometry::kAxisRight - geometry::kAxisLeft;
constexpr double kHourWidth = geometry::kHourUnits;
constexpr int kHours = geometry::kHours;
constexpr double kMinutesPerStep = geometry::kMinutesPerUnit;  // m_Scale is pixels per step
constexpr double kRowHeight = geometry::kRowHeight;
constexpr double kBarTop = geometry::kBarTop;  // of a row's bar, below the row's top
constexpr int kBarLines = geometry::kBarLines;
constexpr double kLabelGap = 2;  // between a row's short name and the axis
constexpr double kImageGap = 4;  // between a row's image and the axis
constexpr int kVisibleRows = geometry::kVisibleRows;
constexpr int kScrollStepsPerRow = geometry::kScrollStepsPerRow;
constexpr int kEdgeGrabMinutes = 15;  // a press closer than this to an end grabs it
constexpr int kDrawStartMinutes = 6;  // movement before a new period appears

constexpr Colour kHourLine = Rgb(148, 148, 148);
constexpr int kBackgroundGrey = 220;
constexpr int kBackgroundStep = 7;  // 100 / 15, rounded
constexpr int kBarGreen = 240;
constexpr int kBarStep = 7;  // 108 / 15, rounded
constexpr int kSelectedDarker = 64;
constexpr int kGroupMarkSize = 5;  // a corner of 5 lines, 5 pixels down to 1 long
constexpr int kGroupMarkGreys[kGroupMarkSize] = {255, 245, 235, 225, 205};

Variant Flag16(bool value) {
  return static_cast<std::int16_t>(value ? -1 : 0);
}

Variant Flag32(bool value) {
  return static_cast<std::int32_t>(value ? -1 : 0);
}

}  // namespace

std::u16string MinutesToTimeText(int minutes) {
  std::u16string text;
  const auto twoDigits = [&text](int value) {
    const std::string digits = std::to_string(value);
    if (digits.size() < 2) text += u'0';
    text.append(digits.begin(), digits.end());
  };
  twoDigits(minutes / 60);
  text += u':';
  twoDigits(minutes % 60);
  return text;
}

void cTimeSchedule::SetSelectedPeriodTexts(HostWindow& m_ParentContainer, const PeriodRef& period) {
  const std::u16string start = period ? MinutesToTimeText(period->m_StartMinute) : u"";
  const std::u16string stop = period ? MinutesToTimeText(period->m_StopMinute) : u"";
  CallHost(m_ParentContainer, HostOperation::Set_Text_Schedule_Period_Start, {start});
  CallHost(m_ParentContainer, HostOperation::Set_Text_Schedule_Period_Stop, {stop});
}

int cTimeSchedule::DayTypeOfRow(int row) const {
  for (int d = 0; d < kDayTypeCount; ++d) {
    if (m_Active[d] && row-- == 0) return d;
  }
  return -1;
}

void cTimeSchedule::RecalculateAndPrepareToPaint(HostWindow& m_ParentContainer,
                                                 PaintSurface*& HostSurface,
                                                 PaintSurface* SchedulePaintObject) {
  if (HostSurface == nullptr) HostSurface = SchedulePaintObject;

  CallHost(m_ParentContainer, HostOperation::Set_VScroll_Schedule_Top, {std::int16_t{0}});
  const double frameWidth = hcp::ToDouble(
      CallHost(m_ParentContainer, HostOperation::Get_Picture_TimeSchedule_Frame_ScaleWidth));
  const double scrollWidth =
      hcp::ToDouble(CallHost(m_ParentContainer, HostOperation::Get_VScroll_Schedule_Width));
  CallHost(m_ParentContainer, HostOperation::Set_VScroll_Schedule_Left, {frameWidth - scrollWidth});
  CallHost(
      m_ParentContainer, HostOperation::Set_VScroll_Schedule_Height,
      {CallHost(m_ParentContainer, HostOperation::Get_Picture_TimeSchedule_Frame_ScaleHeight)});

  m_NumberOfAxisToPaint =
      m_UseCalendar ? static_cast<std::int16_t>(std::count(m_Active.begin(), m_Active.end(), true))
                    : kVisibleRows;
  // Fewer rows than fit need no scrolling, rather than a negative range.
  const int hiddenRows = std::max(m_NumberOfAxisToPaint - kVisibleRows, 0);
  CallHost(m_ParentContainer, HostOperation::Set_VScroll_Schedule_Max,
           {static_cast<std::int16_t>(hiddenRows * kScrollStepsPerRow)});

  m_Scale = 1.0f;
  CallHost(m_ParentContainer, HostOperation::Set_Picture_TimeSchedule_Left, {std::int16_t{0}});
  CallHost(m_ParentContainer, HostOperation::Set_Picture_TimeSchedule_Top, {std::int16_t{0}});
  CallHost(m_ParentContainer, HostOperation::Set_Picture_TimeSchedule_Width,
           {CallHost(m_ParentContainer, HostOperation::Get_VScroll_Schedule_Left)});
  CallHost(m_ParentContainer, HostOperation::Set_Picture_TimeSchedule_Height,
           {static_cast<std::int32_t>(m_NumberOfAxisToPaint * kRowHeight + kBarTop)});

  std::int16_t row = 0;
  for (int d = 0; d < kDayTypeCount; ++d) {
    m_AxisRow[d] = row;
    if (m_Active[d]) ++row;
  }
}

void cTimeSchedule::Paint(HostWindow& m_ParentContainer, PaintSurface* m_SchedulePaintObject) {
  if (m_SchedulePaintObject == nullptr) return;
  PaintSurface& surface = *m_SchedulePaintObject;
  for (int h = 0; h <= kHours; ++h) {
    surface.LineStep(kAxisLeft + kHourWidth * h, 0, 0, m_NumberOfAxisToPaint * kRowHeight,
                     kHourLine);
  }
  for (int r = 0; r < m_NumberOfAxisToPaint; ++r) {
    // A black line at the foot of the row and a white one below it.
    surface.LineStep(kAxisLeft, (r + 1) * kRowHeight - 1, kAxisWidth, 0, kBlack);
    surface.LineStep(kAxisLeft, (r + 1) * kRowHeight, kAxisWidth, 0, kWhite);
  }
  for (int d = 0; d < kDayTypeCount; ++d) {
    if (m_Active[d]) PaintAxis(m_ParentContainer, surface, d);
  }
}

void cTimeSchedule::PaintAxis(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject,
                              int DayType) {
  // An inactive day type has no row of its own; its axis row is the next one's.
  if (!m_Active[DayType]) return;
  PaintSurface& surface = m_SchedulePaintObject;
  const double rowTop = m_AxisRow[DayType] * kRowHeight;
  const double y0 = rowTop + kBarTop;
  const double h = hcp::RoundHalfEven(surface.TextHeight(u"8"));
  const double axisRight = kAxisLeft + kAxisWidth;

  surface.LineStep(axisRight, rowTop, 0, kRowHeight, kHourLine);
  for (int i = 0; i < kBarLines; ++i)
    surface.Line(kAxisLeft, y0 + i, axisRight, y0 + i, Grey(kBackgroundGrey - kBackgroundStep * i));

  for (const PeriodRef& period : m_Periods[DayType]) {
    // A period that ends before it starts covers nothing; one that starts where it ends
    // keeps its thin bar, so that the user sees it.
    const MinuteSpan span = ClippedToDay(*period);
    if (span.stop < span.start) continue;
    const int darker = period == m_SelectedPeriod ? kSelectedDarker : 0;
    const double xs = kAxisLeft + hcp::RoundHalfEven(span.start * m_Scale / kMinutesPerStep);
    const double xe = kAxisLeft + hcp::RoundHalfEven((span.stop + 1) * m_Scale / kMinutesPerStep);
    for (int j = 0; j < kBarLines; ++j)
      surface.Line(xs, y0 + j, xe, y0 + j, Rgb(0, kBarGreen - kBarStep * j - darker, 0));
    surface.LineStep(xs, y0, 0, kBarLines, kBlack);
    surface.LineStep(xe, y0, 0, kBarLines, kBlack);
  }

  const double textY = y0 + (kBarLines - h) / 2;
  if (DayType < kWeekDayTypes) {
    const std::u16string& name = DayTypeShortNames[DayType];
    surface.SetCurrentX(kAxisLeft - surface.TextWidth(name) - kLabelGap);
    surface.SetCurrentY(textY);
    surface.Print(name);
  } else {
    const double imageWidth =
        hcp::ToDouble(CallHost(m_ParentContainer, HostOperation::Get_ImageList_ImageWidth));
    const double imageHeight =
        hcp::ToDouble(CallHost(m_ParentContainer, HostOperation::Get_ImageList_ImageHeight));
    CallHost(m_ParentContainer, HostOperation::Draw_ImageList_ListImages,
             {static_cast<std::int16_t>(DayType - kWeekDayTypes + 1), surface.DeviceContext(),
              kAxisLeft - imageWidth - kImageGap, y0 + (kBarLines - imageHeight) / 2});
  }

  if (hcp::ToBoolean(
          CallHost(m_ParentContainer, HostOperation::Get_Check_TimeSchedule_ViewDayType))) {
    const std::u16string& name = DayTypeNames[DayType];
    surface.SetCurrentX((kAxisWidth - surface.TextWidth(name)) / 2 + kAxisLeft);
    surface.SetCurrentY(textY);
    surface.Print(name);
  }

  if (m_Grouped[DayType]) {
    for (int k = 0; k < kGroupMarkSize; ++k)
      surface.LineStep(axisRight - 1, y0 + k, -(kGroupMarkSize - k), 0, Grey(kGroupMarkGreys[k]));
  }
}

cTimeSchedule::AxisHit cTimeSchedule::HitTestTimeAxis(HostWindow& m_ParentContainer, double x,
                                                      double y) {
  AxisHit hit;
  if (y >= m_NumberOfAxisToPaint * kRowHeight || y <= kBarTop) {
    hit.minute = AxisHit::kOutsideRows;
  } else if (x < kAxisLeft) {
    hit.minute = AxisHit::kLeftOfAxis;
  } else if (x >= kAxisWidth / m_Scale + kAxisLeft + m_Scale) {
    hit.minute = AxisHit::kRightOfAxis;
  } else {
    // The last pixel column may lie a fraction beyond 24:00; the day ends there.
    hit.minute =
        std::min(static_cast<int>(hcp::RoundHalfEven((x - kAxisLeft) * kMinutesPerStep / m_Scale)),
                 kMinutesPerDay);
    CallHost(m_ParentContainer, HostOperation::Set_Text_Schedule_Time,
             {MinutesToTimeText(hit.minute)});
    hit.row = static_cast<int>((y - kBarTop) / kRowHeight);
  }
  return hit;
}

void cTimeSchedule::MouseDown(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject,
                              std::int16_t Button, std::int16_t, double x, double y) {
  const AxisHit hit = HitTestTimeAxis(m_ParentContainer, x, y);
  if (hit.minute < 0) return;
  const int j = DayTypeOfRow(hit.row);
  if (j < 0) return;
  const int previous = m_SelectedDayType;
  m_SelectedDayType = j;

  if (Button == kLeftButton) {
    m_SelectedPeriod = nullptr;
    if (previous >= 0) PaintAxis(m_ParentContainer, m_SchedulePaintObject, previous);
    const std::vector<PeriodRef>& periods = m_Periods[j];
    for (const PeriodRef& period : periods) {
      if (period->m_StartMinute <= hit.minute && hit.minute <= period->m_StopMinute) {
        m_SelectedPeriod = period;
        break;
      }
    }
    m_AnchorMinute = hit.minute;
    // A press always starts a drag of its own, even when the last release never came.
    m_DraggedPeriod = nullptr;
    m_DragMode = DragMode::DrawingNew;
    for (const PeriodRef& period : periods) {
      if (std::abs(period->m_StartMinute - hit.minute) < kEdgeGrabMinutes) {
        m_AnchorMinute = period->m_StartMinute;
        m_DragMode = DragMode::MovingStart;
      } else if (std::abs(period->m_StopMinute - hit.minute) < kEdgeGrabMinutes) {
        m_AnchorMinute = period->m_StopMinute;
        m_DragMode = DragMode::MovingStop;
      } else {
        continue;
      }
      m_SchedulePaintObject.SetMousePointer(MousePointer::SizeWestEast);
      m_DraggedPeriod = period;
      break;
    }
    m_DragDayType = j;
    SetSelectedPeriodTexts(m_ParentContainer, m_SelectedPeriod);
  } else if (Button == kRightButton) {
    bool mondayToFriday = true;
    for (int k = 0; k < kDayTypeCount; ++k)
      mondayToFriday = mondayToFriday && m_Grouped[k] == (k < kWorkDayTypes);
    CallHost(m_ParentContainer, HostOperation::Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked,
             {Flag32(mondayToFriday)});
    CallHost(m_ParentContainer, HostOperation::Set_Menu_TimeSchedulePopup_Grouped_Checked,
             {Flag16(m_Grouped[j])});
    CallHost(m_ParentContainer, HostOperation::Set_Menu_TimeSchedulePopup_Paste_Enabled,
             {m_CopiedDayType >= 0});
    CallHost(m_ParentContainer, HostOperation::Set_Menu_TimeSchedulePopup_Delete_Enabled,
             {m_SelectedDayType >= 0});
  }
}

void cTimeSchedule::MouseMove(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject,
                              std::int16_t, std::int16_t, double x, double y) {
  const AxisHit hit = HitTestTimeAxis(m_ParentContainer, x, y);
  if (hit.minute < 0) return;
  if (m_DragMode == DragMode::DrawingNew && !m_DraggedPeriod &&
      std::abs(hit.minute - m_AnchorMinute) >= kDrawStartMinutes) {
    m_SchedulePaintObject.SetMousePointer(MousePointer::SizeWestEast);
    m_DraggedPeriod = AddPeriod(m_DragDayType, 0, 0);
    m_SelectedPeriod = m_DraggedPeriod;
  }
  if (!m_DraggedPeriod) return;

  cTimeSchedulePeriod& period = *m_DraggedPeriod;
  const auto minute = static_cast<std::int16_t>(hit.minute);
  switch (m_DragMode) {
    case DragMode::MovingStart:
      period.m_StartMinute = minute;
      break;
    case DragMode::MovingStop:
      period.m_StopMinute = minute;
      break;
    case DragMode::DrawingNew:
      period.m_StartMinute = static_cast<std::int16_t>(m_AnchorMinute);
      period.m_StopMinute = minute;
      break;
    case DragMode::Idle:
      break;
  }
  if (period.m_StopMinute < period.m_StartMinute) {
    std::swap(period.m_StartMinute, period.m_StopMinute);
    if (m_DragMode == DragMode::MovingStart) {
      m_DragMode = DragMode::MovingStop;
    } else if (m_DragMode == DragMode::MovingStop) {
      m_DragMode = DragMode::MovingStart;
    }
  }
  PaintAxis(m_ParentContainer, m_SchedulePaintObject, m_DragDayType);
  SetSelectedPeriodTexts(m_ParentContainer, m_DraggedPeriod);
}

void cTimeSchedule::MouseUp(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject,
                            std::int16_t, std::int16_t, double, double) {
  if (m_DragMode == DragMode::Idle) return;
  m_SchedulePaintObject.SetMousePointer(MousePointer::Default);
  m_DragMode = DragMode::Idle;
  m_DraggedPeriod = nullptr;
  // The dragged row's group follows it, even when another row was pressed meanwhile.
  CopyToGroupedDayTypes(m_ParentContainer, m_SchedulePaintObject, m_DragDayType);
  MergePeriods(m_DragDayType);
  PaintAxis(m_ParentContainer, m_SchedulePaintObject, m_DragDayType);
}

}  // namespace Halvane_Config
