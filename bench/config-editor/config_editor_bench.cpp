// The configuration window offscreen: one step of a drag on the schedule (the mouse move,
// the row drawn anew, the widget repainted) and one whole calendar month drawn, at scale 1
// and at scale 3, each timed RUNS times (median, 90th percentile, largest); then Save all
// of a folder of 1,000 profiles and 1,000 receivers, every one of them changed, timed
// ROUNDS times (median), through the window and through the lists alone.
//
//   config_editor_bench [RUNS [ROUNDS]]     (1,000 runs and 7 rounds by default)
#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <vector>

#include "ProgramFolderScope.h"
#include "config-editor/CalendarPanel.h"
#include "config-editor/EditorHost.h"
#include "config-editor/FittedFrame.h"
#include "config-editor/MainWindow.h"
#include "config-editor/ProgramTexts.h"
#include "config-editor/ScheduleEditorPanel.h"
#include "config-editor/UserQuestions.h"
#include "config-editor/Workspace.h"

namespace {

using namespace ConfigEditor;
using Clock = std::chrono::steady_clock;

void Report(const char* what, double scale, std::vector<double> microseconds) {
  std::sort(microseconds.begin(), microseconds.end());
  const auto at = [&](double share) {
    return microseconds[static_cast<std::size_t>(share * (microseconds.size() - 1))];
  };
  std::printf("%-22s scale %.2g  median %8.1f us   p90 %8.1f us   max %8.1f us   (%zu runs)\n",
              what, scale, at(0.5), at(0.9), microseconds.back(), microseconds.size());
}

// Sizes a panel so that its fitted frame draws at a scale; false when it does not.
bool ShowAtScale(QWidget& panel, double scale) {
  auto* fitted = panel.findChild<FittedFrame*>();
  panel.show();
  QApplication::processEvents();
  panel.resize(panel.size() + fitted->SizeAt(scale) - fitted->size());
  QApplication::processEvents();
  if (fitted->Scale() == scale) return true;
  std::fprintf(stderr, "the panel draws at scale %g, not %g\n", fitted->Scale(), scale);
  return false;
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

// Nothing is asked while saving a folder nobody else writes to.
class NoQuestions : public UserQuestions {
 public:
  Choice AskToSave(QWidget*, const QString&) override { return Choice::Cancel; }
  ConflictChoice AskAboutConflict(QWidget*, const QString&, const QString&) override {
    return ConflictChoice::Cancel;
  }
  OpenChoice AskToOpenHeldFolder(QWidget*, const QString&) override { return OpenChoice::Anyway; }
  QString AskForFolder(QWidget*, const QString&) override { return {}; }
  bool Confirm(QWidget*, const QString&) override { return false; }
  void ShowError(QWidget*, const QString& text) override {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
  }
};

constexpr int kEach = 1000;

// A folder of kEach receivers and kEach profiles, as config_files_bench writes them.
void FillFolder() {
  namespace hc = Halvane_Config;
  for (int i = 1; i <= kEach; ++i) {
    hc::cReceiver receiver;
    receiver.m_DiskIdentity = static_cast<std::int16_t>(i);
    receiver.SetReceiverTypeId(12);
    receiver.m_ReceiverName = u"Service engineer " + QString::number(i).toStdU16String();
    receiver.SaveSetting(0, u"+46 70 123 45 67");
    receiver.SaveSetting(1, std::int16_t{30});
    receiver.SaveToDisk();
    hc::cProfile profile;
    profile.m_DiskIdentity = static_cast<std::int16_t>(i);
    profile.SetName(u"Building A, floor " + QString::number(i).toStdU16String());
    profile.m_ParallellReceivers = u"Service engineer 1;Service engineer 2;Guard";
    profile.m_TimeSchedule = std::make_shared<hc::cTimeSchedule>();
    profile.m_TimeSchedule->SetDefaultPeriod();
    profile.m_TimeSchedule->AddPeriod(5, 480, 720);
    profile.SaveToDisk();
  }
}

// Changes every profile and receiver, so that Save all writes them all.
void ChangeAll(Workspace& workspace, int round) {
  const std::u16string mark = u" " + QString::number(round).toStdU16String();
  for (int i = 0; i < workspace.Profiles().Count(); ++i)
    workspace.Profiles().At(i)->SetName(u"Building A" + mark);
  for (int i = 0; i < workspace.Receivers().Count(); ++i)
    workspace.Receivers().At(i)->m_ReceiverName = u"Service engineer" + mark;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// The process's CPU time: saving to /dev/shm is all system calls and computing, and CPU
// time moves far less than wall time while other work shares the machine.
double CpuMilliseconds(const std::function<void()>& work) {
  const auto now = [] {
    timespec time{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &time);
    return time.tv_sec * 1e3 + time.tv_nsec / 1e6;
  };
  const double start = now();
  work();
  return now() - start;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  InstallProgramTexts();
  InstallDayTypeNames();
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
  const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

  EditorHost host;
  for (const double scale : {1.0, 3.0}) {
    // A drag on Saturday's row, the pointer going back and forth between 10:00 and 14:00.
    ScheduleEditorPanel schedule(host);
    schedule.SetProfile(NewProfile());
    if (!ShowAtScale(schedule, scale)) return 1;
    SurfaceWidget& surface = schedule.Surface();
    const auto at = [&surface](int hour) {
      return surface.Surface().ToWidget({30 + hour * 12.0, 5 * 25 + 11.0});
    };
    SendMouse(surface, QEvent::MouseButtonPress, at(8), Qt::LeftButton, Qt::LeftButton);
    Report("schedule drag step", scale, Time(runs, [&](int run) {
             SendMouse(surface, QEvent::MouseMove, at(run % 2 == 0 ? 10 : 14), Qt::NoButton,
                       Qt::LeftButton);
             surface.repaint();
           }));
    SendMouse(surface, QEvent::MouseButtonRelease, at(14), Qt::LeftButton, Qt::NoButton);
    // A drag that drew nothing measured nothing.
    if (surface.Surface().ColourAt(at(12)).green() < 100) {
      std::fputs("the drag drew no period\n", stderr);
      return 1;
    }
  }
  for (const double scale : {1.0, 3.0}) {
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
    if (!ShowAtScale(calendar, scale)) return 1;
    Report("calendar month paint", scale, Time(runs, [&](int) { calendar.Repaint(); }));
  }
  {
    Halvane_Config::TemporaryProgramFolder folder;
    FillFolder();
    NoQuestions questions;
    Workspace workspace;
    MainWindow window(workspace, questions);
    window.OpenFolder(QString::fromStdString(folder.Path()));
    std::vector<double> throughWindow, throughLists;
    for (int round = 0; round < rounds; ++round) {
      ChangeAll(workspace, 2 * round);
      throughWindow.push_back(CpuMilliseconds([&] {
        if (!window.SaveAll()) std::exit(1);
      }));
      ChangeAll(workspace, 2 * round + 1);
      throughLists.push_back(CpuMilliseconds([&] {
        for (ObjectList* list : {static_cast<ObjectList*>(&workspace.Profiles()),
                                 static_cast<ObjectList*>(&workspace.Receivers())}) {
          for (int i = 0; i < list->Count(); ++i)
            if (list->Save(i) != SaveResult::Saved) std::exit(1);
        }
      }));
    }
    std::printf(
        "Save all of %d profiles and %d receivers: window %.1f ms, lists alone %.1f ms "
        "(CPU time, medians of %d rounds)\n",
        kEach, kEach, Median(throughWindow), Median(throughLists), rounds);
  }
  return 0;
}
