#include "TestSupport.h"
#include "injector/CommandLine.h"

namespace {

class CommandLineTest : public FormTest {
 protected:
  const std::string kAlarm = "TA:1|||TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE|";
};

TEST_F(CommandLineTest, EmptyCommandLineOpensTheWindowWithTheSavedSettings) {
  Save(QStringLiteral("Field_0"), QStringLiteral("Saved"));
  FXL_Main& form = Start();
  EXPECT_EQ(outcome_, FXL_Main::StartOutcome::ShowWindow);
  EXPECT_EQ(form.Text_Field[0].Text(), QStringLiteral("Saved"));
  EXPECT_TRUE(form.Timer_SetDateAndTime.isActive());
}

TEST_F(CommandLineTest, OneShotSendsOneBatchClosesAndSavesWithoutTheDateTimer) {
  FXL_Main& form = Start(QStringLiteral("/d /t3:Duty Operator /t4:Hi there /s3 /u"));
  EXPECT_EQ(outcome_, FXL_Main::StartOutcome::Ended);
  EXPECT_EQ(form.ExitCode(), FXL_Main::kExitOk);
  EXPECT_FALSE(form.Timer_SetDateAndTime.isActive());
  ASSERT_EQ(library_.commands.size(), 1u);
  EXPECT_EQ(library_.commands[0], "FT:Duty Operator\xFEHi there");
  settings_ = std::make_unique<SettingsStore>(SettingsFile());
  EXPECT_EQ(Saved(QStringLiteral("Field_3")), QStringLiteral("Duty Operator"));
  EXPECT_EQ(Saved(QStringLiteral("Field_4")), QStringLiteral("Hi there"));
  EXPECT_EQ(Saved(QStringLiteral("ConnectionType")), QStringLiteral("1"));
}

TEST_F(CommandLineTest, KeywordsIgnoreCaseAndValuesKeepColonsAndInnerBlanks) {
  FXL_Main& form = Start(QStringLiteral("ignored text /T3:abc /t1:  a:b  /t2 /t0:x y:/T5:"));
  EXPECT_EQ(form.Text_Field[3].Text(), QStringLiteral("abc"));
  EXPECT_EQ(form.Text_Field[1].Text(), QStringLiteral("a:b"));
  EXPECT_EQ(form.Text_Field[2].Text(), QString());
  EXPECT_EQ(form.Text_Field[0].Text(), QStringLiteral("x y:"));
  EXPECT_EQ(form.Text_Field[5].Text(), QString());
}

TEST_F(CommandLineTest, SendsOnlyWithTheOneShotFlagAndTheLastTypeWins) {
  Start(QStringLiteral("/d /s3"));
  EXPECT_EQ(outcome_, FXL_Main::StartOutcome::ShowWindow);
  EXPECT_EQ(library_.calls, 0);

  Start(QStringLiteral("/d /s3 /s1 /u"));
  ASSERT_EQ(library_.commands.size(), 1u);
  EXPECT_EQ(library_.commands[0], kAlarm + "18");
}

TEST_F(CommandLineTest, EmptyOptionEndsThePass) {
  FXL_Main& form = Start(QStringLiteral("/d //u"));
  EXPECT_EQ(outcome_, FXL_Main::StartOutcome::ShowWindow);
  EXPECT_EQ(form.Option_ConnectionType.Selected(), 1);
  Start(QStringLiteral("/t0:A /t1:B/"));
  EXPECT_EQ(form_->Text_Field[1].Text(), QStringLiteral("B"));
  Start(QStringLiteral("/t0:A // /t1:C"));
  EXPECT_EQ(form_->Text_Field[1].Text(), QStringLiteral("A5"));
  EXPECT_EQ(library_.calls, 0);
}

TEST_F(CommandLineTest, LaterOptionsOverrideEarlierOnes) {
  EXPECT_EQ(Start(QStringLiteral("/g /d")).Option_ConnectionType.Selected(), 1);
  EXPECT_EQ(Start(QStringLiteral("/d /f")).Option_ConnectionType.Selected(), 2);
  EXPECT_EQ(Start(QStringLiteral("/d1")).Check_SetDateAndTime.Value(), 1);
  EXPECT_EQ(Start(QStringLiteral("/D1 /d0")).Check_SetDateAndTime.Value(), 0);
  EXPECT_EQ(Start(QStringLiteral("/x:1 /f")).Option_ConnectionType.Selected(), 2);
}

TEST_F(CommandLineTest, SystemPositionCountsInTheSortedList) {
  EXPECT_EQ(Start(QStringLiteral("/c")).Combo_Systems.ListIndex(), 0);
  EXPECT_EQ(Start(QStringLiteral("/c:0")).Combo_Systems.ListIndex(), 0);
  FXL_Main& form = Start(QStringLiteral("/c:2.4"));
  EXPECT_EQ(form.Combo_Systems.ListIndex(), 2);
  EXPECT_EQ(form.Combo_Systems.Text(), QStringLiteral("ABB MasterPiece"));
  EXPECT_EQ(form.Combo_Systems.ToolTip(), QStringLiteral("System number: 40"));

  Start(QStringLiteral("/d /c:2 /s1 /u"));
  EXPECT_EQ(library_.commands.back(), kAlarm + "40");
  Start(QStringLiteral("/d /c:-1 /s1 /u"));
  EXPECT_EQ(library_.commands.back(), kAlarm + "18");
  EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(CommandLineTest, SystemPositionOutsideTheListIsIgnoredWithAWarning) {
  FXL_Main& form = Start(QStringLiteral("/c:57 /c:-2"));
  EXPECT_EQ(form.Combo_Systems.Text(), QStringLiteral("Generic TCP (Client)"));
  ASSERT_EQ(messages_.errors.size(), 2u);
  EXPECT_TRUE(messages_.errors[0].text.contains(QStringLiteral("0 to 56")));
}

TEST_F(CommandLineTest, GenericTcpCanBeChosenEvenWhenThePortIsTaken) {
  FXL_Main& first = Start();
  environment_.listenPort = first.ListeningPort();
  FXL_Main second(environment_);
  second.Form_Load(QStringLiteral("/g"));
  EXPECT_FALSE(second.Option_ConnectionType.Enabled(0));
  EXPECT_EQ(second.Option_ConnectionType.Selected(), 0);
}

TEST_F(CommandLineTest, HelpSavesWhatCameBeforeAndSendsNothing) {
  FXL_Main& form = Start(QStringLiteral("/f /t0:X /? /u /t1:Y"));
  EXPECT_EQ(outcome_, FXL_Main::StartOutcome::Ended);
  EXPECT_EQ(form.ExitCode(), FXL_Main::kExitOk);
  ASSERT_EQ(messages_.information.size(), 1u);
  EXPECT_EQ(messages_.information[0].title,
            QStringLiteral("Fauxlarm - Automated Halvane Fake Alarms - Command Line Parameters"));
  EXPECT_EQ(messages_.information[0].text, CommandLine::HelpText());
  EXPECT_TRUE(GenericFile().isEmpty());
  settings_ = std::make_unique<SettingsStore>(SettingsFile());
  EXPECT_EQ(Saved(QStringLiteral("Field_0")), QStringLiteral("X"));
  EXPECT_EQ(Saved(QStringLiteral("Field_1")), QStringLiteral("A5"));
}

TEST_F(CommandLineTest, OneShotWithAutoStampsTheEventFromTheClock) {
  Start(QStringLiteral("/f /d1 /s2 /u"));
  EXPECT_EQ(GenericFile(),
            "2|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE\r\n");
}

TEST_F(CommandLineTest, OneShotThatCouldNotDeliverEndsWithAnErrorStatus) {
  library_.failure = QStringLiteral("The exchange library Halvane3 could not be loaded: gone.");
  EXPECT_EQ(Start(QStringLiteral("/d /u")).ExitCode(), FXL_Main::kExitDeliveryFailed);
  EXPECT_EQ(messages_.errors.size(), 1u);

  environment_.programFolder = folder_.filePath(QStringLiteral("missing"));
  EXPECT_EQ(Start(QStringLiteral("/f /u")).ExitCode(), FXL_Main::kExitDeliveryFailed);
  ASSERT_EQ(messages_.errors.size(), 2u);
  EXPECT_TRUE(messages_.errors[1].text.endsWith(
      QStringLiteral("GenericFile.txt: No such file or directory.")))
      << messages_.errors[1].text.toStdString();

  // The run ends before any alarm server can have connected.
  EXPECT_EQ(Start(QStringLiteral("/g /u")).ExitCode(), FXL_Main::kExitDeliveryFailed);
  ASSERT_EQ(messages_.errors.size(), 3u);
  EXPECT_TRUE(messages_.errors[2].text.startsWith(
      QStringLiteral("no alarm server was connected to port ")));
}

TEST(CommandLineText, PredictsTheOutcomeWithoutAWindow) {
  using CommandLine::Action;
  EXPECT_EQ(CommandLine::Predict(QString()), Action::OpenWindow);
  EXPECT_EQ(CommandLine::Predict(QStringLiteral("/f /u")), Action::SendOnce);
  EXPECT_EQ(CommandLine::Predict(QStringLiteral("/u /?")), Action::ShowHelp);
  EXPECT_EQ(CommandLine::Predict(QStringLiteral("/d //u")), Action::OpenWindow);
  EXPECT_EQ(CommandLine::Predict(QStringLiteral("/d // /?")), Action::OpenWindow);
  EXPECT_EQ(CommandLine::ArgumentText({QStringLiteral("/t3:Duty"), QStringLiteral("Operator")}),
            QStringLiteral("/t3:Duty Operator"));
}

TEST(CommandLineText, HelpTextIsExact) {
  const QString expected = QStringLiteral(
      "/g\tSend alarms/messages to Halvane using generic TCP\r\n"
      "/d\tSend alarms/messages to Halvane using DLL calls\r\n"
      "/f\tSend alarms/messages to Halvane using generic file (GenericFile.txt)\r\n\r\n"
      "/c:nnn\tEmulate SCADA system number nnn\r\n\r\n"
      "/d0\tDon't set date & time automatically\r\n"
      "/d1\tSet date & time automatically to PC clock\r\n\r\n"
      "/t0:xxx\tSet Tag field [T0] to xxx\r\n"
      "/t1:xxx\tSet Area field [T1] to xxx\r\n"
      "/t2:xxx\tSet Category field [T2] to xxx\r\n"
      "/t3:xxx\tSet Name field [T3] to xxx (the Receiver Name if /s3 is to be used)\r\n"
      "/t4:xxx\tSet Description field [T4] to xxx (the Message if /s3 is to be used)\r\n"
      "/t5:xxx\tSet Status field [T5] to xxx\r\n\r\n"
      "/s0\tFake inactive alarm event\r\n"
      "/s1\tFake active alarm event\r\n"
      "/s2\tFake acknowledged alarm event\r\n"
      "/s3\tSend text message (/t3 and /t4 must be defined)\r\n\r\n"
      "/u\tUnload Fauxlarm when message is queued\r\n\r\n"
      "Example: Sending a text message to the receiver 'Duty Operator':\r\n\r\n"
      "\"C:\\Program Files\\Halvane Alarm Server\\Fauxlarm.EXE\" /d /t3:Duty Operator /t4:Hi "
      "there /s3 /u");
  EXPECT_EQ(CommandLine::HelpText(), expected);
}

}  // namespace
