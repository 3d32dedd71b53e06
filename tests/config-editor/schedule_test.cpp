// The weekly schedule in the editor, driven with the mouse and the keyboard.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include "EditorFixture.h"
#include "config-editor/EditorHost.h"
#include "config-editor/LogPane.h"
#include "config-editor/ProfilesPage.h"
#include "config-editor/ScheduleEditorPanel.h"

namespace ConfigEditor {
namespace {

namespace hc = Halvane_Config;

// Where the editor draws a minute and a row's bar.
double MinuteX(int minute) {
  return 30 + minute / 5.0;
}
double RowY(int row) {
  return row * 25 + 11;
}

class ScheduleTest : public EditorTest {
 protected:
  void SetUp() override {
    Open();
    ClickNew(window->Profiles());
    profile = window->Profiles().Current();
    ASSERT_NE(profile, nullptr);
  }

  ScheduleEditorPanel& Editor() { return window->Profiles().Editor(); }
  QWidget& Surface() { return Editor().Surface(); }
  QString Field(const char* name) {
    return window->findChild<QLineEdit*>(QString::fromLatin1(name))->text();
  }
  // The periods of a day type: start and stop minutes.
  std::vector<std::pair<int, int>> Periods(int dayType) {
    std::vector<std::pair<int, int>> periods;
    for (const hc::PeriodRef& period : profile->m_TimeSchedule->GetPeriods(dayType))
      periods.emplace_back(period->m_StartMinute, period->m_StopMinute);
    return periods;
  }
  QAction* PopupItem(const QString& caption) {
    for (QAction* action : Editor().PopupMenu().actions())
      if (action->text() == caption) return action;
    ADD_FAILURE() << "no popup item " << caption.toStdString();
    return nullptr;
  }
  // A point of the schedule, in its units: a minute of a row's bar.
  QPointF Point(int minute, int row) {
    return At(Editor().Surface(), {MinuteX(minute), RowY(row)});
  }
  bool IsBarGreen(QPoint units) {
    const QColor pixel = Editor().Surface().Surface().ColourAt(At(Editor().Surface(), units));
    return pixel.green() > 100 && pixel.red() < 40 && pixel.blue() < 40;
  }

  std::shared_ptr<hc::cProfile> profile;
};

// A new profile has Monday to Friday grouped with one period each; Saturday and Sunday,
// the last two rows, are empty.
constexpr int kMondayRow = 0;
constexpr int kSaturdayRow = 5;
constexpr int kSundayRow = 6;

TEST_F(ScheduleTest, DragCreatesAPeriodThatTheFieldsShowAndTheSurfaceDrawsGreen) {
  Drag(Surface(), Point(8 * 60, kSaturdayRow), Point(16 * 60, kSaturdayRow));

  const int saturday = profile->m_TimeSchedule->GetSelectedDayType();
  ASSERT_GE(saturday, 0);
  EXPECT_EQ(profile->m_TimeSchedule->GetAxisRow(saturday), kSaturdayRow);
  EXPECT_EQ(Periods(saturday), (std::vector<std::pair<int, int>>{{8 * 60, 16 * 60}}));
  EXPECT_EQ(Field("Text_Schedule_Period_Start"), QStringLiteral("08:00"));
  EXPECT_EQ(Field("Text_Schedule_Period_Stop"), QStringLiteral("16:00"));

  EXPECT_TRUE(IsBarGreen(QPoint(int(MinuteX(8 * 60 + 10)), int(RowY(kSaturdayRow)))));
  EXPECT_TRUE(IsBarGreen(QPoint(int(MinuteX(16 * 60 - 10)), int(RowY(kSaturdayRow)))));
  EXPECT_FALSE(IsBarGreen(QPoint(int(MinuteX(8 * 60 - 10)), int(RowY(kSaturdayRow)))));
  EXPECT_FALSE(IsBarGreen(QPoint(int(MinuteX(16 * 60 + 10)), int(RowY(kSaturdayRow)))));
  EXPECT_FALSE(IsBarGreen(QPoint(int(MinuteX(12 * 60)), int(RowY(kSundayRow)))));
  EXPECT_TRUE(window->windowTitle().contains(u'*'));
}

TEST_F(ScheduleTest, TypedTimesApplyOnEnter) {
  Drag(Surface(), Point(8 * 60, kSundayRow), Point(16 * 60, kSundayRow));
  const int sunday = profile->m_TimeSchedule->GetSelectedDayType();
  auto* start = window->findChild<QLineEdit*>(QStringLiteral("Text_Schedule_Period_Start"));
  start->setFocus();
  start->selectAll();
  QTest::keyClicks(start, QStringLiteral("06:30"));
  QTest::keyClick(start, Qt::Key_Return);
  EXPECT_EQ(Periods(sunday), (std::vector<std::pair<int, int>>{{6 * 60 + 30, 16 * 60}}));
  EXPECT_TRUE(IsBarGreen(QPoint(int(MinuteX(6 * 60 + 45)), int(RowY(kSundayRow)))));
}

TEST_F(ScheduleTest, ATypedTextThatIsNoTimeIsRefusedAndChangesNothing) {
  // Monday's period: Monday to Friday are grouped.
  Click(Surface(), Point(12 * 60, kMondayRow));
  auto* start = window->findChild<QLineEdit*>(QStringLiteral("Text_Schedule_Period_Start"));
  auto* stop = window->findChild<QLineEdit*>(QStringLiteral("Text_Schedule_Period_Stop"));
  const auto enter = [](QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
    if (text.isEmpty()) QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClick(edit, Qt::Key_Return);
  };
  std::string before;
  profile->m_TimeSchedule->PutDiskForm(before);
  for (const auto& [edit, text] :
       {std::pair{stop, QStringLiteral("abc")}, std::pair{stop, QString()},
        std::pair{start, QStringLiteral("O9:00")}}) {
    SCOPED_TRACE(text.toStdString());
    enter(edit, text);
    std::string after;
    profile->m_TimeSchedule->PutDiskForm(after);
    EXPECT_EQ(after, before);
    EXPECT_FALSE(edit->toolTip().isEmpty());
    EXPECT_TRUE(edit->styleSheet().contains(QStringLiteral("red")));
    enter(edit, edit == start ? QStringLiteral("07:00") : QStringLiteral("16:00"));
    EXPECT_TRUE(edit->toolTip().isEmpty());
  }

  // Past the day: clamped, and the box shows what was taken.
  enter(stop, QStringLiteral("25:00"));
  EXPECT_EQ(stop->text(), QStringLiteral("24:00"));
  EXPECT_EQ(Periods(4), (std::vector<std::pair<int, int>>{{7 * 60, 24 * 60}}));
  for (const auto& [text, minute] : {std::pair{"9", 9 * 60}, std::pair{"0930", 9 * 60 + 30},
                                     std::pair{"9.15", 9 * 60 + 15}, std::pair{" 8:00", 8 * 60}}) {
    enter(start, QString::fromLatin1(text));
    EXPECT_EQ(Periods(0), (std::vector<std::pair<int, int>>{{minute, 24 * 60}})) << text;
  }
}

TEST_F(ScheduleTest, PopupItemsHaveTheEditorsStatesAndAct) {
  const int monday = 0;
  // Right button on Monday: grouped Monday to Friday, nothing copied yet.
  Click(Surface(), Point(12 * 60, kMondayRow), Qt::RightButton);
  EXPECT_TRUE(Editor().PopupMenu().isVisible());
  EXPECT_TRUE(PopupItem(QStringLiteral("&Group"))->isChecked());
  EXPECT_TRUE(PopupItem(QStringLiteral("Group &Monday-Friday"))->isChecked());
  EXPECT_FALSE(PopupItem(QStringLiteral("&Paste"))->isEnabled());
  EXPECT_TRUE(PopupItem(QStringLiteral("&Delete"))->isEnabled());
  PopupItem(QStringLiteral("&Copy"))->trigger();
  Editor().PopupMenu().hide();

  // On Sunday: not grouped, and Paste brings Monday's periods.
  Click(Surface(), Point(2 * 60, kSundayRow), Qt::RightButton);
  const int sunday = profile->m_TimeSchedule->GetSelectedDayType();
  ASSERT_NE(sunday, monday);
  EXPECT_FALSE(PopupItem(QStringLiteral("&Group"))->isChecked());
  EXPECT_TRUE(PopupItem(QStringLiteral("&Paste"))->isEnabled());
  PopupItem(QStringLiteral("&Paste"))->trigger();
  Editor().PopupMenu().hide();
  ASSERT_EQ(Periods(monday).size(), 1u);
  EXPECT_EQ(Periods(sunday), Periods(monday));
  const auto [start, stop] = Periods(monday)[0];
  EXPECT_TRUE(IsBarGreen(QPoint(int(MinuteX((start + stop) / 2)), int(RowY(kSundayRow)))));

  // Invert, then the whole day, then delete the selected period.
  Click(Surface(), Point(2 * 60, kSundayRow), Qt::RightButton);
  PopupItem(QStringLiteral("&Invert"))->trigger();
  EXPECT_EQ(Periods(sunday), (std::vector<std::pair<int, int>>{{0, start}, {stop, 24 * 60}}));
  Click(Surface(), Point(2 * 60, kSundayRow), Qt::RightButton);
  PopupItem(QStringLiteral("00:00-&24:00"))->trigger();
  EXPECT_EQ(Periods(sunday), (std::vector<std::pair<int, int>>{{0, 24 * 60}}));
  Click(Surface(), Point(12 * 60, kSundayRow));
  Click(Surface(), Point(12 * 60, kSundayRow), Qt::RightButton);
  PopupItem(QStringLiteral("&Delete"))->trigger();
  Editor().PopupMenu().hide();
  EXPECT_TRUE(Periods(sunday).empty());
  EXPECT_FALSE(IsBarGreen(QPoint(int(MinuteX(12 * 60)), int(RowY(kSundayRow)))));
}

TEST_F(ScheduleTest, GroupMondayToFridayTogglesAndCopiesMonday) {
  const int monday = 0;
  const int friday = 4;
  Click(Surface(), Point(12 * 60, kMondayRow), Qt::RightButton);
  PopupItem(QStringLiteral("Group &Monday-Friday"))->trigger();
  Editor().PopupMenu().hide();
  EXPECT_FALSE(profile->m_TimeSchedule->GetGrouped(monday));
  Click(Surface(), Point(12 * 60, kMondayRow), Qt::RightButton);
  EXPECT_FALSE(PopupItem(QStringLiteral("Group &Monday-Friday"))->isChecked());
  Editor().PopupMenu().hide();

  // Ungrouped, a new Monday period stays Monday's own ...
  Drag(Surface(), Point(18 * 60, kMondayRow), Point(20 * 60, kMondayRow));
  EXPECT_EQ(Periods(monday).size(), 2u);
  EXPECT_EQ(Periods(friday).size(), 1u);
  // ... until the days are grouped again.
  Click(Surface(), Point(12 * 60, kMondayRow), Qt::RightButton);
  PopupItem(QStringLiteral("Group &Monday-Friday"))->trigger();
  Editor().PopupMenu().hide();
  EXPECT_TRUE(profile->m_TimeSchedule->GetGrouped(friday));
  EXPECT_EQ(Periods(friday), Periods(monday));
}

TEST_F(ScheduleTest, DeleteRemovesEveryPeriodOfTheDayWhenTheOptionIsOn) {
  auto* option = window->findChild<QAction*>(QStringLiteral("Option_DeleteAllPeriods"));
  ASSERT_NE(option, nullptr);
  ASSERT_FALSE(option->isChecked());  // off unless the user turned it on
  Drag(Surface(), Point(2 * 60, kSundayRow), Point(4 * 60, kSundayRow));
  Drag(Surface(), Point(8 * 60, kSundayRow), Point(10 * 60, kSundayRow));
  const int sunday = profile->m_TimeSchedule->GetSelectedDayType();
  ASSERT_EQ(Periods(sunday).size(), 2u);

  Click(Surface(), Point(9 * 60, kSundayRow));
  Click(Surface(), Point(9 * 60, kSundayRow), Qt::RightButton);
  PopupItem(QStringLiteral("&Delete"))->trigger();
  Editor().PopupMenu().hide();
  EXPECT_EQ(Periods(sunday), (std::vector<std::pair<int, int>>{{2 * 60, 4 * 60}}));

  option->trigger();
  Drag(Surface(), Point(8 * 60, kSundayRow), Point(10 * 60, kSundayRow));
  Click(Surface(), Point(9 * 60, kSundayRow), Qt::RightButton);
  PopupItem(QStringLiteral("&Delete"))->trigger();
  Editor().PopupMenu().hide();
  option->trigger();
  EXPECT_TRUE(Periods(sunday).empty());
}

TEST_F(ScheduleTest, TheMenuActsOnThePeriodUnderThePointerAndTimesOfAGonePeriodAreCleared) {
  const int sunday = 6;
  Drag(Surface(), Point(2 * 60, kSundayRow), Point(4 * 60, kSundayRow));
  Drag(Surface(), Point(8 * 60, kSundayRow), Point(10 * 60, kSundayRow));
  Click(Surface(), Point(3 * 60, kSundayRow));
  // The right button alone selects the period under it, which the menu's Delete removes.
  Click(Surface(), Point(9 * 60, kSundayRow), Qt::RightButton);
  EXPECT_EQ(Field("Text_Schedule_Period_Start"), QStringLiteral("08:00"));
  EXPECT_TRUE(IsBarGreen(QPoint(int(MinuteX(9 * 60)), int(RowY(kSundayRow)))));
  EXPECT_LT(Editor().Surface().Surface().ColourAt(Point(9 * 60, kSundayRow)).green(), 200);
  PopupItem(QStringLiteral("&Delete"))->trigger();
  Editor().PopupMenu().hide();
  EXPECT_EQ(Periods(sunday), (std::vector<std::pair<int, int>>{{2 * 60, 4 * 60}}));

  // Inverted, the selected period is gone from its row: its times go, and Enter does nothing.
  Click(Surface(), Point(3 * 60, kSundayRow), Qt::RightButton);
  PopupItem(QStringLiteral("&Invert"))->trigger();
  auto* start = window->findChild<QLineEdit*>(QStringLiteral("Text_Schedule_Period_Start"));
  EXPECT_TRUE(start->text().isEmpty());
  EXPECT_FALSE(start->isEnabled());
  EXPECT_EQ(Periods(sunday), (std::vector<std::pair<int, int>>{{0, 2 * 60}, {4 * 60, 24 * 60}}));
}

TEST_F(ScheduleTest, TheGroupIsShownAndWhatOperationsDoToItIsLogged) {
  auto* group = window->findChild<QLabel*>(QStringLiteral("Label_Schedule_Group"));
  EXPECT_EQ(group->text(), QStringLiteral("Mon-Fri grouped"));
  // Drawn over the picture: as the screen shows the widget.
  const auto bracketShown = [this](int row) {
    const QImage shown = Editor().Surface().grab().toImage();
    const QPointF at = At(Editor().Surface(), {323, RowY(row)}) * shown.devicePixelRatio();
    return shown.pixelColor(at.toPoint()).lightness() < 100;
  };
  EXPECT_TRUE(bracketShown(kMondayRow));
  EXPECT_FALSE(bracketShown(kSaturdayRow));
  const auto logged = [this](const char* line) {
    return window->Log().toPlainText().contains(QString::fromLatin1(line));
  };

  Click(Surface(), Point(12 * 60, kMondayRow), Qt::RightButton);
  PopupItem(QStringLiteral("&Copy"))->trigger();
  Click(Surface(), Point(12 * 60, kSundayRow), Qt::RightButton);
  PopupItem(QStringLiteral("&Paste"))->trigger();
  EXPECT_TRUE(logged("Sunday joined the group of Monday and took its periods."));
  EXPECT_EQ(group->text(), QStringLiteral("Mon-Fri, Sun grouped"));

  const int tuesdayRow = 1;
  Click(Surface(), Point(12 * 60, tuesdayRow), Qt::RightButton);
  PopupItem(QStringLiteral("&Delete"))->trigger();
  EXPECT_TRUE(logged("Tuesday left the group."));
  EXPECT_EQ(group->text(), QStringLiteral("Mon, Wed-Fri, Sun grouped"));
  EXPECT_FALSE(bracketShown(tuesdayRow));

  // A drag on Monday goes to the rest of the group.
  Drag(Surface(), Point(19 * 60, kMondayRow), Point(21 * 60, kMondayRow));
  EXPECT_TRUE(logged("Wednesday to Friday and Sunday took the periods of Monday (grouped)."));
  Editor().PopupMenu().hide();
}

TEST_F(ScheduleTest, TheScheduleTabSaysWhenTheServerIgnoresTheSchedule) {
  auto* note = window->findChild<QWidget*>(QStringLiteral("Note_ScheduleNotUsed"));
  auto* use = window->findChild<QCheckBox*>(QStringLiteral("Check_Profile_UseTimeSchedule"));
  EXPECT_FALSE(profile->m_UseTimeSchedule);  // as the class makes a profile
  EXPECT_TRUE(note->isVisibleTo(window.get()));
  use->setChecked(true);
  EXPECT_FALSE(note->isVisibleTo(window.get()));
  use->setChecked(false);
  EXPECT_TRUE(note->isVisibleTo(window.get()));
  QTest::mouseClick(note->findChild<QPushButton*>(QStringLiteral("Command_UseTimeSchedule")),
                    Qt::LeftButton);
  EXPECT_TRUE(profile->m_UseTimeSchedule);
  EXPECT_TRUE(use->isChecked());
  EXPECT_FALSE(note->isVisibleTo(window.get()));
}

TEST_F(ScheduleTest, KeysChooseARowSelectItsPeriodsAndOpenTheMenu) {
  const int friday = 4;
  Surface().setFocus();
  for (int i = 0; i < 4; ++i)
    QTest::keyClick(&Surface(), Qt::Key_Down);
  QTest::keyClick(&Surface(), Qt::Key_Right);
  EXPECT_EQ(profile->m_TimeSchedule->GetSelectedDayType(), friday);
  const auto [start, stop] = Periods(friday).at(0);
  EXPECT_EQ(Field("Text_Schedule_Period_Start"), QStringLiteral("%1:%2")
                                                     .arg(start / 60, 2, 10, QChar(u'0'))
                                                     .arg(start % 60, 2, 10, QChar(u'0')));
  QTest::keyClick(&Surface(), Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_TRUE(Editor().PopupMenu().isVisible());
  EXPECT_TRUE(PopupItem(QStringLiteral("&Group"))->isChecked());
  Editor().PopupMenu().hide();
  EXPECT_EQ(Periods(friday).size(), 1u);
  EXPECT_EQ(Periods(friday)[0].second, stop);
}

}  // namespace
}  // namespace ConfigEditor
