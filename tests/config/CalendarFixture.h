// A calendar with a recording host and surface, English names and ISO weeks, a clock
// stopped on 15 February 2000, and a host whose day-type list names every value.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

#include "ErrorNumber.h"
#include "FixedCalendarLocale.h"
#include "MouseScript.h"
#include "RecordingHostWindow.h"
#include "RecordingPaintSurface.h"
#include "common/Halvane_Common_Procedures.h"
#include "config/Halvane_Config.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

// The host list's name of a day-type value: "Ordinary", "Like Monday" .. "Like Sunday",
// "Special 1" .. "Special 16".
inline std::u16string DayTypeItemName(int value) {
  static const char16_t* const kWeekdays[] = {u"Monday", u"Tuesday",  u"Wednesday", u"Thursday",
                                              u"Friday", u"Saturday", u"Sunday"};
  if (value == 0) return u"Ordinary";
  if (value <= 7) return std::u16string(u"Like ") + kWeekdays[value - 1];
  return u"Special " + hcp::Utf8ToUtf16(std::to_string(value - 7));
}

class CalendarTest : public ::testing::Test {
 protected:
  CalendarTest() {
    SetCalendarLocale(std::make_shared<FixedCalendarLocale>());
    static const char16_t* const kShort[] = {u"Mo", u"Tu", u"We", u"Th", u"Fr", u"Sa", u"Su"};
    for (int d = 0; d < kWeekDayTypes; ++d)
      DayTypeShortNames[d] = kShort[d];
    host.AnswerWith(HostOperation::Get_Combo_Calendar_DayType_ComboItems,
                    [](std::span<const Variant> arguments) -> Variant {
                      return DayTypeItemName(static_cast<int>(hcp::ToDouble(arguments[0])) - 1);
                    });
    host.Answer(HostOperation::Get_Combo_Calendar_DayType_SelectedItem, Variant::Nothing());
    const auto today = hcp::ToTimePoint(hcp::ToDateTime({2000, 2, 15, 12, 0, 0}));
    hcp::SetClock([today] { return today; });
  }
  ~CalendarTest() override {
    SetCalendarLocale({});
    hcp::SetClock({});
    DayTypeShortNames = {};
    HolidayFlags = {};
    HolidayLabels.clear();
  }

  // Shows a month, as a host does before painting it.
  void Show(int year, int month) {
    calendar.m_SelectedYear = year;
    calendar.m_SelectedMonth = month;
    calendar.RecalculateAndPrepareToPaint();
  }

  // Chooses a day-type value in the host's list (item value + 1).
  void Choose(int value) {
    host.Answer(HostOperation::Get_Combo_Calendar_DayType_SelectedItem,
                hcp::ObjectRef{std::make_shared<int>(value)});
    host.Answer(HostOperation::Get_Combo_Calendar_DayType_SelectedItem_Index,
                static_cast<std::int16_t>(value + 1));
  }

  void MakeHoliday(int year, int month, int day, std::u16string label, bool red) {
    const std::int32_t n = cCalendar::DayNumber(year, month, day);
    HolidayFlags[n] = true;
    HolidayLabels.push_back({.m_Day = static_cast<std::int16_t>(n),
                             .m_DayType = 0,
                             .m_ViewInCalendar = red,
                             .m_Label = std::move(label)});
  }

  // The middle of the cell of a day of the month shown (0-based).
  double CellX(int d) const {
    return 30 + (calendar.m_FirstWeekDayInActualMonth + d) % 7 * 40 + 20;
  }
  double CellY(int d) const {
    return 20 + (calendar.m_FirstWeekDayInActualMonth + d) / 7 * 25 + 12.5;
  }

  cCalendar calendar;
  RecordingHostWindow host;
  RecordingPaintSurface surface;
  MouseScript<cCalendar> mouse{calendar, host, surface};
};

}  // namespace Halvane_Config
