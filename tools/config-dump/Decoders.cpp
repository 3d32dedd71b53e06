#include "Decoders.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <numeric>

#include "common/BinaryFile.h"
#include "common/Halvane_Common_Procedures.h"
#include "config/DiskFiles.h"
#include "config/Halvane_Config.h"
#include "config/ProfileFile.h"
#include "config/ReceiverFile.h"

namespace configdump {

namespace hcp = Halvane_Common_Procedures;
namespace hc = Halvane_Config;

namespace {

const char* const kWeekdays[] = {"Monday", "Tuesday",  "Wednesday", "Thursday",
                                 "Friday", "Saturday", "Sunday"};

std::string utf8(std::u16string_view text) {
  return hcp::Utf16ToUtf8(text);
}

Node textNode(std::u16string_view text) {
  return Node::text(utf8(text));
}

std::string dateText(hcp::DateTime date) {
  try {
    return utf8(hcp::ToText(hcp::Variant(date)));
  } catch (const hcp::RuntimeError&) {
    return "not a date";
  }
}

Node dateNode(hcp::DateTime date) {
  return Node::object()
      .add("days", Node::real(date.days))
      .add("text", Node::text(dateText(date)))
      .summarize(dateText(date));
}

const char* variantTypeName(hcp::VariantType type) {
  switch (type) {
    case hcp::VariantType::Empty:
      return "Empty";
    case hcp::VariantType::Null:
      return "Null";
    case hcp::VariantType::Integer:
      return "Integer";
    case hcp::VariantType::Long:
      return "Long";
    case hcp::VariantType::Single:
      return "Single";
    case hcp::VariantType::Double:
      return "Double";
    case hcp::VariantType::Currency:
      return "Currency";
    case hcp::VariantType::Date:
      return "Date";
    case hcp::VariantType::String:
      return "String";
    case hcp::VariantType::Object:
      return "Object";
    case hcp::VariantType::Boolean:
      return "Boolean";
    case hcp::VariantType::Byte:
      return "Byte";
  }
  return "?";
}

// A stored setting: its type and value.
Node variantNode(const hcp::Variant& value) {
  const std::string type = variantTypeName(value.Type());
  Node node = Node::object().add("type", Node::text(type));
  if (value.IsEmpty() || value.IsNull()) return node.summarize(type);
  std::string shown;
  if (value.IsText()) {
    shown = quoted(utf8(value.Get<std::u16string>()));
    node.add("value", textNode(value.Get<std::u16string>()));
  } else if (value.Holds<hcp::DateTime>()) {
    shown = dateText(value.Get<hcp::DateTime>());
    node.add("value", dateNode(value.Get<hcp::DateTime>()));
  } else if (value.Holds<bool>()) {
    shown = value.Get<bool>() ? "True" : "False";
    node.add("value", Node::boolean(value.Get<bool>()));
  } else {
    shown = utf8(hcp::ToText(value));
    node.add("value", Node::real(hcp::ToDouble(value)));
  }
  return node.summarize(type + " " + shown);
}

Node textList(const auto& texts) {
  Node list = Node::list();
  for (const std::u16string& text : texts)
    list.push(textNode(text));
  return list;
}

Node integerList(const auto& values) {
  Node list = Node::list();
  for (std::int16_t value : values)
    list.push(Node::integer(value));
  return list;
}

std::string dayTypeName(int dayType) {
  if (dayType < hc::kWeekDayTypes) return kWeekdays[dayType];
  return "special day type " + std::to_string(dayType - hc::kWeekDayTypes + 1);
}

// "07:00-16:00"; the stored minutes where one lies outside the day ("minutes -5..2000").
std::string periodText(const hc::cTimeSchedulePeriod& period) {
  if (hc::IsOutsideTheDay(period)) {
    return "minutes " + std::to_string(period.m_StartMinute) + ".." +
           std::to_string(period.m_StopMinute);
  }
  return utf8(hc::MinutesToTimeText(period.m_StartMinute) + u"-" +
              hc::MinutesToTimeText(period.m_StopMinute));
}

// One day type of a schedule, and what looks wrong with its periods.
Node dayTypeNode(const hc::cTimeSchedule& schedule, int dayType,
                 std::vector<std::string>& problems) {
  const std::vector<hc::PeriodRef>& periods = schedule.GetPeriods(dayType);
  Node list = Node::list();
  std::string line = schedule.GetActive(dayType) ? "active" : "inactive";
  if (schedule.GetGrouped(dayType)) line += ", grouped";
  line += ", row " + std::to_string(schedule.GetAxisRow(dayType));
  line += periods.empty() ? ", no periods" : ":";
  std::string outside;
  for (const hc::PeriodRef& period : periods) {
    list.push(Node::object()
                  .add("start", Node::integer(period->m_StartMinute))
                  .add("stop", Node::integer(period->m_StopMinute))
                  .summarize(periodText(*period)));
    line += " " + periodText(*period);
    if (hc::IsOutsideTheDay(*period))
      outside += (outside.empty() ? "" : ", ") + periodText(*period);
    if (period->m_StopMinute < period->m_StartMinute) {
      problems.push_back(dayTypeName(dayType) + ": period " + periodText(*period) +
                         " ends before it starts");
    }
  }
  if (!outside.empty()) {
    problems.push_back(dayTypeName(dayType) + ": " + outside +
                       " outside 00:00-24:00: kept as stored, clipped to the day where drawn or "
                       "inverted");
  }
  std::vector<const hc::cTimeSchedulePeriod*> sorted;
  for (const hc::PeriodRef& period : periods)
    sorted.push_back(period.get());
  std::sort(sorted.begin(), sorted.end(),
            [](const auto* a, const auto* b) { return a->m_StartMinute < b->m_StartMinute; });
  for (std::size_t i = 1; i < sorted.size(); ++i) {
    if (sorted[i]->m_StartMinute < sorted[i - 1]->m_StopMinute) {
      problems.push_back(dayTypeName(dayType) + ": periods " + periodText(*sorted[i - 1]) +
                         " and " + periodText(*sorted[i]) + " overlap");
      break;
    }
  }
  return Node::object()
      .add("day type", Node::integer(dayType))
      .add("name", Node::text(dayTypeName(dayType)))
      .add("active", Node::boolean(schedule.GetActive(dayType)))
      .add("grouped", Node::boolean(schedule.GetGrouped(dayType)))
      .add("axis row", Node::integer(schedule.GetAxisRow(dayType)))
      .add("periods", list)
      .summarize(line);
}

Node scheduleNode(const hc::cTimeSchedule& schedule, std::vector<std::string>& problems) {
  Node dayTypes = Node::object();
  for (int d = 0; d < hc::kDayTypeCount; ++d)
    dayTypes.add(dayTypeName(d), dayTypeNode(schedule, d, problems));
  return Node::object()
      .add("use calendar", Node::boolean(schedule.m_UseCalendar))
      .add("day types", dayTypes);
}

std::string plural(std::uint64_t count, const std::string& what) {
  return std::to_string(count) + " " + what + (count == 1 ? "" : "s");
}

// The frame every decoder shares: opens the file, lets decode read it, and ends the
// details with the problems. A read that fails is a problem that makes the file
// unreadable; the byte where reading stopped tells where the damage lies.
Decoded decodeWith(const std::string& path, const char* kind,
                   const std::function<void(hcp::BinaryFile&, Decoded&)>& decode) {
  Decoded decoded;
  decoded.details.add("file", Node::text(path)).add("kind", Node::text(kind));
  hcp::BinaryFile file;
  try {
    file.Open(hcp::Utf8ToUtf16(path), hcp::FileMode::Binary, hcp::FileAccess::Read);
    decoded.size = file.Length();
    decoded.details.add("size", Node::integer(*decoded.size));
    decoded.readable = true;
    decode(file, decoded);
  } catch (const std::exception& e) {
    decoded.readable = false;
    std::string where;
    if (file.IsOpen()) where = " at byte " + std::to_string(file.Position() - 1);
    decoded.problems.push_back("cannot be read" + where + ": " + e.what());
  }
  decoded.details.add("problems", decoded.problemsNode());
  return decoded;
}

// The version number of a receiver or profile file, or a problem when there is none to
// read or the server does not know it.
std::optional<std::int16_t> readVersion(hcp::BinaryFile& file, Decoded& decoded,
                                        bool (*isKnown)(std::int16_t)) {
  if (file.Length() < 2) {
    decoded.readable = false;
    decoded.problems.push_back("fewer than 2 bytes: the server finds nothing to load");
    return std::nullopt;
  }
  const std::int16_t version = hcp::GetInt16(file);
  decoded.version = version;
  decoded.details.add("version", Node::integer(version));
  if (!isKnown(version)) {
    decoded.readable = false;
    decoded.problems.push_back("unknown version " + std::to_string(version) +
                               ": the server does not load the file");
    return std::nullopt;
  }
  if (version != hc::kCurrentFileVersion) {
    decoded.problems.push_back("version " + std::to_string(version) +
                               ": the server rewrites the file as version 5 when it first "
                               "loads it");
  }
  return version;
}

void noteStoredIdentity(const std::string& path, std::int16_t stored, FileKind kind,
                        Decoded& decoded) {
  const std::optional<int> named =
      identityOfFileName(std::filesystem::path(path).filename().string(), kind);
  if (named && *named != stored) {
    decoded.problems.push_back("stores disk identity " + std::to_string(stored) +
                               " while its name gives " + std::to_string(*named) +
                               ": the server uses the name's");
  }
}

void noteBytesLeft(hcp::BinaryFile& file, const std::string& after, Decoded& decoded) {
  if (file.Remaining() > 0) {
    decoded.problems.push_back(plural(file.Remaining(), "byte") + " after the " + after +
                               " are not read");
  }
}

}  // namespace

Node Decoded::problemsNode() const {
  Node list = Node::list();
  for (const std::string& problem : problems)
    list.push(Node::text(problem));
  return list;
}

std::optional<int> identityOfFileName(const std::string& fileName, FileKind kind) {
  const std::string prefix = kind == FileKind::Receiver ? "Receiver_" : "Profile_";
  if (kind != FileKind::Receiver && kind != FileKind::Profile) return std::nullopt;
  if (fileName.size() != prefix.size() + 8 || fileName.compare(0, prefix.size(), prefix) != 0 ||
      fileName.compare(prefix.size() + 4, 4, ".dat") != 0) {
    return std::nullopt;
  }
  int identity = 0;
  for (std::size_t i = prefix.size(); i < prefix.size() + 4; ++i) {
    if (fileName[i] < '0' || fileName[i] > '9') return std::nullopt;
    identity = identity * 10 + (fileName[i] - '0');
  }
  return identity;
}

std::optional<FileKind> kindOfFile(const std::string& path) {
  const std::string name = std::filesystem::path(path).filename().string();
  if (identityOfFileName(name, FileKind::Receiver)) return FileKind::Receiver;
  if (identityOfFileName(name, FileKind::Profile)) return FileKind::Profile;
  if (name == kCalendarFileName) return FileKind::Calendar;
  std::error_code error;
  if (std::filesystem::file_size(path, error) == hc::cCalendar::kDiskFormBytes) {
    return FileKind::Calendar;
  }
  return std::nullopt;
}

Decoded decodeReceiver(const std::string& path) {
  return decodeWith(path, "receiver", [&path](hcp::BinaryFile& file, Decoded& decoded) {
    const std::optional<std::int16_t> version =
        readVersion(file, decoded, hc::IsReceiverFileVersion);
    if (!version) return;
    const hc::ReceiverRecord record =
        hc::GetReceiverRecord(file, hc::ReceiverFileVersion{*version});
    Node& details = decoded.details;
    if (record.version != hc::ReceiverFileVersion::V3) {
      details.add("disk identity", Node::integer(record.diskIdentity));
      noteStoredIdentity(path, record.diskIdentity, FileKind::Receiver, decoded);
    }
    details.add("enabled", Node::boolean(record.enabled))
        .add("receiver type id", Node::integer(record.receiverTypeId))
        .add("receiver name", textNode(record.receiverName));
    Node settings = Node::list();
    for (const hcp::Variant& setting : record.settings)
      settings.push(variantNode(setting));
    details.add("settings", settings).add("backup receiver", textNode(record.backupReceiver));
    if (record.version == hc::ReceiverFileVersion::V5) {
      details.add("time of writing", dateNode(record.timeOfWriting));
    }
    noteBytesLeft(file, "record", decoded);
    decoded.enabled = record.enabled;
    decoded.name = utf8(record.receiverName);
  });
}

Decoded decodeProfile(const std::string& path) {
  return decodeWith(path, "profile", [](hcp::BinaryFile& file, Decoded& decoded) {
    const std::optional<std::int16_t> version =
        readVersion(file, decoded, hc::IsProfileFileVersion);
    if (!version) return;
    const hc::ProfileRecord record = hc::GetProfileRecord(file, hc::ProfileFileVersion{*version});
    Node systems = integerList(record.systems);
    std::string set;
    for (std::size_t i = 0; i < record.systems.size(); ++i) {
      if (record.systems[i] == 0) continue;
      set +=
          (set.empty() ? "" : ", ") + std::to_string(i) + ": " + std::to_string(record.systems[i]);
    }
    systems.summarize(set.empty() ? "all 0" : set + " (the others 0)");
    Node& details = decoded.details;
    details.add("enabled", Node::boolean(record.enabled))
        .add("name", textNode(record.name))
        .add("states", integerList(record.states))
        .add("use time schedule", Node::boolean(record.useTimeSchedule))
        .add("parallel receivers", textNode(record.parallellReceivers))
        .add("sequential receivers", textNode(record.sequentialReceivers))
        .add("conditions", textList(record.conditions))
        .add("time-schedule view day type", Node::integer(record.timeScheduleViewDayType))
        .add("calendar view time axis", Node::integer(record.calendarViewTimeAxis))
        .add("use external tag", Node::boolean(record.useExternalTag))
        .add("external tag name", textNode(record.externalTagName))
        .add("ignore external tag in other profiles",
             Node::boolean(record.ignoreExternalTagInOtherProfiles))
        .add("use external file", Node::boolean(record.useExternalFile))
        .add("external file name", textNode(record.externalFileName))
        .add("external file text", textNode(record.externalFileText))
        .add("scan specific systems", Node::boolean(record.scanSpecificSystems))
        .add("systems", systems)
        .add("off-duty alarm behaviour", Node::integer(record.offDutyAlarmBehaviour));
    if (record.version == hc::ProfileFileVersion::V5) {
      details.add("time of writing", dateNode(record.timeOfWriting));
    }
    details.add("time schedule", scheduleNode(*record.schedule, decoded.problems));
    noteBytesLeft(file, "time schedule", decoded);
    decoded.enabled = record.enabled;
    decoded.name = utf8(record.name);
  });
}

Decoded decodeCalendar(const std::string& path, bool allDays) {
  return decodeWith(path, "calendar", [allDays](hcp::BinaryFile& file, Decoded& decoded) {
    hc::cCalendar calendar;
    try {
      calendar.GetDiskForm(file);
    } catch (const hcp::RuntimeError&) {
      // The damage lies where a file cut short ends, or where a longer one goes on.
      file.Seek(std::min<std::int64_t>(file.Length(), hc::cCalendar::kDiskFormBytes) + 1);
      throw;
    }
    const hcp::DateTime first = hcp::DateSerial(2000, 1, 1);
    Node dates = Node::list();
    int set = 0;
    std::map<int, int> setPerYear;
    int unknown = 0;
    std::string firstUnknown;
    for (int day = 0; day < hc::kCalendarDays; ++day) {
      const std::int16_t value = calendar.GetDayType(day);
      if (value == 0 && !allDays) continue;
      const hcp::DateTime date{first.days + day};
      std::string meaning = "ordinary day";
      if (value != 0) ++set;
      if (value >= 1 && value <= hc::cCalendar::kLastDayTypeValue)
        ++setPerYear[hcp::ToCivilTime(date).year];
      if (value >= 1 && value <= hc::kWeekDayTypes) {
        meaning = std::string("as ") + kWeekdays[value - 1];
      } else if (value > hc::kWeekDayTypes && value <= hc::cCalendar::kLastDayTypeValue) {
        meaning = dayTypeName(value - 1);
      } else if (value != 0) {
        meaning = "no day type: an ordinary day";
        if (unknown++ == 0) firstUnknown = dateText(date) + " holds " + std::to_string(value);
      }
      const std::string line = dateText(date) + " " + kWeekdays[hcp::WeekdayFromMonday(date)] +
                               ": " + std::to_string(value) + " (" + meaning + ")";
      dates.push(Node::object()
                     .add("day number", Node::integer(day))
                     .add("date", Node::text(dateText(date)))
                     .add("value", Node::integer(value))
                     .add("meaning", Node::text(meaning))
                     .summarize(line));
    }
    if (unknown > 0) {
      decoded.problems.push_back(plural(static_cast<std::uint64_t>(unknown), "date") +
                                 " with a value outside 0..23 (first: " + firstUnknown + ")");
    }
    Node years = Node::list();
    for (const auto& [year, count] : setPerYear) {
      years.push(Node::object()
                     .add("year", Node::integer(year))
                     .add("dates set", Node::integer(count))
                     .summarize(std::to_string(year) + ": " + std::to_string(count)));
      decoded.contents += (decoded.contents.empty() ? "" : ", ") + std::to_string(year) + " (" +
                          std::to_string(count) + ")";
    }
    decoded.contents = "dates set to a day type: " +
                       (decoded.contents.empty() ? std::string("none") : decoded.contents);
    decoded.details.add("dates set", Node::integer(set))
        .add("years", years)
        .add(allDays ? "dates" : "dates set to a day type", dates);
  });
}

Decoded decodeAlarms(const std::string& path, std::uint64_t offset, std::uint64_t count) {
  return decodeWith(
      path, "alarm records", [offset, count](hcp::BinaryFile& file, Decoded& decoded) {
        Node records = Node::list();
        std::uint64_t at = offset;
        for (std::uint64_t i = 0; i < count; ++i) {
          hc::cAlarm alarm;
          try {
            // Positioned here: a record's location has only 31 bits, a file's offset more.
            file.Seek(static_cast<std::int64_t>(at) + 1);
            alarm.ReadFromDisk(file, 0);
          } catch (const hcp::RuntimeError& e) {
            decoded.details.add("records", records);
            throw hcp::RuntimeError(e.Number(), "record " + std::to_string(i + 1) + " at byte " +
                                                    std::to_string(at) + ": " + e.what());
          }
          const auto next = static_cast<std::uint64_t>(file.Position() - 1);
          std::array<std::u16string, hc::cAlarm::kConditions> conditions;
          for (std::int16_t c = 0; c < hc::cAlarm::kConditions; ++c)
            conditions[c] = alarm.GetCondition(c);
          records.push(
              Node::object()
                  .add("offset", Node::integer(static_cast<std::int64_t>(at)))
                  .add("length", Node::integer(static_cast<std::int64_t>(next - at)))
                  .add("time stamp from SCADA", dateNode(alarm.m_TimeStampFromSCADA))
                  .add("time stamp from PC", dateNode(alarm.m_TimeStampFromPC))
                  .add("event id", Node::integer(alarm.m_EventId))
                  .add("event id hex", textNode(alarm.ViewEventIdAsHex()))
                  .add("status", Node::integer(alarm.m_Status))
                  .add("conditions", textList(conditions))
                  .add("sequence receivers", textNode(alarm.m_SequenceReceivers))
                  .add("sequence receiver confirm", textNode(alarm.m_SequenceReceiverConfirm))
                  .add("sequence numbers", Node::integer(alarm.m_SequenceNumbers))
                  .add("parallel receivers", textNode(alarm.m_ParallellReceivers))
                  .add("parallel numbers", Node::integer(alarm.m_ParallellNumbers)));
          at = next;
        }
        decoded.details.add("records", records);
      });
}

}  // namespace configdump
