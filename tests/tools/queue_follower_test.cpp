// The monitor's follower against a ring that behaves as the library's rings do: what it
// shows, and when it tells that the writer overwrote entries before they were shown.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "QueueFollower.h"
#include "Ring.h"

namespace {

constexpr int32_t kCapacity = 50;

class FakeQueue {
 public:
  void push(const std::string& text) {
    const int32_t slot = halvane3::ringPush(start_, count_, kCapacity);
    slots_[static_cast<size_t>(slot)] = text;
    halvane3::ringCommit(count_);
  }
  void pushNumbered(int from, int to) {
    for (int i = from; i <= to; ++i)
      push("entry " + std::to_string(i));
  }
  QueueReader reader() {
    return [this](int32_t& cursor, QueueEntry& entry) {
      const int32_t slot = halvane3::ringRead(cursor, start_, count_, kCapacity);
      if (slot == halvane3::kNothingNew) return false;
      entry.text = slots_[static_cast<size_t>(slot)];
      return true;
    };
  }

 private:
  int32_t start_ = 0;
  int32_t count_ = 0;
  std::vector<std::string> slots_ = std::vector<std::string>(kCapacity);
};

class QueueFollowerTest : public ::testing::Test {
 protected:
  // The lines one look prints.
  std::vector<std::string> look() {
    char* buffer = nullptr;
    size_t size = 0;
    std::FILE* out = open_memstream(&buffer, &size);
    follower_.printNew(out);
    std::fclose(out);
    std::vector<std::string> lines;
    std::string text(buffer, size);
    std::free(buffer);
    for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
      lines.push_back(text.substr(start, end - start));
    return lines;
  }

  static std::vector<std::string> numbered(int from, int to) {
    std::vector<std::string> lines;
    for (int i = from; i <= to; ++i)
      lines.push_back("command0: entry " + std::to_string(i));
    return lines;
  }

  FakeQueue queue_;
  QueueFollower follower_{QueueChoice{QueueKind::Command, 0, "command0", kCapacity},
                          queue_.reader()};
};

TEST_F(QueueFollowerTest, ShowsWhatTheRingHoldsThenWhatIsNew) {
  queue_.pushNumbered(1, 70);
  EXPECT_EQ(look(), numbered(21, 70));
  queue_.pushNumbered(71, 119);  // one less than the ring holds
  EXPECT_EQ(look(), numbered(71, 119));
  EXPECT_TRUE(look().empty());
}

TEST_F(QueueFollowerTest, BurstLargerThanTheRingSaysHowManyWereLostAtLeast) {
  queue_.pushNumbered(1, 5);
  look();
  queue_.pushNumbered(6, 65);  // 60 new ones: the oldest 10 of them are gone
  std::vector<std::string> expected{
      "command0: -- at least 10 entries were overwritten before they could be shown --"};
  for (const std::string& line : numbered(16, 65))
    expected.push_back(line);
  EXPECT_EQ(look(), expected);
  queue_.pushNumbered(66, 66);
  EXPECT_EQ(look(), numbered(66, 66));
}

TEST_F(QueueFollowerTest, WholeLapsThatLeaveTheCursorWhereItWasAreSeen) {
  queue_.pushNumbered(1, 50);
  look();
  queue_.pushNumbered(51, 250);  // four times round: the cursor points where it did
  std::vector<std::string> expected{
      "command0: -- entries may have been overwritten before they could be shown --"};
  for (const std::string& line : numbered(201, 250))
    expected.push_back(line);
  EXPECT_EQ(look(), expected);
}

TEST_F(QueueFollowerTest, LapEndingOnTheSlotShownLastIsSeen) {
  queue_.pushNumbered(1, 50);
  look();
  queue_.pushNumbered(51, 149);  // 99 new ones: the next entry goes into the slot shown last
  const std::vector<std::string> lines = look();
  ASSERT_EQ(lines.size(), 51u);
  EXPECT_EQ(lines[0],
            "command0: -- at least 49 entries were overwritten before they could be shown --");
  EXPECT_EQ(lines[1], "command0: entry 100");
  EXPECT_EQ(lines[50], "command0: entry 149");
}

TEST_F(QueueFollowerTest, FillingTheRingExactlyLosesNothingAndSaysNothing) {
  queue_.pushNumbered(1, 50);
  look();
  queue_.pushNumbered(51, 99);
  EXPECT_EQ(look(), numbered(51, 99));
}

}  // namespace
