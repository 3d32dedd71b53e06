// What the user sees of bursts: the status line, the progress and cancelling of long
// bursts (with nothing of the window running inside one), closing during a burst, and
// automatic sending that meets a fault.
#include "TestSupport.h"
#include "injector/SendStatus.h"

namespace {

using FXL_Procs::Undelivered;

class BurstTest : public FormTest {
 protected:
  // A window with the timers left to the test, sending by the given method.
  FXL_Main& StartQuiet(const QString& method) {
    FXL_Main& form = Start(method);
    form.Timer.stop();
    form.Timer_SetDateAndTime.stop();
    StampDateAndTime(form);
    form.SetBurstFeedback(&feedback_);
    return form;
  }

  int FileLines() const { return static_cast<int>(GenericFile().count('\n')); }

  RecordingFeedback feedback_;
};

TEST_F(BurstTest, StatusLineTellsWhatTheLastBurstDid) {
  FXL_Main& form = StartQuiet(QStringLiteral("/f"));
  EXPECT_EQ(form.Label_SendStatus.Text(), QString());
  form.Text_NumberOfEvents.SetText(QStringLiteral("12"));
  form.Command_Alarm_Click(1);
  EXPECT_EQ(form.Label_SendStatus.Text(),
            QStringLiteral("12 events sent by generic file, 0 not delivered"));

  form.Option_ConnectionType.Select(0);
  form.Text_NumberOfEvents.SetText(QStringLiteral("3"));
  form.Command_Alarm_Click(1);
  EXPECT_EQ(form.Label_SendStatus.Text(),
            QStringLiteral("0 events delivered by generic TCP, 3 not delivered: no server "
                           "connected"));

  form.Option_ConnectionType.Select(1);
  form.Text_NumberOfEvents.SetText(QStringLiteral("1"));
  form.Command_Alarm_Click(3);
  EXPECT_EQ(form.Label_SendStatus.Text(),
            QStringLiteral("1 event sent by DLL calls, 0 not delivered"));
}

TEST_F(BurstTest, StatusLineKeepsTheTotalsOfEachAutomaticRunUntilTheNextStarts) {
  FXL_Main& form = StartQuiet(QStringLiteral("/d"));
  form.Check_Stream.SetValue(1);
  for (int i = 0; i < 5; ++i)
    form.Timer_Timer();
  form.Text_NumberOfEvents.SetText(QStringLiteral("2"));
  form.Text_SendInterval.SetText(QStringLiteral("0"));
  form.Check_SendPeriodicAlarms.SetValue(1);
  form.Timer_SetDateAndTime_Timer();
  form.Timer_SetDateAndTime_Timer();
  EXPECT_EQ(form.Label_SendStatus.Text(),
            QStringLiteral("2 events sent by DLL calls, 0 not delivered; stream: 5 sent, 0 not "
                           "delivered; periodic: 2 sent, 0 not delivered"));

  now_ = now_.addSecs(3600 * 24 + 75);  // the next day
  form.Check_Stream.SetValue(0);
  form.Check_SendPeriodicAlarms.SetValue(0);
  form.Command_Alarm_Click(1);
  EXPECT_EQ(form.Label_SendStatus.Text(),
            QStringLiteral("2 events sent by DLL calls, 0 not delivered; stream 2015-05-05 "
                           "12:55:54 to 12:57:09: 5 sent, 0 not delivered; periodic 2015-05-05 "
                           "12:55:54 to 12:57:09: 2 sent, 0 not delivered"));
  form.Check_Stream.SetValue(1);  // started again: counted afresh
  form.Timer_Timer();
  EXPECT_TRUE(form.Label_SendStatus.Text().contains(QStringLiteral("; stream: 2 sent, 0 not")))
      << form.Label_SendStatus.Text().toStdString();
}

TEST(SendStatus, CountTooLargeAndReasonsReadPlainly) {
  SendStatus status;
  FXL_Procs::BurstReport tooMany;
  tooMany.reason = Undelivered::kCountTooLarge;
  tooMany.stopMessage = QStringLiteral("too many");
  status.Record(BurstOrigin::kButton, 1, tooMany);
  EXPECT_EQ(status.Text(),
            QStringLiteral("No events sent: the number of events to send is more than 2147483647"));

  FXL_Procs::BurstReport partly;
  partly.requested = 10;
  partly.sent = 7;
  partly.reason = Undelivered::kFileError;
  partly.detail = QStringLiteral("No space left on device");
  status.Record(BurstOrigin::kButton, 2, partly);
  EXPECT_EQ(status.Text(), QStringLiteral("7 events sent by generic file, 3 not delivered: the "
                                          "file could not be written (No space left on device)"));
}

// Events on the connection count once the server has acknowledged them, in their order,
// also when bursts of a run and other bursts take turns.
TEST(SendStatus, TcpEventsCountAsTheServerAcknowledgesThemOrTheConnectionDropsThem) {
  SendStatus status;
  status.SetAutomatic(BurstOrigin::kStream, true, {});
  auto burst = [&](BurstOrigin origin, qint64 first, qint64 end) {
    FXL_Procs::BurstReport report;
    report.requested = report.sent = static_cast<std::int32_t>(end - first);
    status.Record(origin, 0, report, {first, end});
  };
  burst(BurstOrigin::kStream, 0, 10);
  burst(BurstOrigin::kButton, 10, 20);
  burst(BurstOrigin::kStream, 20, 30);
  status.Acknowledged(15);
  EXPECT_EQ(status.Text(), QStringLiteral("0 events delivered by generic TCP, 10 waiting for the "
                                          "server; stream: 10 delivered, 10 waiting for the "
                                          "server, 0 not delivered"));
  status.Acknowledged(25);
  status.Dropped({25, 30}, Undelivered::kDisconnected);
  EXPECT_EQ(status.Text(), QStringLiteral("5 events delivered by generic TCP, 5 not delivered: the "
                                          "alarm server disconnected; stream: 15 delivered, 5 not "
                                          "delivered"));
  burst(BurstOrigin::kButton, 30, 31);
  FXL_Procs::BurstReport byFile;
  byFile.requested = byFile.sent = 1;
  status.Record(BurstOrigin::kButton, 2, byFile);
  status.Dropped({30, 31}, Undelivered::kTakenOver);
  EXPECT_EQ(status.Text(), QStringLiteral("1 event sent by generic file, 0 not delivered; 1 "
                                          "earlier event not delivered: another alarm server "
                                          "took over the connection; stream: 15 delivered, 5 not "
                                          "delivered"));
}

TEST_F(BurstTest, LongBurstReportsProgressAndCanBeCancelled) {
  FXL_Main& form = StartQuiet(QStringLiteral("/f"));
  form.Text_NumberOfEvents.SetText(QStringLiteral("1000"));
  feedback_.cancelAt = 256;
  form.Command_Alarm_Click(1);
  EXPECT_EQ(FileLines(), 256);
  EXPECT_EQ(feedback_.progress.back(), 256);
  EXPECT_EQ(feedback_.lastRequested, 1000);
  EXPECT_EQ(feedback_.finished, 1);
  EXPECT_EQ(form.LastBurst().reason, Undelivered::kCancelled);
  EXPECT_EQ(form.Label_SendStatus.Text(),
            QStringLiteral("256 events sent by generic file, 744 not delivered: cancelled"));
  EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(BurstTest, NothingOfTheWindowRunsInsideABurst) {
  FXL_Main& form = StartQuiet(QStringLiteral("/d"));
  form.Text_NumberOfEvents.SetText(QStringLiteral("500"));
  form.Check_SetDateAndTime.SetValue(1);
  form.Check_Stream.SetValue(1);
  form.Check_SendPeriodicAlarms.SetValue(1);
  form.Text_SendInterval.SetText(QStringLiteral("0"));
  now_ = QDateTime(QDate(2030, 1, 1), QTime(0, 0, 0));
  // While the progress shows, ticks, clicks and a dropped connection come in.
  feedback_.whileRunning = [&](std::int32_t) {
    form.Timer_Timer();
    form.Timer_SetDateAndTime_Timer();
    form.Command_Alarm_Click(3);
    emit form.Winsock_Data.PeerClosed();
    EXPECT_EQ(form.Text_Date.Text(), QStringLiteral("2015-05-05"));
  };
  form.Text_Connect.SetText(QStringLiteral("Connected"));
  form.Command_Alarm_Click(1);
  EXPECT_EQ(library_.commands.size(), 500u);
  for (const std::string& command : library_.commands)
    ASSERT_EQ(command.rfind("TA:1|2015-05-05|", 0), 0u) << command;
  // The connection's close was handled once the burst was over.
  EXPECT_EQ(form.Text_Connect.Text(), QStringLiteral("Not Connected"));
}

TEST_F(BurstTest, ClosingDuringABurstCancelsItThenCloses) {
  FXL_Main& form = StartQuiet(QStringLiteral("/f"));
  form.Text_NumberOfEvents.SetText(QStringLiteral("10000"));
  int unloaded = 0;
  QObject::connect(&form, &FXL_Main::Unloaded, [&] { ++unloaded; });
  bool closedAtOnce = true;
  feedback_.whileRunning = [&](std::int32_t done) {
    if (done == 128) closedAtOnce = form.Form_QueryUnload();
  };
  form.Command_Alarm_Click(1);
  EXPECT_FALSE(closedAtOnce);
  EXPECT_EQ(FileLines(), 128);
  EXPECT_EQ(unloaded, 1);
  EXPECT_EQ(Saved(QStringLiteral("NumberOfEvents")), QStringLiteral("10000"));
}

TEST_F(BurstTest, CancellingAStreamBurstStopsTheStream) {
  FXL_Main& form = StartQuiet(QStringLiteral("/f"));
  form.Text_NumberOfEvents.SetText(QStringLiteral("1000"));
  form.Check_Stream.SetValue(1);
  form.Check_SendPeriodicAlarms.SetValue(1);
  feedback_.cancelAt = 64;
  form.Timer_Timer();
  EXPECT_EQ(form.Check_Stream.Value(), 0);
  EXPECT_EQ(form.Check_SendPeriodicAlarms.Value(), 1);
}

// A modal box lets the timers in while it is shown; they must not open box after box.
class AutomaticSendingFaultTest : public BurstTest {
 protected:
  void SetUp() override {
    messages_.whileErrorShown = [this] {
      if (++ticksDuringBoxes_ > 3) return;
      form_->Timer_Timer();
      form_->Timer_SetDateAndTime_Timer();
      form_->Timer_SetDateAndTime_Timer();
    };
  }
  int ticksDuringBoxes_ = 0;
};

TEST_F(AutomaticSendingFaultTest, MissingLibraryWhileStreamingIsToldOnceAndStopsIt) {
  FXL_Main& form = StartQuiet(QStringLiteral("/d"));
  library_.failure = QStringLiteral("The exchange library could not be loaded: looked for it.");
  form.Text_SendInterval.SetText(QStringLiteral("0"));
  form.Check_SendPeriodicAlarms.SetValue(1);
  form.Check_Stream.SetValue(1);
  form.Timer_Timer();
  for (int i = 0; i < 20; ++i) {
    form.Timer_Timer();
    form.Timer_SetDateAndTime_Timer();
  }
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].text.contains(QStringLiteral("looked for it.")));
  EXPECT_EQ(form.Check_Stream.Value(), 0);
  EXPECT_EQ(form.Check_SendPeriodicAlarms.Value(), 0);
  EXPECT_EQ(library_.calls, 1);
  EXPECT_EQ(form.Label_SendStatus.Text().toStdString(),
            "0 events sent by DLL calls, 1 not delivered: the exchange library could not be "
            "loaded; stream 12:55:54 to 12:55:54: 0 sent, 1 not delivered; periodic 12:55:54 to "
            "12:55:54: 0 sent, 0 not delivered");

  library_.failure.clear();  // the library is in place; the user starts streaming again
  form.Check_Stream.SetValue(1);
  form.Timer_Timer();
  EXPECT_EQ(library_.commands.size(), 1u);
}

TEST_F(AutomaticSendingFaultTest, CountTooLargeWhilePeriodicSendingIsToldOnceAndStopsIt) {
  FXL_Main& form = StartQuiet(QStringLiteral("/d"));
  form.Text_NumberOfEvents.SetText(QStringLiteral("1e10"));
  form.Text_SendInterval.SetText(QStringLiteral("0"));
  form.Check_SendPeriodicAlarms.SetValue(1);
  for (int i = 0; i < 20; ++i)
    form.Timer_SetDateAndTime_Timer();
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(messages_.errors[0].text.contains(QStringLiteral("is more than 2147483647")));
  EXPECT_EQ(form.Check_SendPeriodicAlarms.Value(), 0);
  EXPECT_EQ(library_.calls, 0);
}

}  // namespace
