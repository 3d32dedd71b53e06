// Reads an input record by record, in chunks, so that memory stays bounded whatever the
// input's size. Two kinds of records:
//
// - CSV rows (RFC 4180): fields separated by ",", rows by CR LF or LF; a field in double
//   quotes may hold ",", line breaks and "" for one quote. A quote inside a field without
//   quotes is kept as it is. A UTF-8 byte order mark at the start is skipped.
// - lines: the bytes up to LF, without a CR before it.
//
// Empty lines are skipped. Every field knows where it starts (line, and column counted in
// UTF-8 characters), so that problems can be told where they are.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "play/Platform.h"

namespace Play {

struct Position {
  std::int64_t line = 1;
  std::int64_t column = 1;
};

struct Record {
  // What made the record unreadable; its fields are then not to be used.
  enum class Fault {
    kNone,
    kUnterminatedQuote,  // at the opening quote
    kAfterClosingQuote,  // at the character after it
    kTooLong,            // at the start of the record
  };

  std::size_t FieldCount() const { return count; }
  std::string_view Field(std::size_t i) const { return fields[i]; }

  std::vector<std::string> fields;  // the first `count` are this record's; kept for reuse
  std::vector<Position> starts;
  std::size_t count = 0;
  Position start;
  Position end;  // just after the last character
  Fault fault = Fault::kNone;
  Position faultAt;
  char found = 0;  // for kAfterClosingQuote
};

class RecordReader {
 public:
  enum class Mode { kCsv, kLines };
  enum class Status { kRecord, kEnd, kTimedOut, kStopped, kError };

  // Longer records are read to their end but not kept.
  static constexpr std::size_t kLongestRecord = 1 << 20;

  explicit RecordReader(platform::Input& input);

  // Reads until the first line is whole (or the input ends) and skips a byte order mark.
  Status Prime(int timeoutMs);
  // The first line as read by Prime, without its line break (cut at kLongestRecord).
  std::string_view FirstLine() const;

  void SetMode(Mode mode) { mode_ = mode; }
  // The next record; kTimedOut when timeoutMs passed without a whole one (what was read
  // is kept for the next call).
  Status Next(Record& record, int timeoutMs);
  std::string Error() const { return input_.Error(); }

 private:
  enum class State { kFieldStart, kUnquoted, kQuoted, kQuoteInQuoted, kAfterCr };

  Status Fill(int timeoutMs);
  // Consumes buffered bytes into the record; true when it is complete.
  bool Scan(Record& record);
  bool Finish(Record& record);
  void StartRecord(Record& record);
  void StartField(Record& record);
  void Append(Record& record, const char* bytes, std::size_t size);
  void Advance(const char* bytes, std::size_t size);

  platform::Input& input_;
  Mode mode_ = Mode::kCsv;
  std::vector<char> buffer_;
  std::size_t begin_ = 0;
  std::size_t end_ = 0;
  bool ended_ = false;
  bool primed_ = false;

  // Where the next byte lies.
  Position at_;
  // The record being read, across chunks.
  bool inRecord_ = false;
  bool anyContent_ = false;
  State state_ = State::kFieldStart;
  std::size_t recordBytes_ = 0;
};

}  // namespace Play
