// The calendar of day types: painting dates with the mouse, and the months it shows.
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include "EditorFixture.h"
#include "config-editor/CalendarPanel.h"
#include "config-editor/DayTypeImages.h"
#include "config-editor/LogPane.h"

namespace ConfigEditor {
namespace {

namespace hc = Halvane_Config;

class CalendarTest : public EditorTest {
 protected:
  void SetUp() override {
    Open();
    window->Tabs().setCurrentIndex(MainWindow::kCalendarTab);
  }

  hc::cCalendar& Calendar() { return workspace->Calendar().Calendar(); }
  // The middle of the box of a day of the month shown (1-based).
  QPointF DayAt(int day) {
    const int cell = Calendar().m_FirstWeekDayInActualMonth + day - 1;
    return At(window->Calendar().Surface(), {30 + cell % 7 * 40 + 20.0, 20 + cell / 7 * 25 + 12.0});
  }
  void ChooseDayType(int value) {
    window->findChild<QListWidget*>(QStringLiteral("Combo_Calendar_DayType"))->setCurrentRow(value);
  }
  std::int16_t DayTypeOf(int year, int month, int day) {
    return Calendar().GetDayType(hc::cCalendar::DayNumber(year, month, day));
  }
};

TEST_F(CalendarTest, PaintingDragGivesTheDatesTheChosenDayTypeAndIsSaved) {
  window->Calendar().ShowMonth(2026, 3);
  const int special1 = 8;
  ChooseDayType(special1);
  // Monday 2 March to Wednesday 4 March: one row of the grid.
  Drag(window->Calendar().Surface(), DayAt(2), DayAt(4));

  EXPECT_EQ(DayTypeOf(2026, 3, 1), 0);
  EXPECT_EQ(DayTypeOf(2026, 3, 2), special1);
  EXPECT_EQ(DayTypeOf(2026, 3, 3), special1);
  EXPECT_EQ(DayTypeOf(2026, 3, 4), special1);
  EXPECT_EQ(DayTypeOf(2026, 3, 5), 0);
  EXPECT_TRUE(window->windowTitle().contains(u'*'));

  ASSERT_TRUE(window->SaveAll());
  EXPECT_FALSE(window->windowTitle().contains(u'*'));
  hc::cCalendar loaded;
  ASSERT_TRUE(loaded.ReadFromDisk(workspace->Calendar().Path().toStdU16String()));
  EXPECT_TRUE(loaded.CompareToOtherCalendar(Calendar()));
  EXPECT_EQ(loaded.GetDayType(hc::cCalendar::DayNumber(2026, 3, 3)), special1);

  // The ordinary day paints a date back.
  ChooseDayType(0);
  Click(window->Calendar().Surface(), DayAt(3));
  EXPECT_EQ(DayTypeOf(2026, 3, 3), 0);
  EXPECT_TRUE(window->windowTitle().contains(u'*'));
}

TEST_F(CalendarTest, ArrowKeysAndSpacePaintADate) {
  window->Calendar().ShowMonth(2026, 3);
  const int special16 = 23;
  ChooseDayType(special16);
  QWidget& surface = window->Calendar().Surface();
  surface.setFocus();
  QTest::keyClick(&surface, Qt::Key_Left);  // stays on the 1st
  QTest::keyClick(&surface, Qt::Key_Down);
  QTest::keyClick(&surface, Qt::Key_Right);
  QTest::keyClick(&surface, Qt::Key_Space);
  EXPECT_EQ(DayTypeOf(2026, 3, 9), special16);
  EXPECT_EQ(DayTypeOf(2026, 3, 8), 0);
  QTest::keyClick(&surface, Qt::Key_PageDown);
  EXPECT_EQ(Calendar().m_SelectedMonth, 4);
}

TEST_F(CalendarTest, ACalendarFileThatCannotBeReadIsNeverSavedOver) {
  window.reset();
  folder.Write("Calendar.dat", "too short");
  Open();
  window->Calendar().ShowMonth(2026, 3);
  ChooseDayType(8);
  Drag(window->Calendar().Surface(), DayAt(2), DayAt(4));
  EXPECT_EQ(DayTypeOf(2026, 3, 3), 0);
  EXPECT_FALSE(window->windowTitle().contains(u'*'));
  window->SaveAll();
  EXPECT_EQ(folder.Read("Calendar.dat"), "too short");
  EXPECT_TRUE(window->Log().toPlainText().contains(QStringLiteral("cannot be read")));
}

TEST_F(CalendarTest, MonthsStayInsideTheCalendarsYears) {
  auto* previous = window->findChild<QPushButton*>(QStringLiteral("Command_Calendar_Previous"));
  auto* next = window->findChild<QPushButton*>(QStringLiteral("Command_Calendar_Next"));
  window->Calendar().ShowMonth(1999, 12);
  EXPECT_EQ(Calendar().m_SelectedYear, 2000);
  EXPECT_EQ(Calendar().m_SelectedMonth, 1);
  EXPECT_FALSE(previous->isEnabled());
  window->Calendar().ShowMonth(2039, 11);
  next->click();
  EXPECT_EQ(Calendar().m_SelectedMonth, 12);
  EXPECT_FALSE(next->isEnabled());
  window->Calendar().ShowMonth(2040, 1);
  EXPECT_EQ(Calendar().m_SelectedYear, 2039);
  EXPECT_EQ(Calendar().m_SelectedMonth, 12);
  previous->click();
  EXPECT_EQ(Calendar().m_SelectedMonth, 11);
  EXPECT_TRUE(next->isEnabled());
}

TEST_F(CalendarTest, DayTypeListHasTheOrdinaryDayTheWeekdaysAndTheSpecialDayTypes) {
  auto* list = window->findChild<QListWidget*>(QStringLiteral("Combo_Calendar_DayType"));
  ASSERT_EQ(list->count(), 1 + 7 + 16);
  QStringList texts;
  for (int i = 0; i < list->count(); ++i)
    texts << list->item(i)->text();
  EXPECT_EQ(texts.size(), QSet<QString>(texts.begin(), texts.end()).size());
  // The special day types carry the 16 images, no two alike.
  for (int i = 8; i < list->count(); ++i)
    EXPECT_FALSE(list->item(i)->icon().isNull()) << i;
  for (int a = 1; a <= DayTypeImages::kCount; ++a) {
    ASSERT_FALSE(DayTypeImages::Image(a).isNull());
    for (int b = a + 1; b <= DayTypeImages::kCount; ++b)
      EXPECT_NE(DayTypeImages::Image(a), DayTypeImages::Image(b)) << a << " " << b;
  }
}

}  // namespace
}  // namespace ConfigEditor
