// Speed of the time schedule: its text form, merging, and one mouse move while dragging.
#include <benchmark/benchmark.h>

#include <random>

#include "RecordingHostWindow.h"
#include "RecordingPaintSurface.h"
#include "ReferenceMerge.h"
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

}  // namespace

BENCHMARK_MAIN();
