#include <QRegularExpression>
#include <map>

#include "TestSupport.h"
#include "common/Halvane_Common_Procedures.h"
#include "injector/FXL_Procs.h"

namespace {

class SendEventsTest : public FormTest {
 protected:
  FXL_Main& StartWithFile() {
    FXL_Main& form = Start(QStringLiteral("/f"));
    StampDateAndTime(form);
    return form;
  }
  FXL_Main& StartWithLibrary() {
    FXL_Main& form = StartWithFile();
    form.Option_ConnectionType.Select(1);
    return form;
  }
};

TEST_F(SendEventsTest, FileMethodAppendsOneLinePerEventType) {
  FXL_Main& form = StartWithFile();
  for (std::int16_t type = 0; type <= 3; ++type)
    form.Command_Alarm_Click(type);
  EXPECT_EQ(GenericFile(),
            "0|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE\r\n"
            "1|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE\r\n"
            "2|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE\r\n"
            "3|2015-05-05|12:55:54||||PressureFault|Pressure is bad|\r\n");
}

TEST_F(SendEventsTest, FieldsGoOutAsTypedInWindows1252) {
  FXL_Main& form = StartWithFile();
  form.Text_Date.SetText({});
  form.Text_Time.SetText({});
  form.Text_Field[0].SetText(QStringLiteral("T|1"));
  form.Text_Field[4].SetText(
      QString::fromUtf8("Tryck f\xC3\xB6r h\xC3\xB6gt \xE2\x82\xAC \xD0\x96"));
  form.Text_Field[5].SetText(QStringLiteral(" spaced "));
  form.Command_Alarm_Click(1);
  EXPECT_EQ(GenericFile(), "1|||T|1|A5|2|PressureFault|Tryck f\xF6r h\xF6gt \x80 ?| spaced \r\n");
  EXPECT_EQ(form.Text_Field[0].Text(), QStringLiteral("T|1"));
}

TEST_F(SendEventsTest, LibraryGetsAlarmAndMessageCommandsForQueueZero) {
  FXL_Main& form = StartWithLibrary();
  form.Combo_Systems.SetListIndex(-1);
  form.Command_Alarm_Click(1);
  form.Combo_Systems.SetText(QStringLiteral("Schneider Electric TAC Vista / StruxureWare"));
  form.Command_Alarm_Click(0);
  form.Text_Field[3].SetText(QString::fromUtf8("Duty \xC3\x85sa"));
  form.Command_Alarm_Click(3);
  ASSERT_EQ(library_.commands.size(), 3u);
  EXPECT_EQ(library_.commands[0],
            "TA:1|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE|18");
  EXPECT_EQ(library_.commands[1],
            "TA:0|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE|5");
  EXPECT_EQ(library_.commands[2], "FT:Duty \xC5sa\xFEPressure is bad");
  EXPECT_EQ(library_.queues, (std::vector<int>{0, 0, 0}));
  EXPECT_TRUE(GenericFile().isEmpty());
}

TEST_F(SendEventsTest, UnloadableLibraryStopsTheBurstWithOneMessage) {
  FXL_Main& form = StartWithLibrary();
  library_.failure = QStringLiteral("The exchange library Halvane3 could not be loaded: gone.");
  form.Text_NumberOfEvents.SetText(QStringLiteral("5"));
  form.Command_Alarm_Click(1);
  EXPECT_EQ(library_.calls, 1);
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].text.contains(QStringLiteral("could not be loaded")));
  EXPECT_TRUE(messages_.errors[0].text.contains(QStringLiteral("5 of 5 events were not sent")));
  EXPECT_TRUE(form.LastBurst().Stopped());

  library_.failure.clear();  // the library is found at the next press
  form.Command_Alarm_Click(1);
  EXPECT_EQ(library_.commands.size(), 5u);
}

TEST_F(SendEventsTest, CountIsReadFromTheStartOfTheTextAndRoundedHalfToEven) {
  FXL_Main& form = StartWithLibrary();
  const struct {
    const char* text;
    std::size_t events;
    const char* shownAfter;
  } cases[] = {{"", 1, "1"},      {"abc", 1, "1"},   {"0", 1, "1"},          {"-4", 1, "1"},
               {"2.5", 2, "2.5"}, {"3.5", 4, "3.5"}, {" 1 2x", 12, " 1 2x"}, {"0.4", 1, "1"}};
  for (const auto& c : cases) {
    library_.commands.clear();
    form.Text_NumberOfEvents.SetText(QString::fromUtf8(c.text));
    form.Command_Alarm_Click(2);
    EXPECT_EQ(library_.commands.size(), c.events) << c.text;
    EXPECT_EQ(form.Text_NumberOfEvents.Text(), QString::fromUtf8(c.shownAfter)) << c.text;
  }
}

TEST_F(SendEventsTest, CountBeyondThirtyTwoBitsSendsNothingAndSaysWhy) {
  FXL_Main& form = StartWithLibrary();
  form.Text_NumberOfEvents.SetText(QStringLiteral("3000000000"));
  form.Command_Alarm_Click(1);
  EXPECT_EQ(library_.calls, 0);
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].text.contains(QStringLiteral("2147483647")));
  EXPECT_EQ(form.Text_NumberOfEvents.Text(), QStringLiteral("3000000000"));
}

TEST_F(SendEventsTest, FileFailureLosesTheEventsSilentlyInTheWindow) {
  environment_.programFolder = folder_.filePath(QStringLiteral("no/such/folder"));
  FXL_Main& form = Start(QStringLiteral("/f"));
  form.Text_NumberOfEvents.SetText(QStringLiteral("3"));
  form.Command_Alarm_Click(1);
  EXPECT_EQ(form.LastBurst().NotDelivered(), 3);
  EXPECT_EQ(form.LastBurst().reason, FXL_Procs::Undelivered::kFileError);
  EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(SendEventsTest, TcpWithoutAPeerSendsNothingAndSaysNothing) {
  FXL_Main& form = StartWithFile();
  form.Option_ConnectionType.Select(0);
  form.Command_Alarm_Click(1);
  EXPECT_EQ(library_.calls, 0);
  EXPECT_TRUE(GenericFile().isEmpty());
  EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(SendEventsTest, RandomSuffixesCoverAllBytesEvenlyAndLeaveTheFieldAlone) {
  FXL_Main& form = StartWithLibrary();
  constexpr int kDraws = 256 * 200;
  form.Text_NumberOfEvents.SetText(QString::number(kDraws));
  FXL_Procs::SendEvents(form.EventSources(), FXL_Procs::kActive, true);
  ASSERT_EQ(library_.commands.size(), static_cast<std::size_t>(kDraws));

  const QRegularExpression tag(
      QStringLiteral("^TA:1\\|[^|]*\\|[^|]*\\|TA0220'GT41_([0-9A-F]{2})\\|A5\\|"));
  std::map<QString, int> counts;
  for (const std::string& command : library_.commands) {
    const auto match = tag.match(QString::fromLatin1(command));
    ASSERT_TRUE(match.hasMatch()) << command;
    ++counts[match.captured(1)];
  }
  ASSERT_EQ(counts.size(), 256u);
  double chiSquare = 0;
  for (const auto& [suffix, count] : counts)
    chiSquare += (count - 200.0) * (count - 200.0) / 200.0;
  EXPECT_LT(chiSquare, 340.0);  // 255 degrees of freedom: p < 0.0003 by chance alone
  EXPECT_EQ(form.Text_Field[0].Text(), QStringLiteral("TA0220'GT41"));
}

TEST(RandomTagSuffix, RoundsHalfToEvenAndWrapsTwoFiftySixToZero) {
  EXPECT_EQ(FXL_Procs::RandomTagSuffix(0.0), QStringLiteral("_00"));
  EXPECT_EQ(FXL_Procs::RandomTagSuffix(63.0 / 256), QStringLiteral("_3F"));
  EXPECT_EQ(FXL_Procs::RandomTagSuffix(2.5 / 256), QStringLiteral("_02"));
  EXPECT_EQ(FXL_Procs::RandomTagSuffix(0.9999), QStringLiteral("_00"));
  EXPECT_EQ(FXL_Procs::RandomTagSuffix(254.6 / 256), QStringLiteral("_FF"));
}

TEST(Item, SplitsOnAWholeDelimiter) {
  QString slash = QStringLiteral("/");
  const QString abc = QStringLiteral("a/b/c");
  EXPECT_EQ(FXL_Procs::Item(abc, 0, slash), QStringLiteral("a"));
  EXPECT_EQ(FXL_Procs::Item(abc, 1, slash), QStringLiteral("b"));
  EXPECT_EQ(FXL_Procs::Item(abc, 2, slash), QStringLiteral("c"));
  EXPECT_EQ(FXL_Procs::Item(abc, 3, slash), QString());
  EXPECT_EQ(FXL_Procs::Item(abc, -1, slash), QString());
  EXPECT_EQ(FXL_Procs::Item(QStringLiteral("a//c"), 1, slash), QString());
  EXPECT_EQ(FXL_Procs::Item(QStringLiteral("a//c"), 2, slash), QStringLiteral("c"));
  QString arrow = QStringLiteral("->");
  EXPECT_EQ(FXL_Procs::Item(QStringLiteral("x->y-z->w"), 1, arrow), QStringLiteral("y-z"));
  EXPECT_EQ(FXL_Procs::Item(QString(), 0, slash), QString());
}

TEST(Item, PicksTabOrSemicolonForAnEmptyDelimiter) {
  QString delimiter;
  EXPECT_EQ(FXL_Procs::Item(QStringLiteral("a;b\tc"), 1, delimiter), QStringLiteral("c"));
  EXPECT_EQ(delimiter, QStringLiteral("\t"));
  delimiter.clear();
  EXPECT_EQ(FXL_Procs::Item(QStringLiteral("a;b"), 1, delimiter), QStringLiteral("b"));
  EXPECT_EQ(delimiter, QStringLiteral(";"));
  delimiter.clear();
  for (std::int16_t n : {0, 1, -1}) {
    EXPECT_EQ(FXL_Procs::Item(QStringLiteral("a,b"), n, delimiter), QString());
  }
  EXPECT_TRUE(delimiter.isEmpty());
}

TEST(Item, SplitsTextsLongerThanSixteenBitPositions) {
  QString slash = QStringLiteral("/");
  const QString text = QString(40000, u'x') + u'/' + QStringLiteral("tail");
  EXPECT_EQ(FXL_Procs::Item(text, 1, slash), QStringLiteral("tail"));
}

}  // namespace
