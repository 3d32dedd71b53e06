// The configuration window's drawing on its Qt surface, offscreen: one step of a drag on
// the schedule (the mouse move, the row drawn anew, the widget repainted) and one whole
// calendar month drawn. Prints the median, the 90th percentile and the largest of each.
//
//   config_editor_bench [RUNS]     (1,000 runs by default)
#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "config-editor/CalendarPanel.h"
#include "config-editor/EditorHost.h"
#include "config-editor/ProgramTexts.h"
#include "config-editor/ScheduleEditorPanel.h"
#include "config-editor/Workspace.h"

namespace {

using namespace ConfigEditor;
using Clock = std::chrono::steady_clock;

void Report(const char* what, std::vector<double> microseconds) {
  std::sort(microseconds.begin(), microseconds.end());
  const auto at = [&](double share) {
    return microseconds[static_cast<std::size_t>(share * (microseconds.size() - 1))];
  };
  std::printf("%-28s median %8.1f us   p90 %8.1f us   max %8.1f us   (%zu runs)\n", what, at(0.5),
              at(0.9), microseconds.back(), microseconds.size());
}

std::vector<double> Time(int runs, const std::function<void(int run)>& step) {
  std::vector<double> microseconds;
  microseconds.reserve(static_cast<std::size_t>(runs));
  for (int run = 0; run < runs; ++run) {
    const Clock::time_point start = Clock::now();
    step(run);
    microseconds.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  return microseconds;
}

void SendMouse(QWidget& widget, QEvent::Type type, QPointF at, Qt::MouseButton button,
               Qt::MouseButtons held) {
  QMouseEvent event(type, at, widget.mapToGlobal(at), button, held, Qt::NoModifier);
  QApplication::sendEvent(&widget, &event);
}

// A profile with the week's default periods, as a new one gets them.
std::shared_ptr<Halvane_Config::cProfile> NewProfile() {
  auto profile = std::make_shared<Halvane_Config::cProfile>();
  profile->m_TimeSchedule = std::make_shared<Halvane_Config::cTimeSchedule>();
  profile->m_TimeSchedule->SetDefaultPeriod();
  return profile;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InstallProgramTexts();
  InstallDayTypeNames();
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;

  EditorHost host;
  {
    // A drag on Saturday's row, the pointer going back and forth between 10:00 and 14:00.
    ScheduleEditorPanel schedule(host);
    schedule.SetProfile(NewProfile());
    schedule.show();
    QWidget& surface = schedule.Surface();
    const double y = 5 * 25 + 11;
    SendMouse(surface, QEvent::MouseButtonPress, {30 + 8 * 12.0, y}, Qt::LeftButton,
              Qt::LeftButton);
    Report("schedule drag step", Time(runs, [&](int run) {
             const double x = 30 + (run % 2 == 0 ? 10 : 14) * 12.0;
             SendMouse(surface, QEvent::MouseMove, {x, y}, Qt::NoButton, Qt::LeftButton);
             surface.repaint();
           }));
    SendMouse(surface, QEvent::MouseButtonRelease, {30 + 14 * 12.0, y}, Qt::LeftButton,
              Qt::NoButton);
    // A drag that drew nothing measured nothing.
    if (schedule.Surface().Surface().Image().pixelColor(30 + 12 * 12, static_cast<int>(y)).green() <
        100) {
      std::fputs("the drag drew no period\n", stderr);
      return 1;
    }
  }
  {
    // A month with every day given a day type, and its on-duty periods shown.
    CalendarDocument document;
    CalendarPanel calendar(host, document);
    auto profile = NewProfile();
    profile->m_Calendar_ViewTimeAxis = 1;
    calendar.SetProfile(profile);
    calendar.ShowMonth(2026, 3);
    const std::int32_t first = Halvane_Config::cCalendar::DayNumber(2026, 3, 1);
    for (int day = 0; day < 31; ++day)
      document.Calendar().SetDayType(first + day, static_cast<std::int16_t>(day % 24));
    calendar.show();
    Report("calendar month paint", Time(runs, [&](int) { calendar.Repaint(); }));
  }
  return 0;
}
