#include <algorithm>
#include <string>
#include <vector>

#include "TimeScheduleFixture.h"

namespace Halvane_Config {
namespace {

using Lines = std::vector<std::string>;

// The drawings from the last one that starts with `first` to the end.
Lines LastDrawingFrom(const RecordingPaintSurface& surface, const std::string& first) {
  const Lines log = surface.Log();
  const auto start = std::find(log.rbegin(), log.rend(), first);
  return start == log.rend() ? Lines{} : Lines(start.base() - 1, log.end());
}

bool Contains(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// The fifteen background lines of the row whose bar starts at y0.
Lines Background(int y0) {
  Lines lines;
  for (int i = 0; i < 15; ++i) {
    const std::string grey = std::to_string(220 - 7 * i);
    lines.push_back("Line 30," + std::to_string(y0 + i) + " 318," + std::to_string(y0 + i) +
                    " rgb(" + grey + "," + grey + "," + grey + ")");
  }
  return lines;
}

using TimeScheduleEditor = TimeScheduleTest;

TEST_F(TimeScheduleEditor, LaysOutOneRowPerActiveDayType) {
  schedule.m_UseCalendar = true;
  schedule.SetActive(8, true);
  schedule.SetActive(12, true);
  PaintSurface* hostSurface = nullptr;
  schedule.RecalculateAndPrepareToPaint(host, hostSurface, &surface);
  EXPECT_EQ(hostSurface, &surface);
  EXPECT_EQ(host.Log(), (Lines{
                            "Set_VScroll_Schedule_Top(0%)",
                            "Get_Picture_TimeSchedule_Frame_ScaleWidth()",
                            "Get_VScroll_Schedule_Width()",
                            "Set_VScroll_Schedule_Left(323#)",
                            "Get_Picture_TimeSchedule_Frame_ScaleHeight()",
                            "Set_VScroll_Schedule_Height(180!)",
                            "Set_VScroll_Schedule_Max(8%)",
                            "Set_Picture_TimeSchedule_Left(0%)",
                            "Set_Picture_TimeSchedule_Top(0%)",
                            "Get_VScroll_Schedule_Left()",
                            "Set_Picture_TimeSchedule_Width(323#)",
                            "Set_Picture_TimeSchedule_Height(229&)",
                        }));
  EXPECT_EQ(schedule.m_NumberOfAxisToPaint, 9);
  EXPECT_EQ(schedule.GetAxisRow(6), 6);
  EXPECT_EQ(schedule.GetAxisRow(7), 7);  // inactive: the row of the next active one
  EXPECT_EQ(schedule.GetAxisRow(8), 7);
  EXPECT_EQ(schedule.GetAxisRow(12), 8);
  EXPECT_EQ(schedule.GetAxisRow(22), 9);

  // Without the calendar there are always seven rows; the host's surface stays.
  RecordingPaintSurface other;
  schedule.m_UseCalendar = false;
  host.ClearLog();
  schedule.RecalculateAndPrepareToPaint(host, hostSurface, &other);
  EXPECT_EQ(hostSurface, &surface);
  EXPECT_EQ(schedule.m_NumberOfAxisToPaint, 7);
  EXPECT_EQ(host.Log()[6], "Set_VScroll_Schedule_Max(0%)");
  EXPECT_EQ(host.Log()[11], "Set_Picture_TimeSchedule_Height(179&)");

  // Fewer rows than fit leave nothing to scroll, never a negative range.
  schedule.m_UseCalendar = true;
  for (int d : {5, 6, 8, 12})
    schedule.SetActive(d, false);
  host.ClearLog();
  schedule.RecalculateAndPrepareToPaint(host, hostSurface, &surface);
  EXPECT_EQ(host.Log()[6], "Set_VScroll_Schedule_Max(0%)");
  EXPECT_EQ(host.Log()[11], "Set_Picture_TimeSchedule_Height(129&)");
}

TEST_F(TimeScheduleEditor, PaintDrawsTheHourGridAndEveryActiveRow) {
  Layout();
  schedule.Paint(host, nullptr);
  EXPECT_TRUE(surface.drawings.empty());

  schedule.Paint(host, &surface);
  const Lines log = surface.Log();
  ASSERT_EQ(log.size(), 25 + 7 * 2 + 7 * (1 + 15 + 1));
  EXPECT_EQ(log[0], "Line 30,0 30,175 rgb(148,148,148)");
  EXPECT_EQ(log[1], "Line 42,0 42,175 rgb(148,148,148)");
  EXPECT_EQ(log[24], "Line 318,0 318,175 rgb(148,148,148)");
  EXPECT_EQ(log[25], "Line 30,24 318,24 rgb(0,0,0)");
  EXPECT_EQ(log[26], "Line 30,25 318,25 rgb(255,255,255)");
  EXPECT_EQ(log[38], "Line 30,175 318,175 rgb(255,255,255)");
  EXPECT_EQ(Lines(log.begin() + 39, log.begin() + 56),
            Concat({{"Line 318,0 318,25 rgb(148,148,148)"},
                    Background(4),
                    {"Print \"Mo\" at 16,5.5 rgb(0,0,0)"}}));
  EXPECT_EQ(log.back(), "Print \"Su\" at 16,155.5 rgb(0,0,0)");
}

TEST_F(TimeScheduleEditor, ARowShowsPeriodsSelectionNameAndGroupMark) {
  Layout();
  schedule.AddPeriod(0, 480, 600);
  schedule.AddPeriod(0, 720, 780);
  mouse.ClickAt(kMiddleButton, X(0), RowY(0));
  schedule.Group(host, surface);
  host.Answer(HostOperation::Get_Check_TimeSchedule_ViewDayType, std::int16_t{1});
  host.ClearLog();
  surface.ClearLog();

  mouse.ClickAt(kLeftButton, X(540), RowY(0));  // inside 08:00-10:00, far from its ends
  EXPECT_EQ(host.Log(), (Lines{
                            "Set_Text_Schedule_Time(\"09:00\")",
                            "Get_Check_TimeSchedule_ViewDayType()",  // the old row, unselected
                            "Set_Text_Schedule_Period_Start(\"08:00\")",
                            "Set_Text_Schedule_Period_Stop(\"10:00\")",
                            "Get_Check_TimeSchedule_ViewDayType()",  // after the release
                        }));
  Lines selected, other;
  for (int j = 0; j < 15; ++j) {
    const std::string y = std::to_string(4 + j);
    selected.push_back("Line 126," + y + " 150," + y + " rgb(0," + std::to_string(176 - 7 * j) +
                       ",0)");
    other.push_back("Line 174," + y + " 186," + y + " rgb(0," + std::to_string(240 - 7 * j) +
                    ",0)");
  }
  EXPECT_EQ(LastDrawingFrom(surface, "MousePointer 0"),
            Concat({{"MousePointer 0", "Line 318,0 318,25 rgb(148,148,148)"},
                    Background(4),
                    selected,
                    {"Line 126,4 126,19 rgb(0,0,0)", "Line 150,4 150,19 rgb(0,0,0)"},
                    other,
                    {"Line 174,4 174,19 rgb(0,0,0)", "Line 186,4 186,19 rgb(0,0,0)",
                     "Print \"Mo\" at 16,5.5 rgb(0,0,0)", "Print \"Monday\" at 156,5.5 rgb(0,0,0)",
                     "Line 317,4 312,4 rgb(255,255,255)", "Line 317,5 313,5 rgb(245,245,245)",
                     "Line 317,6 314,6 rgb(235,235,235)", "Line 317,7 315,7 rgb(225,225,225)",
                     "Line 317,8 316,8 rgb(205,205,205)"}}));
}

TEST_F(TimeScheduleEditor, SpecialDayTypesShowTheHostsImage) {
  schedule.m_UseCalendar = true;
  schedule.SetActive(7, true);
  Layout();
  schedule.Paint(host, &surface);
  const Lines log = host.Log();
  EXPECT_EQ(Lines(log.end() - 4, log.end()),
            (Lines{"Get_ImageList_ImageWidth()", "Get_ImageList_ImageHeight()",
                   "Draw_ImageList_ListImages(1%, 4242&, 10#, 178.5#)",
                   "Get_Check_TimeSchedule_ViewDayType()"}));
}

TEST_F(TimeScheduleEditor, HitTestFindsMinutesAndRowsInsideTheAxisOnly) {
  Layout();
  const struct {
    double x, y;
    int minute, row;
  } cases[] = {
      {29, 11, cTimeSchedule::AxisHit::kLeftOfAxis, 0},
      {319, 11, cTimeSchedule::AxisHit::kRightOfAxis, 0},
      {30, 11, 0, 0},
      {318, 11, 1440, 0},
      {318.9, 11, 1440, 0},  // a fraction past 24:00 is still the end of the day
      {30.5, 11, 2, 0},      // 2.5 minutes: halves go to even
      {31.5, 11, 8, 0},
      {100, 18, 350, 0},  // the lowest line of a row's bar
      {100, 29, 350, 1},
      {100, 4, cTimeSchedule::AxisHit::kOutsideRows, 0},
      {100, 4.5, 350, 0},
      {100, 174.9, 350, 6},
      {100, 175, cTimeSchedule::AxisHit::kOutsideRows, 0},
  };
  for (const auto& c : cases) {
    host.ClearLog();
    const cTimeSchedule::AxisHit hit = schedule.HitTestTimeAxis(host, c.x, c.y);
    EXPECT_EQ(hit.minute, c.minute) << c.x << "," << c.y;
    if (hit.minute < 0) {
      EXPECT_TRUE(host.calls.empty());
      continue;
    }
    EXPECT_EQ(hit.row, c.row) << c.x << "," << c.y;
    EXPECT_EQ(host.Log(), Lines{"Set_Text_Schedule_Time(\"" +
                                hcp::Utf16ToUtf8(MinutesToTimeText(c.minute)) + "\")"});
  }
  // A press outside the axis changes nothing.
  mouse.ClickAt(kLeftButton, 29, RowY(0));
  EXPECT_EQ(schedule.GetSelectedDayType(), -1);
  EXPECT_EQ(schedule.GetDragMode(), cTimeSchedule::DragMode::Idle);
}

TEST_F(TimeScheduleEditor, PressesNearAnEndGrabIt) {
  Layout();
  schedule.AddPeriod(0, 480, 600);
  schedule.AddPeriod(0, 840, 960);
  schedule.AddPeriod(1, 480, 500);
  const struct {
    int minute, row;
    cTimeSchedule::DragMode mode;
    const char* start;
    const char* stop;
  } cases[] = {
      {490, 0, cTimeSchedule::DragMode::MovingStart, "08:00", "10:00"},  // 10 minutes off
      {495, 0, cTimeSchedule::DragMode::DrawingNew, "08:00", "10:00"},   // 15 minutes off
      {590, 0, cTimeSchedule::DragMode::MovingStop, "08:00", "10:00"},
      {600, 0, cTimeSchedule::DragMode::MovingStop, "08:00", "10:00"},
      {720, 0, cTimeSchedule::DragMode::DrawingNew, "", ""},  // between the periods
      {495, 1, cTimeSchedule::DragMode::MovingStop, "08:00", "08:20"},
  };
  for (const auto& c : cases) {
    host.ClearLog();
    surface.ClearLog();
    mouse.Press(kLeftButton, X(c.minute), RowY(c.row));
    EXPECT_EQ(schedule.GetDragMode(), c.mode) << c.minute;
    const bool grabbed = c.mode != cTimeSchedule::DragMode::DrawingNew;
    EXPECT_EQ(surface.Pointer(), grabbed ? MousePointer::SizeWestEast : MousePointer::Default);
    const Lines log = host.Log();
    EXPECT_EQ(Lines(log.end() - 2, log.end()),
              (Lines{"Set_Text_Schedule_Period_Start(\"" + std::string(c.start) + "\")",
                     "Set_Text_Schedule_Period_Stop(\"" + std::string(c.stop) + "\")"}));
    EXPECT_EQ(schedule.GetSelectedPeriod() == nullptr, *c.start == '\0');
    mouse.Release();
    EXPECT_EQ(surface.Pointer(), MousePointer::Default);
  }
}

TEST_F(TimeScheduleEditor, DrawingANewPeriodStartsAfterSixMinutes) {
  Layout();
  mouse.Press(kLeftButton, X(540), RowY(1));
  mouse.MoveTo(X(537), RowY(1));
  mouse.MoveTo(X(545), RowY(1));
  EXPECT_TRUE(schedule.GetPeriods(1).empty());
  EXPECT_EQ(surface.Pointer(), MousePointer::Default);
  mouse.MoveTo(X(534), RowY(1));
  ASSERT_EQ(PeriodsOf(1), (Minutes{{534, 540}}));
  EXPECT_EQ(schedule.GetSelectedPeriod(), schedule.GetPeriods(1).front());
  EXPECT_EQ(surface.Pointer(), MousePointer::SizeWestEast);
  mouse.DragTo(X(420), RowY(3), 3);  // the row under the pointer does not matter
  EXPECT_EQ(PeriodsOf(1), (Minutes{{420, 540}}));
  mouse.Release();
  EXPECT_EQ(PeriodsOf(1), (Minutes{{420, 540}}));
  EXPECT_EQ(surface.Pointer(), MousePointer::Default);

  mouse.Press(kLeftButton, X(900), RowY(2));
  mouse.DragTo(X(905), RowY(2));
  mouse.Release();
  EXPECT_TRUE(schedule.GetPeriods(2).empty());

  // Moving with a button held but no press on a row before does nothing.
  schedule.MouseMove(host, surface, kLeftButton, 0, X(100), RowY(2));
  EXPECT_TRUE(schedule.GetPeriods(2).empty());
}

TEST_F(TimeScheduleEditor, ADraggedEndThatCrossesTheOtherBecomesIt) {
  Layout();
  schedule.AddPeriod(0, 480, 600);
  mouse.Press(kLeftButton, X(480), RowY(0));
  ASSERT_EQ(schedule.GetDragMode(), cTimeSchedule::DragMode::MovingStart);
  mouse.DragTo(X(660), RowY(0));
  EXPECT_EQ(PeriodsOf(0), (Minutes{{600, 660}}));
  EXPECT_EQ(schedule.GetDragMode(), cTimeSchedule::DragMode::MovingStop);
  mouse.DragTo(X(690), RowY(0));
  mouse.Release();
  EXPECT_EQ(PeriodsOf(0), (Minutes{{600, 690}}));
  EXPECT_EQ(schedule.GetDragMode(), cTimeSchedule::DragMode::Idle);
}

TEST_F(TimeScheduleEditor, AScriptedSessionDrawsMergesCopiesAndPreparesTheMenu) {
  schedule.AddPeriod(0, 720, 840);  // Monday 12:00-14:00
  Layout();
  schedule.GroupMonFri(host, surface);
  host.ClearLog();
  surface.ClearLog();

  mouse.Press(kLeftButton, X(540), RowY(0));  // 09:00
  mouse.DragTo(X(480), RowY(0), 2);           // left, across the anchor
  mouse.DragTo(X(720), RowY(0));              // back right, up to the other period
  mouse.Release();
  mouse.ClickAt(kRightButton, X(780), RowY(0));

  const std::string check = "Get_Check_TimeSchedule_ViewDayType()";
  EXPECT_EQ(host.Log(), (Lines{
                            "Set_Text_Schedule_Time(\"09:00\")",
                            "Set_Text_Schedule_Period_Start(\"\")",
                            "Set_Text_Schedule_Period_Stop(\"\")",
                            "Set_Text_Schedule_Time(\"08:30\")",
                            check,
                            "Set_Text_Schedule_Period_Start(\"08:30\")",
                            "Set_Text_Schedule_Period_Stop(\"09:00\")",
                            "Set_Text_Schedule_Time(\"08:00\")",
                            check,
                            "Set_Text_Schedule_Period_Start(\"08:00\")",
                            "Set_Text_Schedule_Period_Stop(\"09:00\")",
                            "Set_Text_Schedule_Time(\"12:00\")",
                            check,
                            "Set_Text_Schedule_Period_Start(\"09:00\")",
                            "Set_Text_Schedule_Period_Stop(\"12:00\")",
                            check,  // Tuesday..Friday get Monday's periods
                            check,
                            check,
                            check,
                            check,  // Monday, merged
                            "Set_Text_Schedule_Time(\"13:00\")",
                            "Set_Menu_TimeSchedulePopup_Grouped_MonFri_Checked(-1&)",
                            "Set_Menu_TimeSchedulePopup_Grouped_Checked(-1%)",
                            "Set_Menu_TimeSchedulePopup_Paste_Enabled(False)",
                            "Set_Menu_TimeSchedulePopup_Delete_Enabled(True)",
                        }));
  for (int d = 0; d < 5; ++d)
    EXPECT_EQ(PeriodsOf(d), (Minutes{{540, 840}})) << d;
  EXPECT_EQ(schedule.GetSelectedPeriod(), schedule.GetPeriods(0).front());
  EXPECT_EQ(schedule.GetSelectedDayType(), 0);

  Lines bar;
  for (int j = 0; j < 15; ++j) {
    const std::string y = std::to_string(4 + j);
    bar.push_back("Line 138," + y + " 198," + y + " rgb(0," + std::to_string(176 - 7 * j) + ",0)");
  }
  EXPECT_EQ(LastDrawingFrom(surface, "Line 318,0 318,25 rgb(148,148,148)"),
            Concat({{"Line 318,0 318,25 rgb(148,148,148)"},
                    Background(4),
                    bar,
                    {"Line 138,4 138,19 rgb(0,0,0)", "Line 198,4 198,19 rgb(0,0,0)",
                     "Print \"Mo\" at 16,5.5 rgb(0,0,0)", "Line 317,4 312,4 rgb(255,255,255)",
                     "Line 317,5 313,5 rgb(245,245,245)", "Line 317,6 314,6 rgb(235,235,235)",
                     "Line 317,7 315,7 rgb(225,225,225)", "Line 317,8 316,8 rgb(205,205,205)"}}));
  const Lines log = surface.Log();
  EXPECT_EQ(std::count(log.begin(), log.end(), "MousePointer 9"), 1);
  EXPECT_TRUE(Contains(log, "Line 138,29 198,29 rgb(0,240,0)"));  // Tuesday, not selected
}

TEST_F(TimeScheduleEditor, HostFailuresReachTheCallerAndKeepTheStateReached) {
  Layout();
  schedule.AddPeriod(0, 480, 600);
  host.Refuse(HostOperation::Set_Text_Schedule_Period_Start);
  EXPECT_EQ(ErrorNumberOf([&] { mouse.Press(kLeftButton, X(490), RowY(0)); }),
            hcp::kObjectDoesNotSupportMember);
  EXPECT_EQ(schedule.GetSelectedDayType(), 0);
  EXPECT_EQ(schedule.GetSelectedPeriod(), schedule.GetPeriods(0).front());
  EXPECT_EQ(schedule.GetDragMode(), cTimeSchedule::DragMode::MovingStart);

  host.Refuse(HostOperation::Get_Check_TimeSchedule_ViewDayType);
  EXPECT_EQ(ErrorNumberOf([&] { schedule.Paint(host, &surface); }),
            hcp::kObjectDoesNotSupportMember);
}

TEST_F(TimeScheduleEditor, AReleaseAfterTheMenuDeletedTheRowStillFinishesTheDrag) {
  Layout();
  schedule.SetDefaultPeriod();  // Monday..Friday grouped
  mouse.Press(kLeftButton, X(1080), RowY(0));
  mouse.DragTo(X(1140), RowY(0));
  // The right button goes down on Tuesday while the left is held; its menu deletes.
  schedule.MouseDown(host, surface, kRightButton, 0, X(100), RowY(1));
  schedule.Delete(host, surface);
  EXPECT_EQ(schedule.GetSelectedDayType(), -1);
  schedule.MouseUp(host, surface, kLeftButton, 0, X(1140), RowY(0));
  EXPECT_EQ(PeriodsOf(0), (Minutes{{420, 960}, {1080, 1140}}));
  EXPECT_EQ(PeriodsOf(2), PeriodsOf(0));  // the dragged row's group follows it
  EXPECT_EQ(PeriodsOf(1), (Minutes{{420, 960}}));
}

TEST_F(TimeScheduleEditor, APressAfterALostReleaseStartsAFreshDrag) {
  Layout();
  mouse.Press(kLeftButton, X(540), RowY(0));
  mouse.DragTo(X(600), RowY(0));
  // The host never forwarded the release; the next press is on Tuesday.
  mouse.Press(kLeftButton, X(900), RowY(1));
  mouse.DragTo(X(960), RowY(1));
  mouse.Release();
  EXPECT_EQ(PeriodsOf(0), (Minutes{{540, 600}}));
  EXPECT_EQ(PeriodsOf(1), (Minutes{{900, 960}}));
}

TEST_F(TimeScheduleEditor, AnInactiveDayTypeHasNoRowToRepaint) {
  schedule.SetActive(2, false);
  Layout();
  schedule.AddPeriod(0, 480, 600);
  schedule.GroupMonFri(host, surface);
  EXPECT_EQ(PeriodsOf(2), (Minutes{{480, 600}}));  // still grouped and copied
  const Lines log = surface.Log();
  EXPECT_FALSE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
    return line.find("\"We\"") != std::string::npos;
  }));
  EXPECT_TRUE(Contains(log, "Print \"Th\" at 16,55.5 rgb(0,0,0)"));  // Thursday on row 2
}

}  // namespace
}  // namespace Halvane_Config
