// The view half of cCalendar: the month grid, its date boxes and painting with the mouse.
#include <cmath>
#include <exception>

#include "common/Halvane_Common_Procedures.h"
#include "config/CalendarLocale.h"
#include "config/cCalendar.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr int kColumns = 7;  // Monday .. Sunday
constexpr int kRows = 6;
constexpr int kSundayColumn = 6;
constexpr double kGridLeft = 30;
constexpr double kGridTop = 20;
constexpr double kColumnWidth = 40;
constexpr double kRowHeight = 25;
constexpr double kGridRight = kGridLeft + kColumns * kColumnWidth;  // 310
constexpr double kGridBottom = kGridTop + kRows * kRowHeight;       // 170
// Above and below the headings, and between the week numbers and the grid.
constexpr double kHeadingGap = 2;
constexpr double kWeekNumberGap = 6;

constexpr double kBoxInset = 2;  // of a date box in its cell
constexpr double kBoxWidth = 37;
constexpr double kBoxHeight = 22;
constexpr double kMarkRight = 36;  // a short name ends here, from the box's left
constexpr double kImageLeft = 28;  // a day type's image starts here
constexpr std::int32_t kImageStyle = 1;

// The shaded strip of a red day or of today: lines of 14 down the box's left, fading by 3
// per line (64 / 25, rounded) over 22 lines, or 16 to leave room for the time bar.
constexpr double kStripLength = 14;
constexpr int kStripLines = 22;
constexpr int kStripLinesAboveBar = 16;
constexpr int kStripStep = 3;
constexpr int kRedFadeFrom = 192;    // green and blue of red 255
constexpr int kTodayFadeFrom = 255;  // green of red 0 and blue 255

// The time bar: 5 lines 17 below the box's top, grey behind, green for the periods.
constexpr double kBarTop = 17;
constexpr int kBarLines = 5;
constexpr int kBarBackgroundGrey = 220;
constexpr int kBarBackgroundStep = 20;
constexpr int kBarGreen = 240;
constexpr int kBarGreenStep = 19;
constexpr Colour kBarEndMark = Grey(128);

constexpr std::int32_t kFirstHeadingText = 611;  // Monday's; Sunday's is 617
constexpr std::size_t kHeadingCharacters = 3;

constexpr std::int16_t kTextMarks = kWeekDayTypes;  // values 1..7 show a short name

// The first characters of a text, never splitting a character outside the basic plane.
std::u16string Leading(std::u16string_view text, std::size_t characters) {
  std::size_t units = 0;
  for (; characters > 0 && units < text.size(); --characters) {
    const bool pair = text[units] >= 0xD800 && text[units] <= 0xDBFF && units + 1 < text.size();
    units += pair ? 2 : 1;
  }
  return std::u16string(text.substr(0, units));
}

// A weekday's heading: the host's text for it, or, when the host has none, the name the
// user's language abbreviates it to.
std::u16string Heading(const CalendarLocale& locale, int weekday) {
  const std::u16string text = hcp::GetTextByNumber(kFirstHeadingText + weekday);
  const bool missing =
      text.starts_with(u"*** Invalid Text (") || text.starts_with(u"*** Missing text (");
  return Leading(missing ? locale.ShortDayName(weekday) : text, kHeadingCharacters);
}

std::u16string Decimal(int value) {
  return hcp::Utf8ToUtf16(std::to_string(value));
}

bool IsNone(const Variant& item) {
  return item.IsEmpty() || item.IsNull() ||
         (item.IsObject() && item.Get<hcp::ObjectRef>().IsNothing());
}

template <typename Step>
void IgnoringErrors(Step step) {
  try {
    step();
  } catch (const std::exception&) {
    // The mouse-move handler carries on with its next step.
  }
}

}  // namespace

void cCalendar::RecalculateAndPrepareToPaint() {
  m_ActualMonthOffset = DayNumber(m_SelectedYear, m_SelectedMonth, 1);
  m_FirstWeekDayInActualMonth =
      hcp::WeekdayFromMonday(hcp::DateSerial(m_SelectedYear, m_SelectedMonth, 1));
  m_DaysInActualMonth = DayNumber(m_SelectedYear, m_SelectedMonth + 1, 1) - m_ActualMonthOffset;
  const hcp::CivilTime today = hcp::ToCivilTime(hcp::Now());
  m_TodaysDayOffset = DayNumber(today.year, today.month, today.day);
  m_PaintingDayType = -1;
  // Another month shows other dates under the mouse.
  m_LastDayUnderMouse = -1;
}

void cCalendar::Paint(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject) {
  PaintSurface& surface = m_CalendarPaintObject;
  const std::shared_ptr<const CalendarLocale> locale = CurrentCalendarLocale();
  surface.SetFontBold(true);
  const double h = hcp::RoundHalfEven(surface.TextHeight(u"8"));

  // The headings' band over the grid, with a gap above and below the text.
  const double headingY = kGridTop - h - kHeadingGap;
  const double bandTop = headingY - kHeadingGap;
  // A white line one unit right of and below each black one gives the grid a raised look.
  for (const auto& [offset, colour] : {std::pair{1.0, kWhite}, std::pair{0.0, kBlack}}) {
    for (int k = 0; k <= kColumns; ++k) {
      const double x = kGridLeft + k * kColumnWidth + offset;
      surface.Line(x, bandTop, x, kGridBottom, colour);
    }
    surface.Line(kGridLeft, bandTop - 1 + offset, kGridRight, bandTop - 1 + offset, colour);
    for (int r = 0; r <= kRows; ++r) {
      const double y = kGridTop + r * kRowHeight + offset;
      surface.Line(kGridLeft, y, kGridRight, y, colour);
    }
  }

  surface.SetCurrentY(headingY);
  for (int k = 0; k < kColumns; ++k) {
    const std::u16string heading = Heading(*locale, k);
    surface.SetCurrentX(kGridLeft + k * kColumnWidth +
                        (kColumnWidth - surface.TextWidth(heading)) / 2);
    surface.Print(heading);
  }

  CallHost(m_ParentContainer, HostOperation::Set_Text_Calendar_Month,
           {MonthTitle(*locale, m_SelectedYear, m_SelectedMonth)});

  surface.SetFontBold(false);
  surface.SetForeColor(kSystemGrayText);
  const WeekRule weeks = locale->Weeks();
  for (int r = 0; r < kRows; ++r) {
    surface.SetCurrentX(kGridLeft - surface.TextWidth(u"88") - kWeekNumberGap);
    surface.SetCurrentY(kGridTop + r * kRowHeight + (kRowHeight - surface.TextHeight(u"A")) / 2);
    // Day r * 7 + 1 always lies in row r; past the month's end it rolls into the next.
    surface.Print(Decimal(WeekOfYear(m_SelectedYear, m_SelectedMonth, r * kColumns + 1, weeks)));
  }
  surface.SetForeColor(kSystemButtonText);

  for (std::int32_t d = 0; d < m_DaysInActualMonth; ++d)
    PaintDateBox(m_ParentContainer, surface, d);
}

void cCalendar::PaintDateBox(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject,
                             std::int32_t DateToPaintInActualMonth) {
  const std::int32_t d = DateToPaintInActualMonth;
  if (d < 0 || d >= m_DaysInActualMonth) throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
  PaintSurface& surface = m_CalendarPaintObject;
  const std::int32_t n = m_ActualMonthOffset + d;
  const std::int16_t value = GetDayType(n);
  const int cell = m_FirstWeekDayInActualMonth + d;
  const int row = cell / kColumns;
  const int column = cell % kColumns;
  const double X = kGridLeft + column * kColumnWidth + kBoxInset;
  const double Y = kGridTop + row * kRowHeight + kBoxInset;

  surface.FilledBox(X, Y, kBoxWidth, kBoxHeight, surface.BackColor());
  const int stripLines = m_ShowTimeAxis ? kStripLinesAboveBar : kStripLines;
  if (column == kSundayColumn || IsRedHoliday(n)) {
    for (int i = 0; i < stripLines; ++i) {
      const int fade = kRedFadeFrom - kStripStep * i;
      surface.LineStep(X, Y + i, kStripLength, 0, Rgb(255, fade, fade));
    }
  }
  // Drawn after the red, so today wins.
  if (n == m_TodaysDayOffset) {
    for (int i = 0; i < stripLines; ++i)
      surface.LineStep(X, Y + i, kStripLength, 0, Rgb(0, kTodayFadeFrom - kStripStep * i, 255));
  }

  surface.SetCurrentX(X);
  surface.SetCurrentY(Y);
  surface.SetForeColor(kSystemGrayText);
  surface.Print(Decimal(d + 1));
  surface.SetForeColor(kSystemButtonText);

  if (value >= 1 && value <= kTextMarks) {
    const std::u16string& name = DayTypeShortNames[value - 1];
    surface.SetCurrentX(X + kMarkRight - surface.TextWidth(name));
    surface.Print(name);
  } else if (value > kTextMarks && value <= kLastDayTypeValue) {
    CallHost(m_ParentContainer, HostOperation::Draw_ImageList_ListImages,
             {static_cast<std::int16_t>(value - kTextMarks), surface.DeviceContext(),
              X + kImageLeft, static_cast<std::int32_t>(Y), kImageStyle});
  }

  if (m_ShowTimeAxis && m_AssociatedTimeSchedule) PaintTimeBar(surface, X, Y, column, value);
}

void cCalendar::PaintTimeBar(PaintSurface& surface, double X, double Y, int weekday,
                             std::int16_t value) {
  const cTimeSchedule& schedule = *m_AssociatedTimeSchedule;
  // The date's own day type where the schedule has it active, else its weekday's.
  const int dayType = value >= 1 && value <= kLastDayTypeValue && schedule.GetActive(value - 1)
                          ? value - 1
                          : weekday;
  const double top = Y + kBarTop;
  for (int i = 0; i < kBarLines; ++i)
    surface.LineStep(X, top + i, kBoxWidth, 0, Grey(kBarBackgroundGrey - kBarBackgroundStep * i));

  // What GetNextTimePeriod walks, read in one pass.
  if (!schedule.GetActive(dayType)) return;
  for (const PeriodRef& period : schedule.GetPeriods(dayType)) {
    const MinuteSpan span = ClippedToDay(*period);
    if (span.stop < span.start) continue;  // covers nothing
    const double xs =
        X + hcp::RoundHalfEven(span.start * kBoxWidth / cTimeSchedule::kMinutesPerDay);
    const double xe = X + hcp::RoundHalfEven(span.stop * kBoxWidth / cTimeSchedule::kMinutesPerDay);
    for (int j = 0; j < kBarLines; ++j)
      surface.Line(xs, top + j, xe, top + j, Rgb(0, kBarGreen - kBarGreenStep * j, 0));
    surface.LineStep(xs, top, 0, kBarLines, kBarEndMark);
    surface.LineStep(xe, top, 0, kBarLines, kBarEndMark);
  }
}

bool cCalendar::IsRedHoliday(std::int32_t TheDay) {
  RequireDay(TheDay);
  if (!HolidayFlags[TheDay]) return false;
  for (const cHolidayLabel& label : HolidayLabels) {
    if (label.m_Day == TheDay && label.m_ViewInCalendar) return true;
  }
  return false;
}

std::int32_t cCalendar::DateFromPoint(double x, double y) const {
  if (x <= kGridLeft || x >= kGridRight || y <= kGridTop || y >= kGridBottom) return -1;
  const auto row = static_cast<std::int32_t>(std::floor((y - kGridTop) / kRowHeight));
  const auto column = static_cast<std::int32_t>(std::floor((x - kGridLeft) / kColumnWidth));
  const std::int32_t d = row * kColumns - m_FirstWeekDayInActualMonth + column;
  return d < 0 || d >= m_DaysInActualMonth ? -1 : d;
}

void cCalendar::MouseDown(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject,
                          std::int16_t Button, std::int16_t, double x, double y) {
  m_MouseButton = Button;
  if (IsNone(CallHost(m_ParentContainer, HostOperation::Get_Combo_Calendar_DayType_SelectedItem))) {
    m_PaintingDayType = -1;
    return;
  }
  const std::int16_t index = hcp::ToInt16(hcp::ToDouble(
      CallHost(m_ParentContainer, HostOperation::Get_Combo_Calendar_DayType_SelectedItem_Index)));
  const std::int16_t value = index > 0 ? static_cast<std::int16_t>(index - 1) : index;
  // An index that names no day-type value paints nothing.
  m_PaintingDayType = value >= 0 && value <= kLastDayTypeValue ? value : -1;

  const std::int32_t d = DateFromPoint(x, y);
  if (d < 0 || m_PaintingDayType < 0) return;
  const std::int32_t n = m_ActualMonthOffset + d;
  if (GetDayType(n) == m_PaintingDayType) return;
  SetDayType(n, m_PaintingDayType);
  PaintDateBox(m_ParentContainer, m_CalendarPaintObject, d);
  // The next move over this date shows its new day type in the tooltip.
  m_LastDayUnderMouse = -1;
}

void cCalendar::MouseMove(HostWindow& m_ParentContainer, PaintSurface& m_CalendarPaintObject,
                          std::int16_t, std::int16_t, double x, double y) {
  PaintSurface& surface = m_CalendarPaintObject;
  const std::int32_t d = DateFromPoint(x, y);
  if (d < 0) {
    IgnoringErrors([&] { surface.SetToolTipText(u""); });
  } else if (d != m_LastDayUnderMouse) {
    const std::int32_t n = m_ActualMonthOffset + d;
    IgnoringErrors([&] {
      if (m_MouseButton != 0 && m_PaintingDayType >= 0 && GetDayType(n) != m_PaintingDayType) {
        SetDayType(n, m_PaintingDayType);
        PaintDateBox(m_ParentContainer, surface, d);
      }
    });
    IgnoringErrors([&] { surface.SetToolTipText(ToolTipOf(m_ParentContainer, n)); });
  }
  m_LastDayUnderMouse = d;
}

void cCalendar::MouseUp(HostWindow&, PaintSurface&, std::int16_t, std::int16_t, double, double) {
  m_MouseButton = 0;
  m_PaintingDayType = -1;
}

std::u16string cCalendar::ToolTipOf(HostWindow& m_ParentContainer, std::int32_t TheDay) const {
  std::u16string tip;
  IgnoringErrors([&] {
    // Values that name no day type have no name in the host's list.
    const std::int16_t value = GetDayType(TheDay);
    if (value >= 1 && value <= kLastDayTypeValue) {
      tip = hcp::ToText(CallHost(m_ParentContainer,
                                 HostOperation::Get_Combo_Calendar_DayType_ComboItems,
                                 {static_cast<std::int16_t>(value + 1)}));
    }
  });
  IgnoringErrors([&] {
    RequireDay(TheDay);
    if (!HolidayFlags[TheDay]) return;
    for (const cHolidayLabel& label : HolidayLabels) {
      if (label.m_Day == TheDay) {
        tip += u" (" + label.m_Label + u")";
        return;
      }
    }
  });
  return tip;
}

}  // namespace Halvane_Config
