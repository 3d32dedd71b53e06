// Reading scenarios and generic files: records split anywhere between two reads, quoting,
// positions in characters, bounded records, and what a row may hold.
#include <gtest/gtest.h>

#include <algorithm>

#include "play/EventReader.h"
#include "play/RecordReader.h"

namespace {

using Play::Event;
using Play::EventReader;
using Play::Problem;
using Play::Record;
using Play::RecordReader;

// An input that hands out at most `piece` bytes a read, as a pipe may.
class PiecewiseInput : public Play::platform::Input {
 public:
  PiecewiseInput(std::string bytes, std::size_t piece) : bytes_(std::move(bytes)), piece_(piece) {}
  Result Read(char* buffer, std::size_t size, int) override {
    const std::size_t n = std::min({size, piece_, bytes_.size() - at_});
    std::copy_n(bytes_.data() + at_, n, buffer);
    at_ += n;
    return {n > 0 ? Status::kData : Status::kEnd, n};
  }
  std::string Error() const override { return {}; }

 private:
  std::string bytes_;
  std::size_t piece_;
  std::size_t at_ = 0;
};

struct Row {
  std::vector<std::string> fields;
  Record::Fault fault;
  std::int64_t line, column;  // of the first field, or of the fault
};

std::vector<Row> ReadAll(const std::string& bytes, std::size_t piece,
                         RecordReader::Mode mode = RecordReader::Mode::kCsv) {
  PiecewiseInput input(bytes, piece);
  RecordReader reader(input);
  reader.Prime(-1);
  reader.SetMode(mode);
  std::vector<Row> rows;
  Record record;
  while (reader.Next(record, -1) == RecordReader::Status::kRecord) {
    Row row{{}, record.fault, record.starts[0].line, record.starts[0].column};
    for (std::size_t i = 0; i < record.FieldCount(); ++i)
      row.fields.emplace_back(record.Field(i));
    if (record.fault != Record::Fault::kNone) {
      row.line = record.faultAt.line;
      row.column = record.faultAt.column;
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(RecordReader, RowsComeOutTheSameWhereverTheReadsSplitThem) {
  const std::string csv =
      "\xEF\xBB\xBF"
      "a,b,c\r\n"
      "\r\n"
      "\"x, \"\"y\"\"\",,\xC3\xB6\xE2\x82\xAC\n"
      "\"two\nlines\",z\n"
      "last,row";
  for (const std::size_t piece : {1, 2, 3, 7, 1 << 20}) {
    const std::vector<Row> rows = ReadAll(csv, piece);
    ASSERT_EQ(rows.size(), 4u) << piece;
    EXPECT_EQ(rows[0].fields, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(rows[1].fields, (std::vector<std::string>{"x, \"y\"", "", "\xC3\xB6\xE2\x82\xAC"}));
    EXPECT_EQ(rows[2].fields, (std::vector<std::string>{"two\nlines", "z"}));
    EXPECT_EQ(rows[3].fields, (std::vector<std::string>{"last", "row"}));
    EXPECT_EQ(rows[2].line, 4);
    EXPECT_EQ(rows[3].line, 6);
  }
}

TEST(RecordReader, FaultsSayWhereAndLongRecordsAreNotKept) {
  std::vector<Row> rows = ReadAll("\xC3\xB6\xC3\xB6,\"ab\"c,d\nok\n", 3);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].fault, Record::Fault::kAfterClosingQuote);
  EXPECT_EQ(rows[0].column, 8);  // characters, not bytes
  EXPECT_EQ(rows[1].fields, std::vector<std::string>{"ok"});

  rows = ReadAll("a\n1,\"never closed\n2,3\n", 5);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].fault, Record::Fault::kUnterminatedQuote);
  EXPECT_EQ(rows[1].line, 2);
  EXPECT_EQ(rows[1].column, 3);

  const std::string huge(RecordReader::kLongestRecord + 10, 'x');
  for (const RecordReader::Mode mode : {RecordReader::Mode::kCsv, RecordReader::Mode::kLines}) {
    rows = ReadAll(huge + "\nafter\n", 65536, mode);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].fault, Record::Fault::kTooLong);
    EXPECT_LE(rows[0].fields[0].size(), RecordReader::kLongestRecord);
    EXPECT_EQ(rows[1].fields, std::vector<std::string>{"after"});
    EXPECT_EQ(rows[1].line, 2);
  }
}

TEST(RecordReader, LinesKeepQuotesAndCommasAndLoseOnlyTheirLineEnds) {
  const std::vector<Row> rows =
      ReadAll("1|||\"a\",b|A5|2|n|d|s\r\n\r\n3|d|t||||n|m|", 4, RecordReader::Mode::kLines);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].fields, std::vector<std::string>{"1|||\"a\",b|A5|2|n|d|s"});
  EXPECT_EQ(rows[1].fields, std::vector<std::string>{"3|d|t||||n|m|"});
}

// The events of an input, or the problem with each bad one as "line:column: message".
std::vector<std::string> Events(const std::string& bytes) {
  PiecewiseInput input(bytes, 5);
  EventReader reader(input);
  Problem problem;
  std::vector<std::string> out;
  if (reader.Open(-1, &problem) == EventReader::Status::kBad) {
    return {std::to_string(problem.at.line) + ":" + std::to_string(problem.at.column) + ": " +
            problem.message};
  }
  Event event;
  for (;;) {
    const EventReader::Status status = reader.Next(event, &problem, -1);
    if (status == EventReader::Status::kEnd) break;
    if (status == EventReader::Status::kBad) {
      out.push_back(std::to_string(problem.at.line) + ":" + std::to_string(problem.at.column) +
                    ": " + problem.message.substr(0, problem.message.find(';')));
    } else if (event.wholeLine) {
      out.push_back(std::to_string(event.type) + " " + event.name + "/" + event.description);
    } else {
      out.push_back(std::to_string(event.type) + " at " + std::to_string(event.at) + " system " +
                    std::to_string(event.system) + " " + event.tag);
    }
  }
  return out;
}

TEST(EventReader, TimesTypesAndSystemsAreReadAsWrittenOrRefused) {
  EXPECT_EQ(Events("AT,Type,System,Tag\n"
                   "0,ACTIVE,GenericTcp,a\n"
                   "1.5,acked,5,b\n"
                   "00:01:02.25,Message,,c\n"
                   "100:00:00,0,,d\n"
                   "1:02,1,,e\n"
                   "00:60:00,1,,f\n"
                   "00:00:61,1,,g\n"
                   "1e3,1,,h\n"
                   "-1,1,,i\n"
                   ".5,1,,j\n"
                   "0.1234567891,1,,k\n"
                   "400000,4,,l\n"
                   "400000,1,10,m\n"
                   "400000,1,NOSUCH,n\n"),
            (std::vector<std::string>{
                "1 at 0 system 18 a",
                "2 at 1500000000 system 5 b",
                "3 at 62250000000 system -1 c",
                "0 at 360000000000000 system -1 d",
                "6:1: found the time \"1:02\"",
                "7:1: found the time \"00:60:00\"",
                "8:1: found the time \"00:00:61\"",
                "9:1: found the time \"1e3\"",
                "10:1: found the time \"-1\"",
                "11:1: found the time \".5\"",
                "12:1: found the time \"0.1234567891\"",
                "13:8: found the type \"4\"",
                "14:10: found the system \"10\"",
                "15:10: found the system \"NOSUCH\"",
            }));
}

TEST(EventReader, HeadersNameKnownColumnsOnceAndTypeAlways) {
  EXPECT_EQ(Events("at,type,tag,Tag\n")[0],
            "1:13: found the column \"Tag\" a second time; expected each column once");
  EXPECT_EQ(Events("at,tag\n")[0].substr(0, 26), "1:7: found no column \"type");
  EXPECT_EQ(Events("type\n1\n"), std::vector<std::string>{"1 at 0 system -1 TA0220'GT41"});
}

TEST(EventReader, GenericMessageLinesGiveTheirReceiverAndWholeText) {
  EXPECT_EQ(Events("3|d|t||||Duty Operator|a|b|\r\n1|d|t|x|A5|2|n|d|s\n2|short\n"),
            (std::vector<std::string>{"3 Duty Operator/a|b", "1 /", "3:8: found 2 fields"}));
}

}  // namespace
