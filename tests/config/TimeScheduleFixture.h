// A schedule with a recording host and surface, laid out like a host would show it: a frame
// of 340 x 180, a 17-wide scroll bar, 16 x 16 images, day-type names filled in.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "ErrorNumber.h"
#include "MouseScript.h"
#include "RecordingHostWindow.h"
#include "RecordingPaintSurface.h"
#include "common/Halvane_Common_Procedures.h"
#include "config/Halvane_Config.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

using Minutes = std::vector<std::pair<int, int>>;

class TimeScheduleTest : public ::testing::Test {
 protected:
  TimeScheduleTest() {
    static const char16_t* const kShort[] = {u"Mo", u"Tu", u"We", u"Th", u"Fr", u"Sa", u"Su"};
    static const char16_t* const kLong[] = {u"Monday", u"Tuesday",  u"Wednesday", u"Thursday",
                                            u"Friday", u"Saturday", u"Sunday"};
    for (int d = 0; d < kDayTypeCount; ++d) {
      const std::u16string number = hcp::Utf8ToUtf16(std::to_string(d - 6));
      DayTypeShortNames[d] = d < 7 ? kShort[d] : u"S" + number;
      DayTypeNames[d] = d < 7 ? kLong[d] : u"Special " + number;
    }
    host.Answer(HostOperation::Get_Picture_TimeSchedule_Frame_ScaleWidth, 340.0f);
    host.Answer(HostOperation::Get_Picture_TimeSchedule_Frame_ScaleHeight, 180.0f);
    host.Answer(HostOperation::Get_VScroll_Schedule_Width, 17.0f);
    host.Answer(HostOperation::Get_Check_TimeSchedule_ViewDayType, std::int16_t{0});
    host.Answer(HostOperation::Get_ImageList_ImageWidth, std::int16_t{16});
    host.Answer(HostOperation::Get_ImageList_ImageHeight, std::int16_t{16});
    host.Answer(HostOperation::Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked, false);
    host.Answer(HostOperation::Get_Text_Schedule_Period_Start, u"");
    host.Answer(HostOperation::Get_Text_Schedule_Period_Stop, u"");
  }
  ~TimeScheduleTest() override {
    DayTypeShortNames = {};
    DayTypeNames = {};
    DeleteAllPeriods = false;
  }

  // Lays the rows out, as a host does before painting, and forgets the calls it took.
  void Layout() {
    PaintSurface* hostSurface = &surface;
    schedule.RecalculateAndPrepareToPaint(host, hostSurface, &surface);
    host.ClearLog();
  }

  // The pixel of a minute on the axis, and a point inside a row's bar.
  static double X(int minute) { return 30 + minute / 5.0; }
  static double RowY(int row) { return row * 25 + 11; }

  Minutes PeriodsOf(int dayType) const {
    Minutes minutes;
    for (const PeriodRef& p : schedule.GetPeriods(dayType))
      minutes.emplace_back(p->m_StartMinute, p->m_StopMinute);
    return minutes;
  }

  // Sets the host's two period texts as a user types them.
  void Type(std::u16string_view start, std::u16string_view stop) {
    host.Answer(HostOperation::Get_Text_Schedule_Period_Start, start);
    host.Answer(HostOperation::Get_Text_Schedule_Period_Stop, stop);
  }

  cTimeSchedule schedule;
  RecordingHostWindow host;
  RecordingPaintSurface surface;
  MouseScript<cTimeSchedule> mouse{schedule, host, surface};
};

}  // namespace Halvane_Config
