#include <limits>

#include "TestSupport.h"

namespace {

class TimersTest : public FormTest {
 protected:
  // A window sending through the recording library, with the timers left to the test:
  // each Tick() is one tick of the date-and-time timer.
  FXL_Main& StartQuiet() {
    FXL_Main& form = Start(QStringLiteral("/d"));
    form.Timer.stop();
    form.Timer_SetDateAndTime.stop();
    return form;
  }
  void Tick(int times = 1) {
    for (int i = 0; i < times; ++i)
      form_->Timer_SetDateAndTime_Timer();
  }
  char TypeOf(const std::string& command) const { return command.at(3); }
};

TEST_F(TimersTest, StreamSendsRandomAlarmsNeverMessagesNeverSuffixes) {
  FXL_Main& form = StartQuiet();
  form.Check_AppendRandomNumbersToTag.SetValue(1);
  form.Timer_Timer();
  EXPECT_EQ(library_.calls, 0);  // streaming is off

  form.Check_Stream.SetValue(1);
  constexpr int kTicks = 12000;
  for (int i = 0; i < kTicks; ++i)
    form.Timer_Timer();
  ASSERT_EQ(library_.commands.size(), static_cast<std::size_t>(kTicks));
  int counts[3] = {};
  for (const std::string& command : library_.commands) {
    ASSERT_GE(TypeOf(command), '0');
    ASSERT_LE(TypeOf(command), '2');
    ASSERT_NE(command.find("|TA0220'GT41|"), std::string::npos);
    ++counts[TypeOf(command) - '0'];
  }
  EXPECT_NEAR(counts[0], kTicks / 6.0, kTicks * 0.02);
  EXPECT_NEAR(counts[1], kTicks / 3.0, kTicks * 0.02);
  EXPECT_NEAR(counts[2], kTicks / 2.0, kTicks * 0.02);
}

TEST_F(TimersTest, PeriodicBurstFollowsAtTheNextTickThenEveryInterval) {
  FXL_Main& form = StartQuiet();
  Tick(5);  // more than a second after start-up, periodic sending off
  EXPECT_EQ(library_.calls, 0);
  form.Check_SendPeriodicAlarms.SetValue(1);
  Tick();
  EXPECT_EQ(library_.calls, 1);
  Tick(119);
  EXPECT_EQ(library_.calls, 1);
  Tick();  // 60 counted seconds = 120 ticks
  EXPECT_EQ(library_.calls, 2);
}

TEST_F(TimersTest, IntervalIsCountedInWholeSeconds) {
  const struct {
    const char* interval;
    int ticksPerBurst;
  } cases[] = {{"2.5", 6}, {"3", 6}, {"0", 2}, {"-4", 2}, {"abc", 2}, {"1", 2}};
  for (const auto& c : cases) {
    FXL_Main& form = StartQuiet();
    library_.calls = 0;
    form.Text_SendInterval.SetText(QString::fromUtf8(c.interval));
    Tick(2);
    form.Check_SendPeriodicAlarms.SetValue(1);
    Tick();  // the first burst
    ASSERT_EQ(library_.calls, 1) << c.interval;
    library_.calls = 0;
    Tick(c.ticksPerBurst * 10);
    EXPECT_EQ(library_.calls, 10) << c.interval;
  }
}

TEST_F(TimersTest, PeriodicBurstsShareOneTypeAndCarryTheSuffixWhenAsked) {
  FXL_Main& form = StartQuiet();
  form.Text_SendInterval.SetText(QStringLiteral("0"));
  form.Text_NumberOfEvents.SetText(QStringLiteral("3"));
  form.Check_AppendRandomNumbersToTag.SetValue(1);
  form.Check_SendPeriodicAlarms.SetValue(1);
  Tick(2);
  int types[3] = {};
  for (int burst = 0; burst < 3000; ++burst) {
    library_.commands.clear();
    Tick(2);
    ASSERT_EQ(library_.commands.size(), 3u);
    const char type = TypeOf(library_.commands[0]);
    ASSERT_TRUE(type >= '0' && type <= '2');
    ++types[type - '0'];
    for (const std::string& command : library_.commands) {
      ASSERT_EQ(TypeOf(command), type);
      ASSERT_NE(command.find("|TA0220'GT41_"), std::string::npos) << command;
    }
  }
  EXPECT_NEAR(types[0], 3000 / 5.0, 90);
  EXPECT_NEAR(types[1], 3000 * 2 / 5.0, 90);
  EXPECT_NEAR(types[2], 3000 * 2 / 5.0, 90);
}

TEST_F(TimersTest, AutoKeepsDateAndTimeOnTheClock) {
  FXL_Main& form = StartQuiet();
  form.Text_Date.SetText(QStringLiteral("typed"));
  Tick();
  EXPECT_EQ(form.Text_Date.Text(), QStringLiteral("typed"));
  form.Check_SetDateAndTime.SetValue(1);
  Tick();
  EXPECT_EQ(form.Text_Date.Text(), QStringLiteral("2015-05-05"));
  EXPECT_EQ(form.Text_Time.Text(), QStringLiteral("12:55:54"));
  now_ = QDateTime(QDate(2026, 1, 2), QTime(7, 8, 9));
  form.Check_SetDateAndTime.SetValue(2);  // greyed counts as ticked
  Tick();
  EXPECT_EQ(form.Text_Date.Text(), QStringLiteral("2026-01-02"));
  EXPECT_EQ(form.Text_Time.Text(), QStringLiteral("07:08:09"));
}

TEST_F(TimersTest, TimeUsesTheLocaleSeparator) {
  environment_.timeSeparator = QStringLiteral(".");
  FXL_Main& form = StartQuiet();
  form.Check_SetDateAndTime.SetValue(1);
  Tick();
  EXPECT_EQ(form.Text_Time.Text(), QStringLiteral("12.55.54"));
  EXPECT_EQ(form.Text_Date.Text(), QStringLiteral("2015-05-05"));
}

TEST_F(TimersTest, KeepsCountingPastTheMillisecondLimit) {
  FXL_Main& form = StartQuiet();
  form.ElapsedMilliseconds = std::numeric_limits<std::int32_t>::max() - 700;
  Tick(4);
  EXPECT_GE(form.ElapsedMilliseconds, 1000);
  EXPECT_EQ(form.ElapsedSeconds, 60);
  form.Check_SendPeriodicAlarms.SetValue(1);
  Tick();
  EXPECT_EQ(library_.calls, 1);
  EXPECT_EQ(form.ElapsedMilliseconds, 0);
}

TEST_F(TimersTest, HugeIntervalWhileOffIsHeldAtTheLargestCount) {
  FXL_Main& form = StartQuiet();
  form.Text_SendInterval.SetText(QStringLiteral("1e12"));
  Tick(3);
  EXPECT_EQ(form.ElapsedSeconds, std::numeric_limits<std::int32_t>::max());
  form.Text_SendInterval.SetText(QStringLiteral("5"));
  form.Check_SendPeriodicAlarms.SetValue(1);
  Tick();
  EXPECT_EQ(library_.calls, 1);
}

}  // namespace
