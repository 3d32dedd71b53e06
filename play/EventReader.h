// Turns an input into events: a scenario (CSV with a header naming its columns) or a
// generic file as Fauxlarm writes it, told apart by the first line.
//
// Scenario columns, matched regardless of case, each at most once:
//   at           seconds from the start, "12.5", or "hh:mm:ss.mmm"; rows in time order.
//                Without it rows are sent at the chosen rate.
//   type         inactive, active, acked, message, or 0 to 3 (required)
//   tag, area, category, name, description, status
//                texts; a missing column sends the window's design text
//   date, time   texts; empty or missing: the local date or time when the event is sent
//   system       a system number of the catalogue or its code; empty or missing: the run's
// Texts are UTF-8 and leave as Windows-1252, "?" for what it cannot show; they cannot hold
// line breaks, since an event line cannot.
//
// Generic-file lines ("1|date|time|tag|...") are sent as they stand, without timing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "play/Platform.h"
#include "play/RecordReader.h"

namespace Play {

// One event as read, in Windows-1252.
struct Event {
  std::int16_t type = 0;
  bool timed = false;
  std::int64_t at = 0;  // nanoseconds from the start, when timed
  // A generic-file line is sent whole; other events from their fields.
  bool wholeLine = false;
  std::string line;
  std::string date, time, tag, area, category, name, description, status;
  bool stampDate = false;
  bool stampTime = false;
  std::int16_t system = -1;  // -1: the run's
};

// Something wrong with the input, where it is.
struct Problem {
  Position at;
  std::string message;  // "found ...; expected ..."
};

class EventReader {
 public:
  enum class Kind { kScenario, kGenericFile };
  enum class Status { kEvent, kBad, kEnd, kTimedOut, kStopped, kError };

  explicit EventReader(platform::Input& input) : records_(input) {}

  // Reads the header, or finds the input to be a generic file. kBad with the problem when
  // the first line is neither.
  Status Open(int timeoutMs, Problem* problem);
  Kind InputKind() const { return kind_; }
  // A scenario with an "at" column.
  bool Timed() const { return columnOf_[kAt] >= 0; }

  // The next event, or kBad with what is wrong with its row or line.
  Status Next(Event& event, Problem* problem, int timeoutMs);
  std::string Error() const { return records_.Error(); }

 private:
  enum Column {
    kAt,
    kType,
    kTag,
    kArea,
    kCategory,
    kName,
    kDescription,
    kStatus,
    kDate,
    kTime,
    kSystem,
    kColumnCount
  };

  Status ReadHeader(Problem* problem);
  bool ReadRow(Event& event, Problem* problem);
  bool ReadLine(Event& event, Problem* problem);
  bool TextField(Column column, std::string& out, Problem* problem);

  RecordReader records_;
  Record record_;
  Kind kind_ = Kind::kScenario;
  int columnOf_[kColumnCount];
  std::size_t columns_ = 0;
  std::int64_t previousAt_ = 0;
};

// A system number, or a code of the catalogue; -1 when it is neither.
std::int16_t SystemNumber(std::string_view text);

}  // namespace Play
