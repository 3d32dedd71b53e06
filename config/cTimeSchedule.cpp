// The model half of cTimeSchedule: periods, text and disk forms, merging, grouping and the
// popup menu's operations. The drawing and the mouse are in TimeScheduleEditor.cpp.
#include "config/cTimeSchedule.h"

#include <algorithm>
#include <set>
#include <string>

#include "common/Halvane_Common_Procedures.h"
#include "config/StartIndex.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

constexpr int kMonday = 0;
constexpr std::int16_t kDefaultStart = 420;  // 07:00
constexpr std::int16_t kDefaultStop = 960;   // 16:00

void CheckDayType(int dayType) {
  if (dayType < 0 || dayType >= kDayTypeCount) throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
}

std::int16_t Flag(bool value) {
  return value ? -1 : 0;
}

// Where in the sequence a value belongs: a day type, or the closing use-calendar flag.
std::string PlaceText(int dayType) {
  return dayType < kDayTypeCount ? " (day type " + std::to_string(dayType) + ")"
                                 : " (after day type 22)";
}

// The values of a period array text, two characters each. Whatever is wrong with the
// text is an invalid argument (error 5).
class TextValues {
 public:
  explicit TextValues(std::u16string_view text) : text_(text) {}

  std::size_t Remaining() const { return (text_.size() - position_) / 2; }
  std::int16_t Next(int dayType) {
    if (Remaining() == 0) FailShort(dayType);
    const std::int16_t value = hcp::CharsToInteger(text_.substr(position_, 2));
    position_ += 2;
    return value;
  }
  [[noreturn]] static void FailShort(int dayType) { FailBad("ends early", dayType); }
  [[noreturn]] static void FailBad(const std::string& what, int dayType) {
    throw hcp::RuntimeError(hcp::kInvalidProcedureCall,
                            "Period array text " + what + PlaceText(dayType));
  }

 private:
  std::u16string_view text_;
  std::size_t position_ = 0;
};

// The values of the disk form, from a file or bytes. A short source is error 62, a count
// no schedule can hold error 321.
class DiskValues {
 public:
  explicit DiskValues(hcp::ByteInput& in) : in_(in) {}

  std::size_t Remaining() const { return static_cast<std::size_t>(in_.Remaining() / 2); }
  std::int16_t Next(int) { return hcp::GetInt16(in_); }
  [[noreturn]] static void FailShort(int) { throw hcp::RuntimeError(hcp::kInputPastEndOfFile); }
  [[noreturn]] static void FailBad(const std::string& what, int dayType) {
    throw hcp::RuntimeError(hcp::kInvalidFileFormat,
                            "Invalid file format: time schedule " + what + PlaceText(dayType));
  }

 private:
  hcp::ByteInput& in_;
};

}  // namespace

cTimeSchedule::cTimeSchedule() {
  for (int d = 0; d < kWeekDayTypes; ++d)
    m_Active[d] = true;
}

PeriodRef cTimeSchedule::GetNextTimePeriod(int DayType, std::int16_t& StartTime,
                                           std::int16_t& StopTime,
                                           const PeriodRef& LastTimePeriod) const {
  CheckDayType(DayType);
  if (!m_Active[DayType]) return nullptr;
  const std::vector<PeriodRef>& periods = m_Periods[DayType];
  PeriodRef next;
  if (!LastTimePeriod) {
    if (!periods.empty()) next = periods.front();
  } else {
    const auto last = std::find(periods.begin(), periods.end(), LastTimePeriod);
    if (last != periods.end() && last + 1 != periods.end()) next = *(last + 1);
  }
  if (next) {
    StartTime = next->m_StartMinute;
    StopTime = next->m_StopMinute;
  }
  return next;
}

void cTimeSchedule::SetActive(int DayType, bool State) {
  CheckDayType(DayType);
  m_Active[DayType] = State;
}

bool cTimeSchedule::GetActive(int DayType) const {
  CheckDayType(DayType);
  return m_Active[DayType];
}

bool cTimeSchedule::GetGrouped(int DayType) const {
  CheckDayType(DayType);
  return m_Grouped[DayType];
}

std::int16_t cTimeSchedule::GetAxisRow(int DayType) const {
  CheckDayType(DayType);
  return m_AxisRow[DayType];
}

const std::vector<PeriodRef>& cTimeSchedule::GetPeriods(int DayType) const {
  CheckDayType(DayType);
  return m_Periods[DayType];
}

PeriodRef cTimeSchedule::AddPeriod(int DayType, std::int16_t StartMinute, std::int16_t StopMinute) {
  CheckDayType(DayType);
  auto period = std::make_shared<cTimeSchedulePeriod>();
  period->m_StartMinute = StartMinute;
  period->m_StopMinute = StopMinute;
  m_Periods[DayType].push_back(period);
  return period;
}

std::vector<int> cTimeSchedule::DayTypesOutsideTheDay() const {
  std::vector<int> dayTypes;
  for (int d = 0; d < kDayTypeCount; ++d) {
    if (std::any_of(m_Periods[d].begin(), m_Periods[d].end(),
                    [](const PeriodRef& period) { return IsOutsideTheDay(*period); })) {
      dayTypes.push_back(d);
    }
  }
  return dayTypes;
}

void cTimeSchedule::SetDefaultPeriod() {
  for (int d = kMonday; d < kWorkDayTypes; ++d) {
    m_Active[d] = true;
    m_Grouped[d] = true;
    AddPeriod(d, kDefaultStart, kDefaultStop);
  }
}

std::vector<std::int16_t> cTimeSchedule::Values() const {
  std::vector<std::int16_t> values;
  for (int d = 0; d < kDayTypeCount; ++d) {
    values.push_back(Flag(m_Active[d]));
    values.push_back(Flag(m_Grouped[d]));
    values.push_back(hcp::ToInt16(static_cast<double>(m_Periods[d].size())));
    for (const PeriodRef& period : m_Periods[d]) {
      values.push_back(period->m_StartMinute);
      values.push_back(period->m_StopMinute);
    }
    values.push_back(m_AxisRow[d]);
  }
  values.push_back(Flag(m_UseCalendar));
  return values;
}

template <typename Source>
void cTimeSchedule::ReadValues(Source& source) {
  for (int d = 0; d < kDayTypeCount; ++d) {
    const bool active = source.Next(d) != 0;
    const bool grouped = source.Next(d) != 0;
    const std::int16_t count = source.Next(d);
    if (count < 0) Source::FailBad("announces " + std::to_string(count) + " periods", d);
    // Nothing is made for periods the source cannot hold: each takes two values, and the
    // axis row one more.
    if (static_cast<std::size_t>(count) * 2 + 1 > source.Remaining()) Source::FailShort(d);
    std::vector<PeriodRef> periods;
    periods.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      auto period = std::make_shared<cTimeSchedulePeriod>();
      // Minutes outside the day are kept as stored: the server loads such files, and a
      // save writes them back unchanged (ClippedToDay tells what they cover).
      period->m_StartMinute = source.Next(d);
      period->m_StopMinute = source.Next(d);
      periods.push_back(std::move(period));
    }
    const std::int16_t axisRow = source.Next(d);
    m_Active[d] = active;
    m_Grouped[d] = grouped;
    m_Periods[d] = std::move(periods);
    m_AxisRow[d] = axisRow;
  }
  m_UseCalendar = source.Next(kDayTypeCount) != 0;
}

std::u16string cTimeSchedule::ComposePeriodArray() const {
  const std::vector<std::int16_t> values = Values();
  std::u16string text;
  text.reserve(values.size() * 2);
  for (std::int16_t value : values)
    text += hcp::IntegerToChars(value);
  return text;
}

void cTimeSchedule::ExtractPeriodArray(std::u16string_view PeriodArray) {
  TextValues source(PeriodArray);
  ReadValues(source);
}

void cTimeSchedule::PutDiskForm(std::string& out) const {
  const std::vector<std::int16_t> values = Values();
  out.reserve(out.size() + values.size() * 2);
  for (std::int16_t value : values)
    hcp::PutInt16(out, value);
}

void cTimeSchedule::GetDiskForm(hcp::ByteInput& in) {
  DiskValues source(in);
  ReadValues(source);
}

void cTimeSchedule::SaveToDisk(hcp::BinaryFile& FileNumber) const {
  std::string bytes;
  PutDiskForm(bytes);
  FileNumber.Put(bytes);
}

void cTimeSchedule::ReadFromDisk(hcp::BinaryFile& FileNumber) {
  GetDiskForm(FileNumber);
}

void cTimeSchedule::MergePeriods(int DayType) {
  CheckDayType(DayType);
  // Whole passes until one merges nothing: in a pass every period P, in collection order,
  // swallows the first period Q (in collection order) that starts inside P or exactly at
  // its end, taking Q's later stop and Q's selection. A P that finds no such Q never will,
  // since starts never change, periods only leave, and P's stop grows only when P
  // swallows; so each pass visits only the periods that may still swallow, which keeps
  // the result of the passes at O(n log n).
  std::vector<PeriodRef>& periods = m_Periods[DayType];
  const int count = static_cast<int>(periods.size());
  std::vector<std::int16_t> starts, stops;
  for (const PeriodRef& period : periods) {
    starts.push_back(period->m_StartMinute);
    stops.push_back(period->m_StopMinute);
  }
  StartIndex present(starts);
  std::vector<bool> swallowed(static_cast<std::size_t>(count), false);
  std::set<int> mayStillSwallow;
  for (int p = 0; p < count; ++p)
    mayStillSwallow.insert(mayStillSwallow.end(), p);

  bool merged = true;
  while (merged) {
    merged = false;
    for (auto it = mayStillSwallow.begin(); it != mayStillSwallow.end();) {
      const int p = *it;
      const int q = present.First(starts[p], stops[p], p);
      if (q < 0) {
        it = mayStillSwallow.erase(it);
        continue;
      }
      stops[p] = std::max(stops[p], stops[q]);
      if (periods[q] == m_SelectedPeriod) m_SelectedPeriod = periods[p];
      present.Remove(q);
      swallowed[q] = true;
      mayStillSwallow.erase(q);  // never the element at `it`, which is p
      merged = true;
      ++it;
    }
  }

  std::vector<PeriodRef> survivors;
  for (int p = 0; p < count; ++p) {
    if (swallowed[p]) continue;
    periods[p]->m_StopMinute = stops[p];
    survivors.push_back(std::move(periods[p]));
  }
  periods = std::move(survivors);
}

void cTimeSchedule::ReplacePeriods(int DayType, const std::vector<PeriodRef>& source) {
  // The source may be the very collection being replaced.
  std::vector<PeriodRef> copies;
  copies.reserve(source.size());
  for (const PeriodRef& period : source)
    copies.push_back(std::make_shared<cTimeSchedulePeriod>(*period));
  m_Periods[DayType] = std::move(copies);
}

void cTimeSchedule::CopyToGroupedDayTypes(HostWindow& m_ParentContainer,
                                          PaintSurface& m_SchedulePaintObject, int DayType) {
  CheckDayType(DayType);
  if (!m_Grouped[DayType]) return;
  for (int t = 0; t < kDayTypeCount; ++t) {
    if (t == DayType || !m_Grouped[t]) continue;
    ReplacePeriods(t, m_Periods[DayType]);
    MergePeriods(t);
    PaintAxis(m_ParentContainer, m_SchedulePaintObject, t);
  }
}

void cTimeSchedule::Copy() {
  m_CopiedDayType = m_SelectedDayType;
}

void cTimeSchedule::Paste(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject) {
  const int s = m_SelectedDayType;
  if (s == -1 || m_CopiedDayType == -1 || s == m_CopiedDayType) return;
  ReplacePeriods(s, m_Periods[m_CopiedDayType]);
  m_Grouped[s] = m_Grouped[m_CopiedDayType];
  MergePeriods(s);
  PaintAxis(m_ParentContainer, m_SchedulePaintObject, s);
}

void cTimeSchedule::Delete(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject) {
  const int s = m_SelectedDayType;
  if (s == -1) return;
  std::vector<PeriodRef>& periods = m_Periods[s];
  const auto selected = std::find(periods.begin(), periods.end(), m_SelectedPeriod);
  if (selected != periods.end()) {
    m_SelectedPeriod = nullptr;
    SetSelectedPeriodTexts(m_ParentContainer, nullptr);
    periods.erase(selected);
  }
  if (DeleteAllPeriods) periods.clear();
  m_Grouped[s] = false;
  MergePeriods(s);
  PaintAxis(m_ParentContainer, m_SchedulePaintObject, s);
  m_SelectedDayType = -1;
}

void cTimeSchedule::SetTimeFrom00to24(HostWindow& m_ParentContainer,
                                      PaintSurface& m_SchedulePaintObject) {
  const int s = m_SelectedDayType;
  if (s == -1) return;
  m_Periods[s].clear();
  m_Grouped[s] = false;
  AddPeriod(s, 0, kMinutesPerDay);
  PaintAxis(m_ParentContainer, m_SchedulePaintObject, s);
  m_SelectedDayType = -1;
}

void cTimeSchedule::ExtractTimeFromTextboxes(HostWindow& m_ParentContainer,
                                             PaintSurface& m_SchedulePaintObject) {
  const int s = m_SelectedDayType;
  if (s == -1 || !m_SelectedPeriod) return;
  std::int16_t start = hcp::TimeTextToMinutes(
      hcp::ToText(CallHost(m_ParentContainer, HostOperation::Get_Text_Schedule_Period_Start)));
  std::int16_t stop = hcp::TimeTextToMinutes(
      hcp::ToText(CallHost(m_ParentContainer, HostOperation::Get_Text_Schedule_Period_Stop)));
  if (stop < start) std::swap(start, stop);
  m_SelectedPeriod->m_StartMinute = start;
  m_SelectedPeriod->m_StopMinute = stop;
  SetSelectedPeriodTexts(m_ParentContainer, m_SelectedPeriod);
  MergePeriods(s);
  PaintAxis(m_ParentContainer, m_SchedulePaintObject, s);
  CopyToGroupedDayTypes(m_ParentContainer, m_SchedulePaintObject, s);
}

void cTimeSchedule::InvertTimeSchedule(HostWindow& m_ParentContainer,
                                       PaintSurface& m_SchedulePaintObject) {
  const int s = m_SelectedDayType;
  if (s == -1) return;
  std::array<bool, kMinutesPerDay + 1> marked{};
  for (const PeriodRef& period : m_Periods[s]) {
    const MinuteSpan span = ClippedToDay(*period);
    for (int m = span.start; m < span.stop; ++m)
      marked[m] = true;
  }
  m_Periods[s].clear();
  int minute = 0;
  while (minute < kMinutesPerDay) {
    if (marked[minute]) {
      ++minute;
      continue;
    }
    int next = minute;
    while (next < kMinutesPerDay && !marked[next])
      ++next;
    AddPeriod(s, static_cast<std::int16_t>(minute), static_cast<std::int16_t>(next));
    minute = next + 1;
  }
  MergePeriods(s);
  PaintAxis(m_ParentContainer, m_SchedulePaintObject, s);
  CopyToGroupedDayTypes(m_ParentContainer, m_SchedulePaintObject, s);
}

void cTimeSchedule::Group(HostWindow& m_ParentContainer, PaintSurface& m_SchedulePaintObject) {
  const int s = m_SelectedDayType;
  if (s == -1) return;
  m_Grouped[s] = !m_Grouped[s];
  if (m_Grouped[s]) {
    for (int i = 0; i < kDayTypeCount; ++i) {
      if (i == s || !m_Grouped[i]) continue;
      ReplacePeriods(s, m_Periods[i]);
      MergePeriods(s);
      break;
    }
  }
  PaintAxis(m_ParentContainer, m_SchedulePaintObject, s);
}

void cTimeSchedule::GroupMonFri(HostWindow& m_ParentContainer,
                                PaintSurface& m_SchedulePaintObject) {
  const bool checked = hcp::ToBoolean(CallHost(
      m_ParentContainer, HostOperation::Get_Menu_TimeSchedulePopup_Grouped_MonFri_Checked));
  for (int i = 0; i < kDayTypeCount; ++i)
    m_Grouped[i] = !checked && i < kWorkDayTypes;
  for (int i = kMonday; i < kWorkDayTypes; ++i)
    PaintAxis(m_ParentContainer, m_SchedulePaintObject, i);
  CopyToGroupedDayTypes(m_ParentContainer, m_SchedulePaintObject, kMonday);
  Paint(m_ParentContainer, &m_SchedulePaintObject);
}

MinuteSpan ClippedToDay(const cTimeSchedulePeriod& period) {
  const auto clip = [](std::int16_t minute) {
    return std::clamp<int>(minute, 0, cTimeSchedule::kMinutesPerDay);
  };
  return {clip(period.m_StartMinute), clip(period.m_StopMinute)};
}

bool IsOutsideTheDay(const cTimeSchedulePeriod& period) {
  const MinuteSpan span = ClippedToDay(period);
  return span.start != period.m_StartMinute || span.stop != period.m_StopMinute;
}

}  // namespace Halvane_Config
