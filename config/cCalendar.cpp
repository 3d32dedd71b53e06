// The data half of cCalendar: day types and the calendar file.
#include "config/cCalendar.h"

#include <bit>
#include <cstring>
#include <memory>

#include "common/BinaryFile.h"
#include "common/Halvane_Common_Procedures.h"
#include "config/FileReplacements.h"

namespace Halvane_Config {

namespace hcp = Halvane_Common_Procedures;

namespace {

// 1 January 2000 as a date serial.
constexpr std::int32_t kFirstCalendarSerial = 36526;

// The file's values are little-endian, like the values in memory on most machines; there
// whole days are copied and compared at once.
constexpr bool kMemoryIsFileOrder = std::endian::native == std::endian::little;

// Used only where memory is not in file order.
[[maybe_unused]] std::int16_t ValueAt(const char* bytes, std::size_t day) {
  const auto low = static_cast<unsigned char>(bytes[2 * day]);
  const auto high = static_cast<unsigned char>(bytes[2 * day + 1]);
  return static_cast<std::int16_t>(low | high << 8);
}

std::string Described(int number, const std::string& detail) {
  return hcp::RuntimeError::DescriptionOf(number) + " (" + detail + ")";
}

// The calendar's bytes: all that remains of the input, which must be exactly a calendar.
std::unique_ptr<char[]> ReadCalendarBytes(hcp::ByteInput& in) {
  const std::uint64_t length = in.Remaining();
  if (length != cCalendar::kDiskFormBytes) {
    const int number =
        length < cCalendar::kDiskFormBytes ? hcp::kInputPastEndOfFile : hcp::kInvalidFileFormat;
    throw hcp::RuntimeError(
        number, Described(number, "a calendar of " + std::to_string(length) + " bytes, not " +
                                      std::to_string(cCalendar::kDiskFormBytes)));
  }
  auto bytes = std::make_unique_for_overwrite<char[]>(cCalendar::kDiskFormBytes);
  in.ReadBytes(bytes.get(), cCalendar::kDiskFormBytes);
  return bytes;
}

}  // namespace

std::int32_t cCalendar::DayNumber(int year, int month, int day) {
  return static_cast<std::int32_t>(hcp::DateSerial(year, month, day).days) - kFirstCalendarSerial;
}

void cCalendar::RequireDay(std::int32_t TheDay) {
  if (TheDay < 0 || TheDay >= kCalendarDays) throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
}

void cCalendar::SetDayType(std::int32_t TheDay, std::int16_t DayType) {
  RequireDay(TheDay);
  m_DayTypes[TheDay] = DayType;
}

std::int16_t cCalendar::GetDayType(std::int32_t TheDay) const {
  RequireDay(TheDay);
  return m_DayTypes[TheDay];
}

bool cCalendar::IsDayTypeUsed(int DayType) const {
  if (DayType < 0 || DayType >= kDayTypeCount) throw hcp::RuntimeError(hcp::kSubscriptOutOfRange);
  return false;
}

void cCalendar::PutDiskForm(std::string& out) const {
  out.reserve(out.size() + kDiskFormBytes);
  for (const std::int16_t value : m_DayTypes)
    hcp::PutInt16(out, value);
}

void cCalendar::GetDiskForm(hcp::ByteInput& in) {
  const std::unique_ptr<char[]> bytes = ReadCalendarBytes(in);
  if constexpr (kMemoryIsFileOrder) {
    std::memcpy(m_DayTypes.data(), bytes.get(), kDiskFormBytes);
  } else {
    for (std::size_t day = 0; day < m_DayTypes.size(); ++day)
      m_DayTypes[day] = ValueAt(bytes.get(), day);
  }
}

bool cCalendar::ReadFromDisk(std::u16string_view CalendarName) {
  if (!hcp::FileExists(CalendarName)) return false;
  hcp::BinaryFile file(CalendarName, hcp::FileMode::Binary, hcp::FileAccess::Read);
  GetDiskForm(file);
  return true;
}

bool cCalendar::CompareToDisk(std::u16string_view CalendarName) const {
  if (!hcp::FileExists(CalendarName)) return false;
  hcp::BinaryFile file(CalendarName, hcp::FileMode::Binary, hcp::FileAccess::Read);
  if (file.Length() != static_cast<std::int64_t>(kDiskFormBytes)) return false;
  const std::unique_ptr<char[]> bytes = ReadCalendarBytes(file);
  if constexpr (kMemoryIsFileOrder) {
    return std::memcmp(bytes.get(), m_DayTypes.data(), kDiskFormBytes) == 0;
  } else {
    for (std::size_t day = 0; day < m_DayTypes.size(); ++day) {
      if (ValueAt(bytes.get(), day) != m_DayTypes[day]) return false;
    }
    return true;
  }
}

bool cCalendar::CompareToOtherCalendar(const cCalendar& OtherCalendar) const {
  return m_DayTypes == OtherCalendar.m_DayTypes;
}

bool cCalendar::SaveToDisk(std::u16string_view CalendarName) const {
  if (CalendarName.empty()) throw hcp::RuntimeError(hcp::kBadFileNameOrNumber);
  std::string bytes;
  PutDiskForm(bytes);
  ReplaceFile(CalendarName, bytes);
  return true;
}

}  // namespace Halvane_Config
