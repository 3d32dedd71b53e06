// Speed of the time schedule (its text form, merging, one mouse move while dragging) and
// of the calendar (painting a month, comparing with its file, painting a date by mouse).
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <random>

#include "FixedCalendarLocale.h"
#include "RecordingHostWindow.h"
#include "RecordingPaintSurface.h"
#include "ReferenceMerge.h"
#include "common/Text1252.h"
#include "config/Halvane_Config.h"

namespace {

using namespace Halvane_Config;

// Compose and extract of a full schedule: 23 day types of 50 periods each.
void BM_ComposeExtractFullSchedule(benchmark::State& state) {
  cTimeSchedule source;
  source.m_UseCalendar = true;
  for (int d = 0; d < kDayTypeCount; ++d) {
    source.SetActive(d, true);
    for (int i = 0; i < 50; ++i)
      source.AddPeriod(d, static_cast<std::int16_t>(28 * i),
                       static_cast<std::int16_t>(28 * i + 20));
  }
  cTimeSchedule target;
  for (auto _ : state) {
    const std::u16string text = source.ComposePeriodArray();
    target.ExtractPeriodArray(text);
    benchmark::DoNotOptimize(target);
  }
}
BENCHMARK(BM_ComposeExtractFullSchedule)->Unit(benchmark::kMicrosecond);

// 1,000 overlapping periods of one day type, as their text form.
std::u16string ThousandPeriods(bool nested) {
  cTimeSchedule schedule;
  std::mt19937 random(1000);
  if (nested) {
    // One whole day first, then 999 empty periods inside it that touch nothing else:
    // the passes swallow one of them per pass.
    schedule.AddPeriod(0, 0, 1440);
    for (int i = 1; i < 1000; ++i)
      schedule.AddPeriod(0, static_cast<std::int16_t>(i), static_cast<std::int16_t>(i));
  } else {
    for (int i = 0; i < 1000; ++i) {
      const auto start = static_cast<std::int16_t>(random() % 1440);
      schedule.AddPeriod(0, start, static_cast<std::int16_t>(start + 1 + random() % 120));
    }
  }
  return schedule.ComposePeriodArray();
}

void BM_MergePeriods(benchmark::State& state) {
  const std::u16string text = ThousandPeriods(state.range(0) != 0);
  cTimeSchedule schedule;
  for (auto _ : state) {
    state.PauseTiming();
    schedule.ExtractPeriodArray(text);
    state.ResumeTiming();
    schedule.MergePeriods(0);
  }
  state.SetLabel(state.range(0) ? "nested" : "random");
}
BENCHMARK(BM_MergePeriods)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The merge passes run literally, for comparison.
void BM_ReferenceMerge(benchmark::State& state) {
  cTimeSchedule schedule;
  schedule.ExtractPeriodArray(ThousandPeriods(state.range(0) != 0));
  for (auto _ : state) {
    state.PauseTiming();
    std::vector<PeriodRef> periods;
    for (const PeriodRef& p : schedule.GetPeriods(0))
      periods.push_back(std::make_shared<cTimeSchedulePeriod>(*p));
    PeriodRef selected;
    state.ResumeTiming();
    ReferenceMerge(periods, selected);
  }
  state.SetLabel(state.range(0) ? "nested" : "random");
}
BENCHMARK(BM_ReferenceMerge)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One mouse move while drawing a period: hit test, the row repainted on the recording
// surface, the period texts to the host.
void BM_MouseMoveWhileDragging(benchmark::State& state) {
  RecordingHostWindow host;
  RecordingPaintSurface surface;
  host.Answer(HostOperation::Get_Picture_TimeSchedule_Frame_ScaleWidth, 340.0f);
  host.Answer(HostOperation::Get_Picture_TimeSchedule_Frame_ScaleHeight, 180.0f);
  host.Answer(HostOperation::Get_VScroll_Schedule_Width, 17.0f);
  host.Answer(HostOperation::Get_Check_TimeSchedule_ViewDayType, std::int16_t{0});
  DayTypeShortNames[0] = u"Mo";
  cTimeSchedule schedule;
  for (int i = 0; i < 5; ++i)
    schedule.AddPeriod(0, static_cast<std::int16_t>(60 + 120 * i),
                       static_cast<std::int16_t>(120 + 120 * i));
  PaintSurface* hostSurface = &surface;
  schedule.RecalculateAndPrepareToPaint(host, hostSurface, &surface);
  schedule.MouseDown(host, surface, kLeftButton, 0, 30 + 1200 / 5.0, 11);
  schedule.MouseMove(host, surface, kLeftButton, 0, 30 + 1260 / 5.0, 11);
  bool right = false;
  for (auto _ : state) {
    host.ClearLog();
    surface.ClearLog();
    right = !right;
    schedule.MouseMove(host, surface, kLeftButton, 0, right ? 290 : 285, 11);
  }
}
BENCHMARK(BM_MouseMoveWhileDragging);

// A calendar showing March 2000 (31 days) with the time axis on, its schedule holding
// three periods on every weekday, some marks and holidays, on recording doubles.
struct CalendarScene {
  CalendarScene() {
    SetCalendarLocale(std::make_shared<FixedCalendarLocale>());
    for (int d = 0; d < kWeekDayTypes; ++d) {
      DayTypeShortNames[d] = u"Mo";
      for (int i = 0; i < 3; ++i)
        schedule.AddPeriod(d, static_cast<std::int16_t>(300 + 360 * i),
                           static_cast<std::int16_t>(480 + 360 * i));
    }
    for (int day = 1; day <= 31; day += 4)
      calendar.SetDayType(cCalendar::DayNumber(2000, 3, day), static_cast<std::int16_t>(day % 24));
    for (int day = 5; day <= 31; day += 9) {
      const std::int32_t n = cCalendar::DayNumber(2000, 3, day);
      HolidayFlags[n] = true;
      HolidayLabels.push_back({.m_Day = static_cast<std::int16_t>(n),
                               .m_DayType = 0,
                               .m_ViewInCalendar = true,
                               .m_Label = u"Holiday"});
    }
    calendar.m_ShowTimeAxis = true;
    calendar.m_AssociatedTimeSchedule = &schedule;
    calendar.m_SelectedYear = 2000;
    calendar.m_SelectedMonth = 3;
    calendar.RecalculateAndPrepareToPaint();
    host.AnswerWith(HostOperation::Get_Combo_Calendar_DayType_ComboItems,
                    [](std::span<const Variant>) { return Variant(u"Special"); });
  }
  ~CalendarScene() {
    SetCalendarLocale({});
    DayTypeShortNames = {};
    HolidayFlags = {};
    HolidayLabels.clear();
  }

  cTimeSchedule schedule;
  cCalendar calendar;
  RecordingHostWindow host;
  RecordingPaintSurface surface;
};

void BM_CalendarPaintMonth(benchmark::State& state) {
  CalendarScene scene;
  for (auto _ : state) {
    scene.host.ClearLog();
    scene.surface.ClearLog();
    scene.calendar.Paint(scene.host, scene.surface);
  }
  state.counters["drawings"] = static_cast<double>(scene.surface.drawings.size());
}
BENCHMARK(BM_CalendarPaintMonth)->Unit(benchmark::kMicrosecond);

// One mouse move with the button held that paints one date: hit test, the value stored,
// the date box redrawn, the tooltip asked of the host.
void BM_CalendarMouseMovePaintingOneDate(benchmark::State& state) {
  CalendarScene scene;
  scene.host.Answer(HostOperation::Get_Combo_Calendar_DayType_SelectedItem,
                    Halvane_Common_Procedures::ObjectRef{std::make_shared<int>(0)});
  scene.host.Answer(HostOperation::Get_Combo_Calendar_DayType_SelectedItem_Index, std::int16_t{4});
  // Thursday 9 and Friday 10 March, in row 1, painted in turn.
  const std::int32_t thursday = cCalendar::DayNumber(2000, 3, 9);
  scene.calendar.MouseDown(scene.host, scene.surface, kLeftButton, 0, 5, 5);
  bool right = false;
  for (auto _ : state) {
    scene.host.ClearLog();
    scene.surface.ClearLog();
    right = !right;
    scene.calendar.SetDayType(thursday + (right ? 1 : 0), 0);
    scene.calendar.MouseMove(scene.host, scene.surface, kLeftButton, 0, right ? 190 : 150, 57);
  }
}
BENCHMARK(BM_CalendarMouseMovePaintingOneDate);

// A saved calendar on disk, and the floor of reading it: open, read its 29,220 bytes, close.
struct SavedCalendar {
  SavedCalendar() {
    for (std::int32_t day = 0; day < kCalendarDays; day += 7)
      calendar.SetDayType(day, static_cast<std::int16_t>(day % 24));
    calendar.SaveToDisk(Halvane_Common_Procedures::Utf8ToUtf16(path.string()));
  }
  ~SavedCalendar() { std::filesystem::remove(path); }

  std::filesystem::path path = std::filesystem::temp_directory_path() /
                               ("calendar_bench_" + std::to_string(::getpid()) + ".dat");
  cCalendar calendar;
};

void BM_ReadCalendarFileBytes(benchmark::State& state) {
  SavedCalendar saved;
  std::string bytes(cCalendar::kDiskFormBytes, '\0');
  for (auto _ : state) {
    const int file = ::open(saved.path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::read(file, bytes.data(), bytes.size()));
    ::close(file);
  }
}
BENCHMARK(BM_ReadCalendarFileBytes)->Unit(benchmark::kMicrosecond);

// The same with the calls a careful reader adds: whether the file exists, and its length.
void BM_ReadCalendarFileBytesChecked(benchmark::State& state) {
  SavedCalendar saved;
  std::string bytes(cCalendar::kDiskFormBytes, '\0');
  for (auto _ : state) {
    struct stat info {};
    benchmark::DoNotOptimize(::stat(saved.path.c_str(), &info));
    const int file = ::open(saved.path.c_str(), O_RDONLY | O_CLOEXEC);
    benchmark::DoNotOptimize(::fstat(file, &info));
    benchmark::DoNotOptimize(::pread(file, bytes.data(), bytes.size(), 0));
    ::close(file);
  }
}
BENCHMARK(BM_ReadCalendarFileBytesChecked)->Unit(benchmark::kMicrosecond);

void BM_CalendarCompareToDisk(benchmark::State& state) {
  SavedCalendar saved;
  cCalendar equal;
  const std::u16string path = Halvane_Common_Procedures::Utf8ToUtf16(saved.path.string());
  equal.ReadFromDisk(path);
  for (auto _ : state)
    benchmark::DoNotOptimize(equal.CompareToDisk(path));
}
BENCHMARK(BM_CalendarCompareToDisk)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
