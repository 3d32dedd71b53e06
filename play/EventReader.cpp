#include "play/EventReader.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>
#include <utility>

#include "common/Halvane_Common_Procedures.h"
#include "events/EventLine.h"

namespace Play {
namespace {

namespace hcp = Halvane_Common_Procedures;

constexpr std::array<std::string_view, 11> kColumnNames = {
    "at",          "type",   "tag",  "area", "category", "name",
    "description", "status", "date", "time", "system"};
constexpr const char* kColumnList =
    "at, type, tag, area, category, name, description, status, date, time or system";
constexpr std::array<std::string_view, 4> kTypeNames = {"inactive", "active", "acked", "message"};
constexpr std::int64_t kSecond = 1'000'000'000;
// A generic-file line: the type digit, then at least eight separators.
constexpr int kGenericSeparators = 8;

bool SameLetters(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return (x >= 'A' && x <= 'Z' ? x + 32 : x) == (y >= 'A' && y <= 'Z' ? y + 32 : y);
  });
}

// The text as a user sees it in a message, cut when long.
std::string Quoted(std::string_view text) {
  constexpr std::size_t kShown = 40;
  std::string shown(text.substr(0, kShown));
  if (text.size() > kShown) shown += "...";
  return "\"" + shown + "\"";
}

bool AllDigits(std::string_view text) {
  return !text.empty() &&
         std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Digits with an optional fraction of up to nine digits, as nanoseconds.
bool ParseSeconds(std::string_view text, std::int64_t maxWhole, std::int64_t& nanoseconds) {
  const std::size_t dot = text.find('.');
  const std::string_view whole = text.substr(0, dot);
  const std::string_view fraction = dot == std::string_view::npos ? "" : text.substr(dot + 1);
  if (!AllDigits(whole) || whole.size() > 10 ||
      (dot != std::string_view::npos && (!AllDigits(fraction) || fraction.size() > 9))) {
    return false;
  }
  std::int64_t seconds = 0;
  std::from_chars(whole.data(), whole.data() + whole.size(), seconds);
  if (seconds > maxWhole) return false;
  std::int64_t nanos = 0;
  for (std::size_t i = 0; i < 9; ++i)
    nanos = nanos * 10 + (i < fraction.size() ? fraction[i] - '0' : 0);
  nanoseconds = seconds * kSecond + nanos;
  return true;
}

// "12.5" or "hh:mm:ss.mmm", as nanoseconds from the start.
bool ParseAt(std::string_view text, std::int64_t& nanoseconds) {
  constexpr std::int64_t kLongestRun = 100'000'000;  // seconds: over three years
  const std::size_t first = text.find(':');
  if (first == std::string_view::npos) return ParseSeconds(text, kLongestRun, nanoseconds);
  const std::size_t second = text.find(':', first + 1);
  if (second == std::string_view::npos) return false;
  const std::string_view hours = text.substr(0, first);
  const std::string_view minutes = text.substr(first + 1, second - first - 1);
  const std::string_view seconds = text.substr(second + 1);  // "ss" or "ss.mmm"
  if (!AllDigits(hours) || hours.size() > 5 || minutes.size() != 2 || !AllDigits(minutes) ||
      seconds.size() < 2 || (seconds.size() > 2 && seconds[2] != '.')) {
    return false;
  }
  std::int64_t h = 0;
  std::int64_t m = 0;
  std::int64_t s = 0;
  std::from_chars(hours.data(), hours.data() + hours.size(), h);
  std::from_chars(minutes.data(), minutes.data() + minutes.size(), m);
  if (m > 59 || !ParseSeconds(seconds, 59, s)) return false;
  nanoseconds = (h * 3600 + m * 60) * kSecond + s;
  return true;
}

std::string AtText(std::int64_t nanoseconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld.%03lld s", static_cast<long long>(nanoseconds / kSecond),
                static_cast<long long>(nanoseconds % kSecond / 1'000'000));
  return text;
}

EventReader::Status FromRecords(RecordReader::Status status) {
  switch (status) {
    case RecordReader::Status::kRecord:
      return EventReader::Status::kEvent;
    case RecordReader::Status::kEnd:
      return EventReader::Status::kEnd;
    case RecordReader::Status::kTimedOut:
      return EventReader::Status::kTimedOut;
    case RecordReader::Status::kStopped:
      return EventReader::Status::kStopped;
    case RecordReader::Status::kError:
      break;
  }
  return EventReader::Status::kError;
}

int TypeOf(std::string_view text) {
  if (text.size() == 1 && text[0] >= '0' && text[0] <= '3') return text[0] - '0';
  for (std::size_t i = 0; i < kTypeNames.size(); ++i) {
    if (SameLetters(text, kTypeNames[i])) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

std::int16_t SystemNumber(std::string_view text) {
  hcp::InitScadaSystems();
  if (AllDigits(text) && text.size() <= 2) {
    int number = 0;
    std::from_chars(text.data(), text.data() + text.size(), number);
    if (number < Halvane_Common_Constants::kScadaSystemSlots &&
        !hcp::ScadaSystemCodes[number].empty()) {
      return static_cast<std::int16_t>(number);
    }
    return -1;
  }
  for (int number = 0; number < Halvane_Common_Constants::kScadaSystemSlots; ++number) {
    const std::u16string& code = hcp::ScadaSystemCodes[number];
    if (!code.empty() && SameLetters(text, hcp::Utf16ToUtf8(code))) {
      return static_cast<std::int16_t>(number);
    }
  }
  return -1;
}

EventReader::Status EventReader::Open(int timeoutMs, Problem* problem) {
  std::fill(std::begin(columnOf_), std::end(columnOf_), -1);
  const Status primed = FromRecords(records_.Prime(timeoutMs));
  if (primed != Status::kEvent) return primed;
  const std::string_view first = records_.FirstLine();
  if (first.size() >= 2 && first[0] >= '0' && first[0] <= '3' && first[1] == '|') {
    kind_ = Kind::kGenericFile;
    records_.SetMode(RecordReader::Mode::kLines);
    return Status::kEvent;
  }
  kind_ = Kind::kScenario;
  return ReadHeader(problem);
}

EventReader::Status EventReader::ReadHeader(Problem* problem) {
  const Status status = FromRecords(records_.Next(record_, -1));
  if (status != Status::kEvent) return status;
  if (record_.fault != Record::Fault::kNone) {
    *problem = {record_.faultAt,
                "found a header that cannot be read; expected the names of the "
                "columns (" +
                    std::string(kColumnList) + ")"};
    return Status::kBad;
  }
  columns_ = record_.FieldCount();
  for (std::size_t i = 0; i < columns_; ++i) {
    const std::string_view name = record_.Field(i);
    const auto known =
        std::find_if(kColumnNames.begin(), kColumnNames.end(),
                     [&](std::string_view column) { return SameLetters(name, column); });
    if (known == kColumnNames.end()) {
      std::string message = "found the column " + Quoted(name) + "; expected " + kColumnList;
      if (i == 0) message += ", or a generic-file line (1|date|time|tag|...)";
      *problem = {record_.starts[i], message};
      return Status::kBad;
    }
    int& column = columnOf_[known - kColumnNames.begin()];
    if (column >= 0) {
      *problem = {record_.starts[i],
                  "found the column " + Quoted(name) + " a second time; expected each column once"};
      return Status::kBad;
    }
    column = static_cast<int>(i);
  }
  if (columnOf_[kType] < 0) {
    *problem = {record_.end,
                "found no column \"type\"; expected one, since every event has a type"};
    return Status::kBad;
  }
  return Status::kEvent;
}

EventReader::Status EventReader::Next(Event& event, Problem* problem, int timeoutMs) {
  const Status status = FromRecords(records_.Next(record_, timeoutMs));
  if (status != Status::kEvent) return status;
  switch (record_.fault) {
    case Record::Fault::kNone:
      break;
    case Record::Fault::kUnterminatedQuote:
      *problem = {record_.faultAt,
                  "found a quote that is never closed; expected a closing quote before the end of "
                  "the file"};
      return Status::kBad;
    case Record::Fault::kAfterClosingQuote:
      *problem = {record_.faultAt, "found " + Quoted(std::string_view(&record_.found, 1)) +
                                       " after a closing quote; expected \",\" or the end of "
                                       "the row"};
      return Status::kBad;
    case Record::Fault::kTooLong:
      *problem = {record_.faultAt, "found a row of more than 1 MB; expected a row of one event"};
      return Status::kBad;
  }
  const bool good =
      kind_ == Kind::kGenericFile ? ReadLine(event, problem) : ReadRow(event, problem);
  return good ? Status::kEvent : Status::kBad;
}

bool EventReader::ReadLine(Event& event, Problem* problem) {
  const std::string_view line = record_.Field(0);
  if (line.size() < 2 || line[0] < '0' || line[0] > '3' || line[1] != '|') {
    *problem = {record_.start, "found " + Quoted(line) +
                                   "; expected a generic-file line, a type 0 to 3 and \"|\""};
    return false;
  }
  const auto separators = std::count(line.begin(), line.end(), '|');
  if (separators < kGenericSeparators) {
    *problem = {record_.end, "found " + std::to_string(separators + 1) +
                                 " fields; expected at least 9 "
                                 "(type|date|time|tag|area|category|name|description|status)"};
    return false;
  }
  event.type = static_cast<std::int16_t>(line[0] - '0');
  event.timed = false;
  event.wholeLine = true;
  event.system = -1;
  event.line.assign(line);
  if (event.type == FauxlarmEvents::kMessage) {
    // 3|date|time||||name|message| : the name is the seventh field, the message all up to
    // the last separator, "|" and all.
    std::size_t p = 0;
    for (int k = 0; k < 6; ++k)
      p = line.find('|', p) + 1;
    const std::size_t nameEnd = line.find('|', p);
    event.name.assign(line.substr(p, nameEnd - p));
    event.description.assign(line.substr(nameEnd + 1, line.rfind('|') - nameEnd - 1));
  } else {
    event.name.clear();
    event.description.clear();
  }
  return true;
}

bool EventReader::TextField(Column column, std::string& out, Problem* problem) {
  out.clear();
  const int index = columnOf_[column];
  if (index < 0) {
    if (column >= kTag && column <= kStatus)
      out.assign(FauxlarmEvents::kDesignFields[column - kTag]);
    return true;
  }
  const std::string_view text = record_.Field(index);
  if (text.find_first_of("\r\n") != std::string_view::npos) {
    *problem = {record_.starts[index], "found a line break in " +
                                           std::string(kColumnNames[column]) +
                                           "; expected one line, since an event line cannot "
                                           "hold a line break"};
    return false;
  }
  std::size_t bad = 0;
  if (!hcp::AppendUtf8AsWindows1252(text, out, &bad)) {
    char byte[8];
    std::snprintf(byte, sizeof byte, "0x%02X", static_cast<unsigned char>(text[bad]));
    *problem = {record_.starts[index], "found the byte " + std::string(byte) + " in " +
                                           std::string(kColumnNames[column]) +
                                           ", which is not UTF-8; expected UTF-8 text (save the "
                                           "file as \"CSV UTF-8\")"};
    return false;
  }
  return true;
}

bool EventReader::ReadRow(Event& event, Problem* problem) {
  if (record_.FieldCount() > columns_) {
    *problem = {record_.starts[columns_], "found " + std::to_string(record_.FieldCount()) +
                                              " fields; expected " + std::to_string(columns_) +
                                              ", one for each column of the header"};
    return false;
  }
  if (record_.FieldCount() < columns_) {
    *problem = {record_.end, "found " + std::to_string(record_.FieldCount()) +
                                 " fields; expected " + std::to_string(columns_) +
                                 ", one for each column of the header"};
    return false;
  }
  event.timed = Timed();
  if (event.timed) {
    const std::string_view at = record_.Field(columnOf_[kAt]);
    if (!ParseAt(at, event.at)) {
      *problem = {record_.starts[columnOf_[kAt]],
                  "found the time " + Quoted(at) +
                      "; expected seconds from the start (12.5) or hh:mm:ss.mmm"};
      return false;
    }
    const std::int64_t previous = std::exchange(previousAt_, event.at);
    if (event.at < previous) {
      *problem = {record_.starts[columnOf_[kAt]],
                  "found " + AtText(event.at) + ", earlier than the row before (" +
                      AtText(previous) + "); expected rows in time order"};
      return false;
    }
  }
  const std::string_view type = record_.Field(columnOf_[kType]);
  const int typeNumber = TypeOf(type);
  if (typeNumber < 0) {
    *problem = {
        record_.starts[columnOf_[kType]],
        "found the type " + Quoted(type) + "; expected inactive, active, acked, message or 0 to 3"};
    return false;
  }
  event.type = static_cast<std::int16_t>(typeNumber);
  event.wholeLine = false;
  event.system = -1;
  if (columnOf_[kSystem] >= 0 && !record_.Field(columnOf_[kSystem]).empty()) {
    const std::string_view system = record_.Field(columnOf_[kSystem]);
    event.system = SystemNumber(system);
    if (event.system < 0) {
      *problem = {record_.starts[columnOf_[kSystem]],
                  "found the system " + Quoted(system) +
                      "; expected a system number of the catalogue or its code (18, GENERICTCP)"};
      return false;
    }
  }
  if (!TextField(kTag, event.tag, problem) || !TextField(kArea, event.area, problem) ||
      !TextField(kCategory, event.category, problem) || !TextField(kName, event.name, problem) ||
      !TextField(kDescription, event.description, problem) ||
      !TextField(kStatus, event.status, problem) || !TextField(kDate, event.date, problem) ||
      !TextField(kTime, event.time, problem)) {
    return false;
  }
  event.stampDate = event.date.empty();
  event.stampTime = event.time.empty();
  return true;
}

}  // namespace Play
