#include "play/RecordReader.h"

#include <algorithm>
#include <cstring>

namespace Play {
namespace {

constexpr std::size_t kChunk = 1 << 20;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

bool IsContinuationByte(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

}  // namespace

RecordReader::RecordReader(platform::Input& input) : input_(input), buffer_(kChunk) {}

RecordReader::Status RecordReader::Fill(int timeoutMs) {
  if (begin_ == end_) {
    begin_ = end_ = 0;
  } else if (begin_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  const platform::Input::Result read =
      input_.Read(buffer_.data() + end_, buffer_.size() - end_, timeoutMs);
  switch (read.status) {
    case platform::Input::Status::kData:
      end_ += read.count;
      return Status::kRecord;
    case platform::Input::Status::kEnd:
      ended_ = true;
      return Status::kEnd;
    case platform::Input::Status::kTimedOut:
      return Status::kTimedOut;
    case platform::Input::Status::kStopped:
      return Status::kStopped;
    case platform::Input::Status::kError:
      break;
  }
  return Status::kError;
}

RecordReader::Status RecordReader::Prime(int timeoutMs) {
  while (!ended_ && end_ < buffer_.size() &&
         std::memchr(buffer_.data() + begin_, '\n', end_ - begin_) == nullptr) {
    const Status status = Fill(timeoutMs);
    if (status != Status::kRecord && status != Status::kEnd) return status;
  }
  if (!primed_ &&
      std::string_view(buffer_.data() + begin_, end_ - begin_).starts_with(kByteOrderMark)) {
    begin_ += sizeof kByteOrderMark - 1;
  }
  primed_ = true;
  return Status::kRecord;
}

std::string_view RecordReader::FirstLine() const {
  std::string_view rest(buffer_.data() + begin_, std::min(end_ - begin_, kLongestRecord));
  rest = rest.substr(0, rest.find('\n'));
  if (rest.ends_with('\r')) rest.remove_suffix(1);
  return rest;
}

void RecordReader::Advance(const char* bytes, std::size_t size) {
  recordBytes_ += size;
  for (std::size_t i = 0; i < size; ++i) {
    if (bytes[i] == '\n') {
      ++at_.line;
      at_.column = 1;
    } else if (!IsContinuationByte(bytes[i])) {
      ++at_.column;
    }
  }
  begin_ += size;
}

void RecordReader::StartRecord(Record& record) {
  inRecord_ = true;
  anyContent_ = false;
  recordBytes_ = 0;
  state_ = State::kFieldStart;
  record.count = 0;
  record.fault = Record::Fault::kNone;
  record.start = at_;
  StartField(record);
}

void RecordReader::StartField(Record& record) {
  if (recordBytes_ > kLongestRecord) return;
  if (record.fields.size() <= record.count) {
    record.fields.emplace_back();
    record.starts.emplace_back();
  }
  record.fields[record.count].clear();
  record.starts[record.count] = at_;
  ++record.count;
}

void RecordReader::Append(Record& record, const char* bytes, std::size_t size) {
  anyContent_ = true;
  if (recordBytes_ + size > kLongestRecord) {
    if (record.fault == Record::Fault::kNone) {
      record.fault = Record::Fault::kTooLong;
      record.faultAt = record.start;
    }
    return;
  }
  record.fields[record.count - 1].append(bytes, size);
}

// The end of a record: true when it is one to deliver, false for an empty line.
bool RecordReader::Finish(Record& record) {
  inRecord_ = false;
  record.end = at_;
  if (mode_ == Mode::kLines) {
    std::string& line = record.fields[0];
    if (line.ends_with('\r')) {
      line.pop_back();
      --record.end.column;
    }
    return !line.empty() || record.fault != Record::Fault::kNone;
  }
  if (state_ == State::kAfterCr) --record.end.column;
  if (state_ == State::kQuoted || state_ == State::kQuoteInQuoted) anyContent_ = true;
  if (state_ == State::kQuoted) {
    record.fault = Record::Fault::kUnterminatedQuote;
    record.faultAt = record.starts[record.count - 1];
  }
  return anyContent_;
}

bool RecordReader::Scan(Record& record) {
  while (begin_ < end_) {
    if (!inRecord_) StartRecord(record);
    const char* const data = buffer_.data();
    const char* const stop = data + end_;
    const char* p = data + begin_;

    if (mode_ == Mode::kLines) {
      const char* newline = static_cast<const char*>(std::memchr(p, '\n', stop - p));
      const char* const contentEnd = newline != nullptr ? newline : stop;
      Append(record, p, contentEnd - p);
      Advance(p, contentEnd - p);
      if (newline == nullptr) return false;
      const bool deliver = Finish(record);
      Advance(newline, 1);
      if (deliver) return true;
      continue;
    }

    switch (state_) {
      case State::kFieldStart:
        if (*p == '"') {
          anyContent_ = true;
          Advance(p, 1);
          state_ = State::kQuoted;
        } else {
          state_ = State::kUnquoted;
        }
        break;
      case State::kUnquoted: {
        const char* run = p;
        while (run < stop && *run != ',' && *run != '\n' && *run != '\r')
          ++run;
        if (run > p) {
          Append(record, p, run - p);
          Advance(p, run - p);
        }
        if (run == stop) return false;
        if (*run == ',') {
          anyContent_ = true;
          Advance(run, 1);
          StartField(record);
          state_ = State::kFieldStart;
        } else if (*run == '\r') {
          Advance(run, 1);
          state_ = State::kAfterCr;
        } else {
          const bool deliver = Finish(record);
          Advance(run, 1);
          if (deliver) return true;
        }
        break;
      }
      case State::kQuoted: {
        const char* quote = static_cast<const char*>(std::memchr(p, '"', stop - p));
        const char* const contentEnd = quote != nullptr ? quote : stop;
        Append(record, p, contentEnd - p);
        Advance(p, contentEnd - p);
        if (quote == nullptr) return false;
        Advance(quote, 1);
        state_ = State::kQuoteInQuoted;
        break;
      }
      case State::kQuoteInQuoted:
        if (*p == '"') {
          Append(record, p, 1);
          Advance(p, 1);
          state_ = State::kQuoted;
        } else if (*p == ',' || *p == '\r' || *p == '\n') {
          state_ = State::kUnquoted;  // which ends the field there
        } else {
          if (record.fault == Record::Fault::kNone) {
            record.fault = Record::Fault::kAfterClosingQuote;
            record.faultAt = at_;
            record.found = *p;
          }
          state_ = State::kUnquoted;
        }
        break;
      case State::kAfterCr:
        if (*p == '\n') {
          const bool deliver = Finish(record);
          Advance(p, 1);
          if (deliver) return true;
        } else {
          // A CR alone belongs to the field, like any other character.
          Append(record, "\r", 1);
          state_ = State::kUnquoted;
        }
        break;
    }
  }
  return false;
}

RecordReader::Status RecordReader::Next(Record& record, int timeoutMs) {
  for (;;) {
    if (Scan(record)) return Status::kRecord;
    if (ended_) {
      if (inRecord_ && Finish(record)) return Status::kRecord;
      return Status::kEnd;
    }
    const Status status = Fill(timeoutMs);
    if (status != Status::kRecord && status != Status::kEnd) return status;
  }
}

}  // namespace Play
