#include <algorithm>
#include <string>
#include <vector>

#include "CalendarFixture.h"

namespace Halvane_Config {
namespace {

using Lines = std::vector<std::string>;

std::string Num(double value) {
  std::string text = std::to_string(value);
  text.erase(text.find_last_not_of('0') + 1);
  if (text.back() == '.') text.pop_back();
  return text;
}

std::string LineTo(double x1, double y1, double x2, double y2, const std::string& colour) {
  return "Line " + Num(x1) + "," + Num(y1) + " " + Num(x2) + "," + Num(y2) + " " + colour;
}

std::string RgbText(int r, int g, int b) {
  return "rgb(" + std::to_string(r) + "," + std::to_string(g) + "," + std::to_string(b) + ")";
}

// The shaded strip of a red day, or of today, at the box (X, Y).
Lines Strip(int X, int Y, int lines, bool today) {
  Lines strip;
  for (int i = 0; i < lines; ++i) {
    const std::string colour =
        today ? RgbText(0, 255 - 3 * i, 255) : RgbText(255, 192 - 3 * i, 192 - 3 * i);
    strip.push_back(LineTo(X, Y + i, X + 14, Y + i, colour));
  }
  return strip;
}

// The time bar's grey background, and one period from xs to xe on it.
Lines BarBackground(int X, int Y) {
  Lines bar;
  for (int i = 0; i < 5; ++i) {
    const int grey = 220 - 20 * i;
    bar.push_back(LineTo(X, Y + 17 + i, X + 37, Y + 17 + i, RgbText(grey, grey, grey)));
  }
  return bar;
}
Lines BarPeriod(int xs, int xe, int Y) {
  Lines bar;
  for (int j = 0; j < 5; ++j)
    bar.push_back(LineTo(xs, Y + 17 + j, xe, Y + 17 + j, RgbText(0, 240 - 19 * j, 0)));
  bar.push_back(LineTo(xs, Y + 17, xs, Y + 22, RgbText(128, 128, 128)));
  bar.push_back(LineTo(xe, Y + 17, xe, Y + 22, RgbText(128, 128, 128)));
  return bar;
}

std::string BoxAt(int X, int Y) {
  return "Box " + std::to_string(X) + "," + std::to_string(Y) + " 37x22 rgb(255,255,255)";
}

// The drawings of the date box at (X, Y): from its box to the next box or the end.
Lines DrawingOfBox(const Lines& log, int X, int Y) {
  const auto start = std::find(log.begin(), log.end(), BoxAt(X, Y));
  if (start == log.end()) return {};
  const auto end = std::find_if(start + 1, log.end(),
                                [](const std::string& line) { return line.starts_with("Box "); });
  return Lines(start, end);
}

std::size_t CountOf(const Lines& log, const std::string& line) {
  return static_cast<std::size_t>(std::count(log.begin(), log.end(), line));
}

using CalendarView = CalendarTest;

TEST_F(CalendarView, RecalculatesTheMonthShown) {
  Show(2000, 2);
  EXPECT_EQ(calendar.m_ActualMonthOffset, 31);
  EXPECT_EQ(calendar.m_FirstWeekDayInActualMonth, 1);  // a Tuesday
  EXPECT_EQ(calendar.m_DaysInActualMonth, 29);
  EXPECT_EQ(calendar.m_TodaysDayOffset, 45);
  EXPECT_EQ(calendar.GetPaintingDayType(), -1);

  Show(2039, 12);  // December rolls into January of the next year
  EXPECT_EQ(calendar.m_ActualMonthOffset, 14579);
  EXPECT_EQ(calendar.m_DaysInActualMonth, 31);
  EXPECT_EQ(calendar.m_FirstWeekDayInActualMonth, 3);  // a Thursday
}

// February 2000: 29 days from a Tuesday, today the 15th, the time axis on.
TEST_F(CalendarView, PaintsFebruary2000AsTheFormulasGiveIt) {
  cTimeSchedule schedule;
  schedule.AddPeriod(1, 720, 721);  // Tuesdays 12:00-12:01
  schedule.AddPeriod(3, 0, 1440);   // Thursdays all day
  schedule.SetActive(2, false);     // Wednesday's day type is not in use
  calendar.m_ShowTimeAxis = true;
  calendar.m_AssociatedTimeSchedule = &schedule;
  calendar.SetDayType(cCalendar::DayNumber(2000, 2, 3), 3);    // shows "We", Thursday's bar
  calendar.SetDayType(cCalendar::DayNumber(2000, 2, 10), 10);  // image 3, Thursday's bar
  MakeHoliday(2000, 2, 14, u"Valentine", true);
  MakeHoliday(2000, 2, 21, u"Quiet", false);  // a holiday, but not a red one
  Show(2000, 2);
  calendar.Paint(host, surface);

  const Lines log = surface.Log();
  const Lines frame = {
      // White grid lines, one right of and below the black ones.
      "Line 31,4 31,170 rgb(255,255,255)",
      "Line 71,4 71,170 rgb(255,255,255)",
      "Line 111,4 111,170 rgb(255,255,255)",
      "Line 151,4 151,170 rgb(255,255,255)",
      "Line 191,4 191,170 rgb(255,255,255)",
      "Line 231,4 231,170 rgb(255,255,255)",
      "Line 271,4 271,170 rgb(255,255,255)",
      "Line 311,4 311,170 rgb(255,255,255)",
      "Line 30,4 310,4 rgb(255,255,255)",
      "Line 30,21 310,21 rgb(255,255,255)",
      "Line 30,46 310,46 rgb(255,255,255)",
      "Line 30,71 310,71 rgb(255,255,255)",
      "Line 30,96 310,96 rgb(255,255,255)",
      "Line 30,121 310,121 rgb(255,255,255)",
      "Line 30,146 310,146 rgb(255,255,255)",
      "Line 30,171 310,171 rgb(255,255,255)",
      "Line 30,4 30,170 rgb(0,0,0)",
      "Line 70,4 70,170 rgb(0,0,0)",
      "Line 110,4 110,170 rgb(0,0,0)",
      "Line 150,4 150,170 rgb(0,0,0)",
      "Line 190,4 190,170 rgb(0,0,0)",
      "Line 230,4 230,170 rgb(0,0,0)",
      "Line 270,4 270,170 rgb(0,0,0)",
      "Line 310,4 310,170 rgb(0,0,0)",
      "Line 30,3 310,3 rgb(0,0,0)",
      "Line 30,20 310,20 rgb(0,0,0)",
      "Line 30,45 310,45 rgb(0,0,0)",
      "Line 30,70 310,70 rgb(0,0,0)",
      "Line 30,95 310,95 rgb(0,0,0)",
      "Line 30,120 310,120 rgb(0,0,0)",
      "Line 30,145 310,145 rgb(0,0,0)",
      "Line 30,170 310,170 rgb(0,0,0)",
      // Headings centred in their columns, 20 - 12 - 2 from the top, bold.
      "Print \"Mon\" at 41,6 rgb(0,0,0) bold",
      "Print \"Tue\" at 81,6 rgb(0,0,0) bold",
      "Print \"Wed\" at 121,6 rgb(0,0,0) bold",
      "Print \"Thu\" at 161,6 rgb(0,0,0) bold",
      "Print \"Fri\" at 201,6 rgb(0,0,0) bold",
      "Print \"Sat\" at 241,6 rgb(0,0,0) bold",
      "Print \"Sun\" at 281,6 rgb(0,0,0) bold",
      // ISO weeks of the 1st, 8th, 15th, 22nd, 29th and "36th" (7 March).
      "Print \"5\" at 12,26.5 GrayText",
      "Print \"6\" at 12,51.5 GrayText",
      "Print \"7\" at 12,76.5 GrayText",
      "Print \"8\" at 12,101.5 GrayText",
      "Print \"9\" at 12,126.5 GrayText",
      "Print \"10\" at 12,151.5 GrayText",
  };
  ASSERT_GE(log.size(), frame.size());
  EXPECT_EQ(Lines(log.begin(), log.begin() + static_cast<long>(frame.size())), frame);

  // One box per day, in order, in cell 1 + d.
  Lines boxes;
  std::copy_if(log.begin(), log.end(), std::back_inserter(boxes),
               [](const std::string& line) { return line.starts_with("Box "); });
  ASSERT_EQ(boxes.size(), 29u);
  for (int d = 0; d < 29; ++d)
    EXPECT_EQ(boxes[d], BoxAt((1 + d) % 7 * 40 + 32, (1 + d) / 7 * 25 + 22)) << d;
  EXPECT_EQ(log[frame.size()], boxes[0]);

  // Tuesday the 1st: its number and 12:00-12:01 from X + 18 to X + 19.
  EXPECT_EQ(DrawingOfBox(log, 72, 22), Concat({{BoxAt(72, 22), "Print \"1\" at 72,22 GrayText"},
                                               BarBackground(72, 22),
                                               BarPeriod(90, 91, 22)}));
  // The 3rd holds value 3: Wednesday's short name, ending at X + 36; day type 2 is not
  // active, so the bar is the Thursday's own.
  EXPECT_EQ(DrawingOfBox(log, 152, 22), Concat({{BoxAt(152, 22), "Print \"3\" at 152,22 GrayText",
                                                 "Print \"We\" at 176,22 ButtonText"},
                                                BarBackground(152, 22),
                                                BarPeriod(152, 189, 22)}));
  // Sunday the 6th is red above the bar; Sundays have no periods.
  EXPECT_EQ(DrawingOfBox(log, 272, 22), Concat({{BoxAt(272, 22)},
                                                Strip(272, 22, 16, false),
                                                {"Print \"6\" at 272,22 GrayText"},
                                                BarBackground(272, 22)}));
  // The 10th holds value 10: the host draws image 3; special day type 9 is not active.
  EXPECT_EQ(DrawingOfBox(log, 152, 47), Concat({{BoxAt(152, 47), "Print \"10\" at 152,47 GrayText"},
                                                BarBackground(152, 47),
                                                BarPeriod(152, 189, 47)}));
  // Monday the 14th is a red holiday; the 21st's only label does not ask for red.
  EXPECT_EQ(DrawingOfBox(log, 32, 72), Concat({{BoxAt(32, 72)},
                                               Strip(32, 72, 16, false),
                                               {"Print \"14\" at 32,72 GrayText"},
                                               BarBackground(32, 72)}));
  EXPECT_EQ(DrawingOfBox(log, 32, 97),
            Concat({{BoxAt(32, 97), "Print \"21\" at 32,97 GrayText"}, BarBackground(32, 97)}));
  // Today, Tuesday the 15th.
  EXPECT_EQ(DrawingOfBox(log, 72, 72), Concat({{BoxAt(72, 72)},
                                               Strip(72, 72, 16, true),
                                               {"Print \"15\" at 72,72 GrayText"},
                                               BarBackground(72, 72),
                                               BarPeriod(90, 91, 72)}));
  // The 29th, in row 4, column 1.
  EXPECT_EQ(DrawingOfBox(log, 72, 122)[1], "Print \"29\" at 72,122 GrayText");

  EXPECT_EQ(host.Log(), (Lines{
                            "Set_Text_Calendar_Month(\"February 2000\")",
                            "Draw_ImageList_ListImages(3%, 4242&, 180#, 47&, 1&)",
                        }));
  EXPECT_FALSE(surface.FontBold());
  EXPECT_EQ(surface.ForeColor(), kSystemButtonText);
}

TEST_F(CalendarView, WithoutTheTimeAxisStripsFillTheBoxAndTodayWins) {
  cTimeSchedule schedule;
  schedule.AddPeriod(6, 0, 1440);
  calendar.m_AssociatedTimeSchedule = &schedule;  // no bars while the axis is off
  const auto sunday = hcp::ToTimePoint(hcp::ToDateTime({2000, 2, 20, 8, 0, 0}));
  hcp::SetClock([sunday] { return sunday; });
  Show(2000, 2);
  calendar.PaintDateBox(host, surface, 18);  // Saturday the 19th: nothing but its number
  calendar.PaintDateBox(host, surface, 19);  // Sunday the 20th, today
  EXPECT_EQ(surface.Log(),
            Concat({{BoxAt(232, 72), "Print \"19\" at 232,72 GrayText", BoxAt(272, 72)},
                    Strip(272, 72, 22, false),
                    Strip(272, 72, 22, true),
                    {"Print \"20\" at 272,72 GrayText"}}));
  EXPECT_EQ(ErrorNumberOf([&] { calendar.PaintDateBox(host, surface, 29); }),
            hcp::kSubscriptOutOfRange);
  EXPECT_EQ(ErrorNumberOf([&] { calendar.PaintDateBox(host, surface, -1); }),
            hcp::kSubscriptOutOfRange);
}

TEST_F(CalendarView, ValuesThatNameNoDayTypeShowNoMarkAndTheWeekdaysBar) {
  cTimeSchedule schedule;
  schedule.AddPeriod(0, 0, 1440);
  calendar.m_ShowTimeAxis = true;
  calendar.m_AssociatedTimeSchedule = &schedule;
  Show(2000, 2);
  for (const std::int16_t value : {24, -1, 32767}) {
    calendar.SetDayType(cCalendar::DayNumber(2000, 2, 7), value);  // a Monday
    surface.ClearLog();
    calendar.PaintDateBox(host, surface, 6);
    EXPECT_EQ(surface.Log(), Concat({{BoxAt(32, 47), "Print \"7\" at 32,47 GrayText"},
                                     BarBackground(32, 47),
                                     BarPeriod(32, 69, 47)}))
        << value;
  }
  EXPECT_TRUE(host.calls.empty());
}

TEST_F(CalendarView, MinutesOutsideTheDayDrawClippedToTheBox) {
  cTimeSchedule schedule;
  schedule.AddPeriod(0, -5, 2000);
  schedule.AddPeriod(0, 1000, 500);  // ends before it starts: covers nothing
  schedule.AddPeriod(0, 32767, -32768);
  calendar.m_ShowTimeAxis = true;
  calendar.m_AssociatedTimeSchedule = &schedule;
  Show(2000, 2);
  calendar.PaintDateBox(host, surface, 6);  // Monday the 7th
  EXPECT_EQ(surface.Log(), Concat({{BoxAt(32, 47), "Print \"7\" at 32,47 GrayText"},
                                   BarBackground(32, 47),
                                   BarPeriod(32, 69, 47)}));
}

TEST_F(CalendarView, HeadingsComeFromTheHostsTextsElseTheUsersLanguage) {
  const std::u16string texts[] = {u"Montag",  u"Dienstag", u"Mittwoch",     u"Donnerstag",
                                  u"Freitag", u"Samstag",  u"\U0001F600Son"};
  for (int k = 0; k < 7; ++k) {
    if (k == 2) continue;  // Wednesday's text is missing from the table
    hcp::TextIndex.push_back({611 + k, static_cast<std::int32_t>(hcp::TextStore.size() + 1),
                              static_cast<std::int32_t>(texts[k].size())});
    hcp::TextStore += texts[k];
  }
  hcp::TextCount = static_cast<std::int32_t>(hcp::TextIndex.size());
  Show(2000, 2);
  calendar.Paint(host, surface);
  hcp::TextStore.clear();
  hcp::TextIndex.clear();
  hcp::TextCount = 0;

  Lines headings;
  for (const std::string& line : surface.Log()) {
    if (line.ends_with(" bold")) headings.push_back(line);
  }
  EXPECT_EQ(headings, (Lines{
                          "Print \"Mon\" at 41,6 rgb(0,0,0) bold",
                          "Print \"Die\" at 81,6 rgb(0,0,0) bold",
                          "Print \"Wed\" at 121,6 rgb(0,0,0) bold",
                          "Print \"Don\" at 161,6 rgb(0,0,0) bold",
                          "Print \"Fre\" at 201,6 rgb(0,0,0) bold",
                          "Print \"Sam\" at 241,6 rgb(0,0,0) bold",
                          // Three characters, the first of them two UTF-16 units: 4 x 6 wide.
                          "Print \"\xF0\x9F\x98\x80So\" at 278,6 rgb(0,0,0) bold",
                      }));
}

TEST_F(CalendarView, WeekNumbersFollowTheUsersRule) {
  SetCalendarLocale(std::make_shared<FixedCalendarLocale>(kUsWeeks));
  Show(2021, 1);  // 1 January 2021, a Friday: ISO week 53, US week 1
  calendar.Paint(host, surface);
  Lines weeks;
  for (const std::string& line : surface.Log()) {
    if (line.ends_with(" GrayText") && line.find(" at 12,") != std::string::npos)
      weeks.push_back(line.substr(0, line.find(" at ")));
  }
  EXPECT_EQ(weeks, (Lines{"Print \"1\"", "Print \"2\"", "Print \"3\"", "Print \"4\"", "Print \"5\"",
                          "Print \"6\""}));
  EXPECT_EQ(host.Log()[0], "Set_Text_Calendar_Month(\"January 2021\")");
}

TEST_F(CalendarView, DateFromPointHitsCellsOfTheMonthOnly) {
  Show(2000, 2);
  const struct {
    double x, y;
    int date;
  } points[] = {
      {75, 25, 0},          // Tuesday the 1st
      {70, 25, 0},          // an inner grid line belongs to the cell right of it
      {75, 45, 7},          // ... and below it
      {35, 25, -1},         // Monday before the 1st
      {30, 50, -1},         // the grid's left line
      {75, 20, -1},         // its top line
      {310, 50, -1},        // its right line
      {75, 170, -1},        // its bottom line
      {320, 50, -1},        // right of the grid
      {75, 10, -1},         // the headings
      {75, 125, 28},        // the 29th, row 4, column 1
      {115, 125, -1},       // after the last day
      {309.9, 169.9, -1},   // the last cell
      {30.01, 20.01, -1},   // the first cell, before the 1st
      {309.99, 69.99, 12},  // Sunday the 13th, a hair inside its cell
  };
  for (const auto& p : points)
    EXPECT_EQ(calendar.DateFromPoint(p.x, p.y), p.date) << p.x << "," << p.y;

  Show(2000, 10);  // 1 October 2000, a Sunday, uses all six rows
  EXPECT_EQ(calendar.DateFromPoint(295, 25), 0);
  EXPECT_EQ(calendar.DateFromPoint(75, 160), 30);
  EXPECT_EQ(calendar.DateFromPoint(115, 160), -1);
}

TEST_F(CalendarView, ADragAcrossAWeekPaintsEachDatePassedOnce) {
  Show(2000, 2);
  Choose(3);
  const double y = CellY(6);  // the row of Monday the 7th
  mouse.MoveTo(CellX(6), y);  // hovering first, as a user does
  mouse.Press(kLeftButton, CellX(6), y);
  mouse.DragTo(CellX(12), y, 24);      // to Sunday the 13th, several moves per date
  mouse.DragTo(CellX(12), y + 40, 4);  // then down the Sundays to the 27th
  mouse.Release();

  const Lines log = surface.Log();
  for (int d = 0; d < 29; ++d) {
    const bool passed = (d >= 6 && d <= 12) || d == 19 || d == 26;
    EXPECT_EQ(calendar.GetDayType(31 + d), passed ? 3 : 0) << d;
    EXPECT_EQ(CountOf(log, BoxAt((1 + d) % 7 * 40 + 32, (1 + d) / 7 * 25 + 22)), passed ? 1u : 0u)
        << d;
  }
  EXPECT_EQ(calendar.GetPaintingDayType(), -1);

  // Released, moving paints nothing; dragging over dates that hold the value redraws none.
  surface.ClearLog();
  mouse.DragTo(CellX(0), CellY(0), 10);
  mouse.Press(kLeftButton, CellX(6), y);
  mouse.DragTo(CellX(12), y, 24);
  mouse.Release();
  EXPECT_EQ(calendar.GetDayType(31), 0);
  for (const std::string& line : surface.Log())
    EXPECT_FALSE(line.starts_with("Box ")) << line;
}

TEST_F(CalendarView, PressesThatPaintNothing) {
  Show(2000, 2);
  // No day type chosen in the host's list.
  mouse.Press(kLeftButton, CellX(0), CellY(0));
  mouse.DragTo(CellX(5), CellY(0), 10);
  mouse.Release();
  // Chosen, but pressed on the headings and dragged along them, or outside the grid.
  Choose(9);
  mouse.Press(kLeftButton, CellX(0), 10);
  mouse.DragTo(CellX(5), 10, 10);
  mouse.Release();
  mouse.Press(kLeftButton, 5, CellY(0));
  mouse.Release();
  // An index the list cannot hold.
  host.Answer(HostOperation::Get_Combo_Calendar_DayType_SelectedItem_Index, std::int16_t{26});
  mouse.Press(kLeftButton, CellX(0), CellY(0));
  mouse.DragTo(CellX(5), CellY(0), 10);
  mouse.Release();

  cCalendar untouched;
  EXPECT_TRUE(calendar.CompareToOtherCalendar(untouched));
  for (const std::string& line : surface.Log())
    EXPECT_FALSE(line.starts_with("Box ")) << line;
}

TEST_F(CalendarView, TheFirstItemPaintsOrdinaryDays) {
  Show(2000, 2);
  calendar.SetDayType(31, 12);
  Choose(0);
  mouse.ClickAt(kLeftButton, CellX(0), CellY(0));
  EXPECT_EQ(calendar.GetDayType(31), 0);
  EXPECT_EQ(CountOf(surface.Log(), BoxAt(72, 22)), 1u);
}

TEST_F(CalendarView, TooltipsNameTheDayTypeAndTheHoliday) {
  Show(2000, 2);
  calendar.SetDayType(cCalendar::DayNumber(2000, 2, 3), 3);
  calendar.SetDayType(cCalendar::DayNumber(2000, 2, 4), 10);
  calendar.SetDayType(cCalendar::DayNumber(2000, 2, 5), 99);  // as a file may hold it
  MakeHoliday(2000, 2, 4, u"Founders", false);
  MakeHoliday(2000, 2, 4, u"Second label", true);
  MakeHoliday(2000, 2, 14, u"Valentine", true);
  const auto tipAt = [&](int d) {
    mouse.MoveTo(CellX(d), CellY(d));
    return hcp::Utf16ToUtf8(surface.ToolTipText());
  };
  EXPECT_EQ(tipAt(2), "Like Wednesday");
  EXPECT_EQ(tipAt(3), "Special 3 (Founders)");  // the first label of the day
  EXPECT_EQ(tipAt(13), " (Valentine)");
  EXPECT_EQ(tipAt(4), "");  // no name for a value no day type has
  EXPECT_EQ(tipAt(0), "");
  EXPECT_EQ(host.Log(), (Lines{"Get_Combo_Calendar_DayType_ComboItems(4%)",
                               "Get_Combo_Calendar_DayType_ComboItems(11%)"}));

  // Moves within a date ask nothing more; leaving the grid clears the tooltip.
  host.ClearLog();
  surface.ClearLog();
  mouse.MoveTo(CellX(2), CellY(2));
  mouse.MoveTo(CellX(2) + 5, CellY(2) - 3);
  mouse.MoveTo(CellX(2), 5);
  EXPECT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(surface.Log(), (Lines{"ToolTip \"Like Wednesday\"", "ToolTip \"\""}));
}

TEST_F(CalendarView, TooltipsFollowPaintingAndMonthChanges) {
  Show(2000, 2);
  Choose(2);
  mouse.MoveTo(CellX(4), CellY(4));
  EXPECT_EQ(surface.ToolTipText(), u"");
  mouse.Press(kLeftButton, CellX(4), CellY(4));
  mouse.MoveTo(CellX(4) + 1, CellY(4));  // the same date, now painted
  EXPECT_EQ(surface.ToolTipText(), u"Like Tuesday");
  mouse.Release();

  // August 2000 also starts on a Tuesday: the same place is the 5th again, of another
  // month.
  calendar.SetDayType(cCalendar::DayNumber(2000, 8, 5), 5);
  Show(2000, 8);
  mouse.MoveTo(CellX(4), CellY(4));
  EXPECT_EQ(surface.ToolTipText(), u"Like Friday");
}

TEST_F(CalendarView, MouseMoveSwallowsFailuresAndCarriesOn) {
  Show(2000, 2);
  calendar.SetDayType(cCalendar::DayNumber(2000, 2, 14), 4);
  MakeHoliday(2000, 2, 14, u"Valentine", true);
  host.Refuse(HostOperation::Get_Combo_Calendar_DayType_ComboItems);
  EXPECT_NO_THROW(mouse.MoveTo(CellX(13), CellY(13)));
  EXPECT_EQ(surface.ToolTipText(), u" (Valentine)");

  // A month outside the calendar: no date there can be read or painted.
  Choose(3);
  Show(2040, 1);
  EXPECT_NO_THROW(mouse.MoveTo(CellX(1), CellY(1)));
  EXPECT_EQ(ErrorNumberOf([&] { mouse.Press(kLeftButton, CellX(2), CellY(2)); }),
            hcp::kSubscriptOutOfRange);
  EXPECT_NO_THROW(mouse.DragTo(CellX(5), CellY(5), 5));
  EXPECT_EQ(ErrorNumberOf([&] { calendar.Paint(host, surface); }), hcp::kSubscriptOutOfRange);
}

TEST_F(CalendarView, MouseDownPassesHostFailuresOn) {
  Show(2000, 2);
  host.Refuse(HostOperation::Get_Combo_Calendar_DayType_SelectedItem);
  EXPECT_EQ(ErrorNumberOf([&] { mouse.Press(kLeftButton, CellX(0), CellY(0)); }),
            hcp::kObjectDoesNotSupportMember);
  EXPECT_EQ(calendar.GetDayType(31), 0);
}

}  // namespace
}  // namespace Halvane_Config
