// The schedule and the calendar drawn at the scale the window has room for: what the user
// points at on the screen is what the schedule takes, at any width and pixel ratio.
#include <QAction>
#include <QCheckBox>
#include <QListWidget>
#include <QMenu>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include "EditorFixture.h"
#include "config-editor/CalendarPanel.h"
#include "config-editor/HourRuler.h"
#include "config-editor/ProfilesPage.h"
#include "config-editor/ScheduleEditorPanel.h"

namespace ConfigEditor {
namespace {

namespace hc = Halvane_Config;

constexpr int kSaturdayRow = 5;

class ScaledScheduleTest : public EditorTest {
 protected:
  void SetUp() override {
    Open();
    window->Tabs().setCurrentIndex(MainWindow::kProfilesTab);
    ClickNew(window->Profiles());
    profile = window->Profiles().Current();
    ASSERT_NE(profile, nullptr);
  }
  void ResizeWindow(int width, int height) {
    window->resize(width, height);
    QApplication::processEvents();
    QApplication::processEvents();
  }
  ScheduleEditorPanel& Editor() { return window->Profiles().Editor(); }
  SurfaceWidget& Surface() { return Editor().Surface(); }
  double Scale() { return Surface().Surface().Scale(); }
  // The left edge of each hour's tick on the ruler, as the screen shows it, in the
  // surface's widget coordinates.
  std::vector<double> TicksOnSurface() {
    HourRuler& ruler = Editor().Ruler();
    const QImage image = ruler.grab().toImage();
    const double ratio = image.devicePixelRatio();
    std::vector<double> ticks;
    bool dark = false;
    for (int x = 0; x < image.width(); ++x) {
      const bool inked = image.pixelColor(x, image.height() - 2).lightness() < 100;
      if (inked && !dark) {
        const QPointF global = ruler.mapToGlobal(QPointF(x / ratio, 0));
        ticks.push_back(Surface().mapFromGlobal(global).x());
      }
      dark = inked;
    }
    return ticks;
  }
  double RowY(int row) { return At(Surface(), {0, row * 25 + 11.0}).y(); }
  std::vector<std::pair<int, int>> Periods(int dayType) {
    std::vector<std::pair<int, int>> periods;
    for (const hc::PeriodRef& period : profile->m_TimeSchedule->GetPeriods(dayType))
      periods.emplace_back(period->m_StartMinute, period->m_StopMinute);
    return periods;
  }

  std::shared_ptr<hc::cProfile> profile;
};

TEST_F(ScaledScheduleTest, ADragBetweenTwoTicksOfTheRulerStoresTheirHoursAtEveryWidth) {
  // The same tests run at device pixel ratio 2 (QT_SCALE_FACTOR=2) as well.
  EXPECT_EQ(window->devicePixelRatioF(), qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
  std::vector<double> scales;
  for (const auto& [width, height] : {std::pair{1000, 760}, std::pair{1700, 980}}) {
    SCOPED_TRACE(width);
    ResizeWindow(width, height);
    scales.push_back(Scale());
    const std::vector<double> ticks = TicksOnSurface();
    ASSERT_EQ(ticks.size(), 25u);
    const int saturday = 5;
    Drag(Surface(), {ticks[8], RowY(kSaturdayRow)}, {ticks[17], RowY(kSaturdayRow)});
    EXPECT_EQ(Periods(saturday), (std::vector<std::pair<int, int>>{{480, 1020}}));

    // The period's black edge is drawn where the tick is, and nothing left of it.
    const auto lightness = [&](double x) {
      return Surface().Surface().ColourAt({x, RowY(kSaturdayRow)}).lightness();
    };
    EXPECT_LT(lightness(ticks[8]), 40);
    EXPECT_GT(lightness(ticks[8] - 1), 100);
    EXPECT_LT(lightness(ticks[17]), 40);

    // Deleted again, for the next width.
    Click(Surface(), {ticks[12], RowY(kSaturdayRow)}, Qt::RightButton);
    for (QAction* action : Editor().PopupMenu().actions())
      if (action->text() == QStringLiteral("&Delete")) action->trigger();
    Editor().PopupMenu().hide();
    ASSERT_TRUE(Periods(saturday).empty());
  }
  EXPECT_GT(scales[1], scales[0]);
  EXPECT_GT(scales[0], 1);
}

TEST_F(ScaledScheduleTest, APointOfTheScreenStaysTheSameUnitWhileTheScaleStays) {
  ResizeWindow(1200, 800);
  std::vector<QPointF> pressed;
  QObject::connect(&Surface(), &SurfaceWidget::MousePressed,
                   [&pressed](const SurfaceMouse& mouse) { pressed.push_back(mouse.position); });
  const QPoint screen =
      Surface().mapToGlobal(At(Surface(), {30 + 13 * 12 + 1, 2 * 25 + 9})).toPoint();
  const double scale = Scale();
  Click(Surface(), Surface().mapFromGlobal(QPointF(screen)));
  // A few pixels more, or fewer where more would take the next scale.
  for (const int change : {3, -3}) {
    ResizeWindow(1200 + change, 800 + change);
    if (Scale() == scale) break;
  }
  ASSERT_EQ(Scale(), scale);
  Click(Surface(), Surface().mapFromGlobal(QPointF(screen)));
  ASSERT_EQ(pressed.size(), 2u);
  EXPECT_EQ(pressed[0], pressed[1]);
  EXPECT_EQ(pressed[0], QPointF(30 + 13 * 12 + 1, 2 * 25 + 9));
}

TEST_F(ScaledScheduleTest, TheWheelReachesTheLastSpecialDayTypeAndAddedRowsComeIntoView) {
  ResizeWindow(800, 600);
  window->findChild<QCheckBox*>(QStringLiteral("Check_TimeSchedule_UseCalendar"))->click();
  QWidget& viewport = *Editor().findChild<QWidget*>(QStringLiteral("Picture_TimeSchedule_Frame"));
  const auto rowShown = [&](int row) {
    const QPointF top = Surface().mapTo(&viewport, At(Surface(), {0, row * 25.0}));
    const QPointF bottom = Surface().mapTo(&viewport, At(Surface(), {0, row * 25 + 19.0}));
    return top.y() >= 0 && bottom.y() <= viewport.height();
  };
  QMenu* special = window->findChild<QToolButton*>(QStringLiteral("Menu_SpecialDayTypes"))->menu();
  const QList<QAction*> actions = special->actions();
  ASSERT_EQ(actions.size(), 16);
  // Each special day type's row, turned on, scrolls into view: the last, then the others.
  actions.back()->trigger();
  EXPECT_TRUE(rowShown(7));
  for (int k = 0; k < 15; ++k) {
    actions[k]->trigger();
    EXPECT_TRUE(rowShown(7 + k)) << k;
  }
  auto* scroll = Editor().findChild<QScrollBar*>(QStringLiteral("VScroll_Schedule"));
  ASSERT_GT(scroll->maximum(), 0);

  const auto wheel = [&](int notches) {
    for (int i = 0; i < std::abs(notches); ++i) {
      const QPointF at = At(Surface(), {100, 30});
      QWheelEvent event(at, Surface().mapToGlobal(at), QPoint(),
                        QPoint(0, notches < 0 ? 120 : -120), Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QApplication::sendEvent(&Surface(), &event);
    }
  };
  wheel(-50);
  EXPECT_EQ(scroll->value(), 0);
  EXPECT_TRUE(rowShown(0));
  EXPECT_FALSE(rowShown(22));
  wheel(50);
  EXPECT_EQ(scroll->value(), scroll->maximum());
  EXPECT_TRUE(rowShown(22));
  // The last row takes a press where it shows.
  Drag(Surface(), At(Surface(), {30 + 8 * 12, 22 * 25 + 11}),
       At(Surface(), {30 + 9 * 12, 22 * 25 + 11}));
  EXPECT_EQ(Periods(22), (std::vector<std::pair<int, int>>{{480, 540}}));
}

TEST_F(EditorTest, TheCalendarMonthScalesAndTakesPointsWhereItDrawsThem) {
  Open();
  window->Tabs().setCurrentIndex(MainWindow::kCalendarTab);
  CalendarPanel& panel = window->Calendar();
  panel.ShowMonth(2026, 3);
  std::vector<double> scales;
  for (const int width : {900, 1600}) {
    window->resize(width, 900);
    QApplication::processEvents();
    scales.push_back(panel.Surface().Surface().Scale());
    window->findChild<QListWidget*>(QStringLiteral("Combo_Calendar_DayType"))->setCurrentRow(9);
    // The middle of 18 March: a Wednesday, in the fourth row of the month's grid.
    Click(panel.Surface(), At(panel.Surface(), {30 + 2 * 40 + 20, 20 + 3 * 25 + 12}));
    EXPECT_EQ(workspace->Calendar().Calendar().GetDayType(hc::cCalendar::DayNumber(2026, 3, 18)),
              9);
    workspace->Calendar().Calendar().SetDayType(hc::cCalendar::DayNumber(2026, 3, 18), 0);
  }
  EXPECT_GT(scales[1], scales[0]);
}

}  // namespace
}  // namespace ConfigEditor
