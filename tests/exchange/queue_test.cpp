#include <functional>
#include <string>
#include <vector>

#include "ExchangeFixture.h"
#include "MappedObject.h"

namespace {

// A text whose every position shows, so that a cut in the wrong place is seen.
std::string textOf(size_t length) {
  std::string text;
  for (size_t i = 0; i < length; ++i)
    text += static_cast<char>('a' + i % 26);
  return text;
}

using Getter = std::function<int32_t(int32_t*, char*, int32_t*)>;

class QueueTest : public ExchangeFixture {
 protected:
  std::vector<Getter> everyGetter() {
    std::vector<Getter> getters{
        h3.GetSysLogEntry, h3.GetDebugEntry, [this](int32_t* cursor, char* buffer, int32_t* size) {
          int32_t v1, v2, v3, v4;
          return h3.GetTreeViewEntry(cursor, buffer, size, &v1, &v2, &v3, &v4);
        }};
    for (int32_t queue = 0; queue < 4; ++queue)
      getters.push_back(command(queue));
    return getters;
  }
  Getter command(int32_t queue) {
    return [this, queue](int32_t* cursor, char* buffer, int32_t* size) {
      return h3.GetCommandEntry(cursor, buffer, size, queue);
    };
  }
  // Every entry new to the cursor.
  static std::vector<std::string> readAll(const Getter& get, int32_t& cursor) {
    std::vector<std::string> entries;
    std::vector<char> buffer(4096);
    int32_t size = 4096;
    while (get(&cursor, buffer.data(), &size) == 1) {
      entries.emplace_back(buffer.data(), static_cast<size_t>(size));
      size = 4096;
    }
    EXPECT_EQ(size, 0);
    return entries;
  }
  static std::vector<std::string> readAll(const Getter& get) {
    int32_t cursor = -1;
    return readAll(get, cursor);
  }
  std::string logPath() const { return names.folder() + "/system.log"; }
};

using Entries = std::vector<std::string>;

TEST_F(QueueTest, FreshRegionHasNothingToRead) {
  for (const Getter& get : everyGetter()) {
    int32_t cursor = -1;
    char buffer[16];
    int32_t size = sizeof buffer;
    EXPECT_EQ(get(&cursor, buffer, &size), 0);
    EXPECT_EQ(size, 0);
    EXPECT_EQ(cursor, -1);
  }
}

TEST_F(QueueTest, SysLogKeepsTheNewest200Entries) {
  for (int i = 1; i <= 201; ++i) {
    ASSERT_EQ(h3.SetSysLogEntry(logPath().c_str(), ("entry " + std::to_string(i)).c_str()), 1);
  }
  int32_t cursor = -1;
  char buffer[64];
  int32_t size = sizeof buffer;
  ASSERT_EQ(h3.GetSysLogEntry(&cursor, buffer, &size), 1);
  EXPECT_STREQ(buffer, "entry 2");
  EXPECT_EQ(cursor, 2) << "the oldest entry lies in slot 1";
  const Entries rest = readAll(h3.GetSysLogEntry, cursor);
  ASSERT_EQ(rest.size(), 199u);
  EXPECT_EQ(rest.front(), "entry 3");
  EXPECT_EQ(rest.back(), "entry 201");
  EXPECT_EQ(readFile(logPath()).find("entry 1\r\nentry 2\r\n"), 0u);
}

TEST_F(QueueTest, LongTextsAreCutAsEachQueueStoresThem) {
  h3.SetSysLogEntry(logPath().c_str(), textOf(239).c_str());
  h3.SetSysLogEntry(logPath().c_str(), textOf(240).c_str());
  EXPECT_EQ(readAll(h3.GetSysLogEntry), (Entries{textOf(239), textOf(236) + "..."}));
  EXPECT_EQ(readFile(logPath()), textOf(239) + "\r\n" + textOf(240) + "\r\n");

  h3.SetDebugEntry(textOf(239).c_str());
  h3.SetDebugEntry(textOf(240).c_str());
  EXPECT_EQ(readAll(h3.GetDebugEntry), (Entries{textOf(239), textOf(239)}));

  h3.SetTreeViewEntry(0, 0, textOf(1023).c_str(), 0, 0);
  h3.SetTreeViewEntry(0, 0, textOf(1024).c_str(), 0, 0);
  EXPECT_EQ(readAll(everyGetter()[2]), (Entries{textOf(1023), textOf(1023)}));

  h3.SetCommandEntry(textOf(4095).c_str(), 2);
  h3.SetCommandEntry(textOf(4096).c_str(), 2);
  EXPECT_EQ(readAll(command(2)), (Entries{textOf(4095), textOf(4095)}));
}

TEST_F(QueueTest, SmallBufferCutsTheEntryAndMovesOn) {
  h3.SetDebugEntry("ABCDEFG");
  h3.SetDebugEntry("next");
  int32_t cursor = -1;
  char buffer[5];
  int32_t size = 5;
  EXPECT_EQ(h3.GetDebugEntry(&cursor, buffer, &size), 1);
  EXPECT_STREQ(buffer, "ABCD");
  EXPECT_EQ(size, 4);
  size = 5;
  EXPECT_EQ(h3.GetDebugEntry(&cursor, buffer, &size), 1);
  EXPECT_STREQ(buffer, "next");
}

TEST_F(QueueTest, SizeOfZeroOrLessChangesNothing) {
  h3.SetCommandEntry("kept", 0);
  for (int32_t given : {0, -1}) {
    int32_t cursor = -1;
    char buffer[8] = "x";
    int32_t size = given;
    EXPECT_EQ(h3.GetCommandEntry(&cursor, buffer, &size, 0), 0);
    EXPECT_EQ(size, given);
    EXPECT_EQ(cursor, -1);
    EXPECT_STREQ(buffer, "x");
  }
  EXPECT_EQ(readAll(command(0)), Entries{"kept"});
}

TEST_F(QueueTest, QueueNumberOutsideZeroToThreeIsRefused) {
  EXPECT_EQ(h3.SetCommandEntry("four", 4), 0);
  EXPECT_EQ(h3.SetCommandEntry("minus one", -1), 0);
  EXPECT_EQ(h3.SetCommandEntry("three", 3), 1);
  for (int32_t queue = 0; queue < 3; ++queue)
    EXPECT_TRUE(readAll(command(queue)).empty());
  EXPECT_EQ(readAll(command(3)), Entries{"three"});

  for (int32_t queue : {4, -1}) {
    int32_t cursor = -1;
    char buffer[8];
    int32_t size = sizeof buffer;
    EXPECT_EQ(h3.GetCommandEntry(&cursor, buffer, &size, queue), 0);
    EXPECT_EQ(size, 8);
    h3.ClearCommandQueue(queue);
  }
  EXPECT_EQ(readAll(command(3)), Entries{"three"});
}

TEST_F(QueueTest, ClearEmptiesItsOwnRingOnly) {
  h3.SetSysLogEntry(nullptr, "log");
  h3.SetDebugEntry("debug");
  h3.SetTreeViewEntry(1, 2, "tree", 3, 4);
  h3.SetCommandEntry("zero", 0);
  h3.SetCommandEntry("one", 1);

  h3.ClearCommandQueue(0);
  EXPECT_TRUE(readAll(command(0)).empty());
  EXPECT_EQ(readAll(command(1)), Entries{"one"});
  h3.ClearSysLogQueue();
  h3.ClearTreeViewQueue();
  EXPECT_TRUE(readAll(h3.GetSysLogEntry).empty());
  EXPECT_TRUE(readAll(everyGetter()[2]).empty());
  EXPECT_EQ(readAll(h3.GetDebugEntry), Entries{"debug"});
  h3.ClearDebugQueue();
  EXPECT_TRUE(readAll(h3.GetDebugEntry).empty());

  h3.SetDebugEntry("after");
  EXPECT_EQ(readAll(h3.GetDebugEntry), Entries{"after"});
}

TEST_F(QueueTest, CursorAtTheEndMissesAWholeLapOfNewEntries) {
  h3.SetDebugEntry("first");
  int32_t cursor = -1;
  readAll(h3.GetDebugEntry, cursor);
  for (int i = 0; i < 100; ++i)
    h3.SetDebugEntry("lap");
  EXPECT_TRUE(readAll(h3.GetDebugEntry, cursor).empty());
  h3.SetDebugEntry("one more");
  EXPECT_EQ(readAll(h3.GetDebugEntry, cursor).back(), "one more");
}

TEST_F(QueueTest, TreeViewEntriesCarryTheirFourNumbers) {
  h3.SetTreeViewEntry(-1, 2, "node", 2147483647, -2147483647 - 1);
  int32_t cursor = -1;
  char buffer[16];
  int32_t size = sizeof buffer;
  int32_t values[4] = {};
  ASSERT_EQ(
      h3.GetTreeViewEntry(&cursor, buffer, &size, &values[0], &values[1], &values[2], &values[3]),
      1);
  EXPECT_STREQ(buffer, "node");
  EXPECT_EQ(values[0], -1);
  EXPECT_EQ(values[1], 2);
  EXPECT_EQ(values[2], 2147483647);
  EXPECT_EQ(values[3], -2147483647 - 1);
}

TEST_F(QueueTest, SysLogFileGetsWholeLinesAndSeparators) {
  h3.SetSysLogEntry(logPath().c_str(), "one\ntwo");
  h3.SetSysLogEntry(logPath().c_str(), "-");
  h3.SetSysLogEntry(logPath().c_str(), "three");
  const std::string dashes(68, '-');
  EXPECT_EQ(readFile(logPath()), "one\r\ntwo\r\n\r\n" + dashes + "\r\n\r\nthree\r\n");
  EXPECT_EQ(readAll(h3.GetSysLogEntry), (Entries{"one\ntwo", dashes, "three"}));
}

TEST_F(QueueTest, LogFileThatCannotBeOpenedStillFillsTheRing) {
  EXPECT_EQ(h3.SetSysLogEntry((names.folder() + "/no/such/folder.log").c_str(), "a"), 1);
  EXPECT_EQ(h3.SetSysLogEntry(nullptr, "b"), 1);
  EXPECT_EQ(readAll(h3.GetSysLogEntry), (Entries{"a", "b"}));
}

TEST_F(QueueTest, NullPointersAreRefused) {
  EXPECT_EQ(h3.SetSysLogEntry(logPath().c_str(), nullptr), 0);
  EXPECT_EQ(h3.SetDebugEntry(nullptr), 0);
  EXPECT_EQ(h3.SetTreeViewEntry(0, 0, nullptr, 0, 0), 0);
  EXPECT_EQ(h3.SetCommandEntry(nullptr, 0), 0);
  h3.SetDebugEntry("entry");
  int32_t cursor = -1;
  char buffer[8];
  int32_t size = sizeof buffer;
  EXPECT_EQ(h3.GetDebugEntry(nullptr, buffer, &size), 0);
  EXPECT_EQ(h3.GetDebugEntry(&cursor, nullptr, &size), 0);
  EXPECT_EQ(h3.GetDebugEntry(&cursor, buffer, nullptr), 0);
  EXPECT_EQ(h3.GetTreeViewEntry(&cursor, buffer, &size, nullptr, nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(readAll(h3.GetDebugEntry), Entries{"entry"});
}

TEST_F(QueueTest, RingFieldsSpoiltByAnotherProcessAreRepaired) {
  MappedObject mapped(names.regionObjectName(), halvane3::kRegionSize);
  ASSERT_TRUE(mapped.mapped());
  mapped.region().debugStart = 5000;
  mapped.region().debugCount = -3;
  mapped.region().commandStart[1] = 10;
  mapped.region().commandCount[1] = 51;
  EXPECT_TRUE(readAll(command(1)).empty());
  EXPECT_EQ(h3.SetDebugEntry("after"), 1);
  EXPECT_EQ(readAll(h3.GetDebugEntry), Entries{"after"});
}

}  // namespace
