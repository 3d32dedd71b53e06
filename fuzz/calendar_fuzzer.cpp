// Calendar files as cCalendar::ReadFromDisk reads them; a file that reads is then shown:
// the month of its first marked date drawn with on-duty bars, and hovered date by date.
// Properties: a read never crashes and fails only with a run-time error that changes
// nothing; halvane-config-dump reads exactly the files the calendar reads; a calendar read
// is written back byte for byte and compares equal to its file; drawing and hovering any
// stored values never raise.
#include <memory>

#include "FixedCalendarLocale.h"
#include "FuzzSupport.h"
#include "RecordingHostWindow.h"
#include "RecordingPaintSurface.h"
#include "config/cCalendar.h"

namespace {

using namespace Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

// Every day type active with 07:00-16:00 on Monday to Friday, so that every value draws a
// bar of some day type.
const cTimeSchedule& EveryDayTypeActive() {
  static const cTimeSchedule schedule = [] {
    cTimeSchedule s;
    s.SetDefaultPeriod();
    for (int d = 0; d < kDayTypeCount; ++d)
      s.SetActive(d, true);
    return s;
  }();
  return schedule;
}

void ShowMonthOfFirstMark(cCalendar& calendar) {
  std::int32_t marked = 0;
  while (marked + 1 < kCalendarDays && calendar.GetDayType(marked) == 0)
    ++marked;
  calendar.m_SelectedYear = 2000 + marked / 366;  // a year at or before the date's
  calendar.m_SelectedMonth = 1;
  for (calendar.RecalculateAndPrepareToPaint();
       marked >= calendar.m_ActualMonthOffset + calendar.m_DaysInActualMonth;
       calendar.RecalculateAndPrepareToPaint())
    ++calendar.m_SelectedMonth;

  calendar.m_ShowTimeAxis = true;
  calendar.m_AssociatedTimeSchedule = &EveryDayTypeActive();
  RecordingHostWindow host;
  host.AnswerWith(
      HostOperation::Get_Combo_Calendar_DayType_ComboItems,
      [](std::span<const Variant> arguments) -> Variant { return hcp::ToText(arguments[0]); });
  host.Answer(HostOperation::Get_Combo_Calendar_DayType_SelectedItem, Variant::Nothing());
  RecordingPaintSurface surface;
  calendar.Paint(host, surface);
  for (double y = 20; y < 175; y += 12.5) {
    for (double x = 25; x < 315; x += 20)
      calendar.MouseMove(host, surface, 0, 0, x, y);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool localeSet = [] {
    SetCalendarLocale(std::make_shared<FixedCalendarLocale>());
    return true;
  }();
  (void)localeSet;
  TemporaryProgramFolder& folder = FuzzFolder();
  folder.Write("Calendar.dat", AsBytes(data, size));
  const std::string path = folder.PathOf("Calendar.dat");
  const std::u16string name = hcp::Utf8ToUtf16(path);

  const configdump::Decoded decoded = configdump::decodeCalendar(path, false);
  configdump::renderText(decoded.details);
  configdump::renderJson(decoded.details);

  cCalendar calendar;
  calendar.SetDayType(0, 5);
  std::string before;
  calendar.PutDiskForm(before);
  try {
    Check(calendar.ReadFromDisk(name), "an existing file is read");
  } catch (const hcp::RuntimeError&) {
    Check(!decoded.readable, "the dump and the calendar agree on what reads");
    std::string after;
    calendar.PutDiskForm(after);
    Check(after == before, "a failed read changes nothing");
    return 0;
  }
  Check(decoded.readable, "the dump and the calendar agree on what reads");
  std::string written;
  calendar.PutDiskForm(written);
  Check(written == AsBytes(data, size), "a calendar read is written back byte for byte");
  Check(calendar.CompareToDisk(name), "a calendar read compares equal to its file");
  ShowMonthOfFirstMark(calendar);
  return 0;
}
