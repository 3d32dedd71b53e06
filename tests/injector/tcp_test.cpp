#include <QTcpSocket>
#include <fstream>
#include <string>

#include "TestSupport.h"

namespace {

// The resident memory of this process now, in kilobytes.
long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

class TcpTest : public FormTest {
 protected:
  FXL_Main& StartListening() {
    FXL_Main& form = Start(QStringLiteral("/g"));
    StampDateAndTime(form);
    return form;
  }

  std::unique_ptr<QTcpSocket> Connect() {
    auto client = std::make_unique<QTcpSocket>();
    client->connectToHost(QHostAddress::LocalHost, form_->ListeningPort());
    EXPECT_TRUE(client->waitForConnected(5000));
    return client;
  }

  // Waits until the window has accepted the newest client.
  void WaitAccepted(QTcpSocket& client) {
    ASSERT_TRUE(WaitFor([&] {
      return form_->Winsock_Data.State() == DataSocket::kConnected &&
             form_->Text_Connect.Text() == QStringLiteral("Connected") && client.isOpen();
    }));
  }

  static QByteArray ReadAtLeast(QTcpSocket& client, qsizetype bytes) {
    QByteArray data;
    WaitFor([&] {
      data += client.readAll();
      return data.size() >= bytes;
    });
    return data;
  }
};

TEST_F(TcpTest, ConnectedPeerGetsEachEventAsALineFeedTerminatedLine) {
  FXL_Main& form = StartListening();
  auto client = Connect();
  WaitAccepted(*client);
  form.Text_Field[1].SetText(QString::fromUtf8("B\xC3\xA4r"));
  for (std::int16_t type = 0; type <= 3; ++type)
    form.Command_Alarm_Click(type);
  const QByteArray expected =
      "0|2015-05-05|12:55:54|TA0220'GT41|B\xE4r|2|PressureFault|Pressure is bad|ACTIVE\n"
      "1|2015-05-05|12:55:54|TA0220'GT41|B\xE4r|2|PressureFault|Pressure is bad|ACTIVE\n"
      "2|2015-05-05|12:55:54|TA0220'GT41|B\xE4r|2|PressureFault|Pressure is bad|ACTIVE\n"
      "3|2015-05-05|12:55:54||||PressureFault|Pressure is bad|\n";
  EXPECT_EQ(ReadAtLeast(*client, expected.size()), expected);
}

TEST_F(TcpTest, NewerPeerTakesOverSilently) {
  FXL_Main& form = StartListening();
  auto first = Connect();
  WaitAccepted(*first);
  auto second = Connect();
  ASSERT_TRUE(WaitFor([&] { return first->state() == QAbstractSocket::UnconnectedState; }));
  EXPECT_EQ(form.Text_Connect.Text(), QStringLiteral("Connected"));
  form.Command_Alarm_Click(1);
  EXPECT_TRUE(ReadAtLeast(*second, 10).startsWith("1|2015-05-05|"));
  EXPECT_TRUE(messages_.errors.empty());
}

TEST_F(TcpTest, PeerDataIsDroppedWhileEventsStillFlow) {
  FXL_Main& form = StartListening();
  auto client = Connect();
  WaitAccepted(*client);
  const QByteArray chunk(64 * 1024, 'z');
  [[maybe_unused]] const long before = ResidentKilobytes();
  for (int i = 0; i < 160; ++i) {  // 10 MB
    client->write(chunk);
    WaitFor([&] { return client->bytesToWrite() < 1024 * 1024; });
  }
  ASSERT_TRUE(WaitFor([&] { return client->bytesToWrite() == 0; }));
  QCoreApplication::processEvents();
#ifndef __SANITIZE_ADDRESS__                      // its quarantine keeps freed memory resident
  EXPECT_LT(ResidentKilobytes() - before, 4096);  // nothing of the 10 MB is kept
#endif
  form.Command_Alarm_Click(2);
  EXPECT_TRUE(ReadAtLeast(*client, 10).startsWith("2|2015-05-05|"));
  EXPECT_EQ(form.Text_Connect.Text(), QStringLiteral("Connected"));
}

TEST_F(TcpTest, PeerCloseShowsNotConnectedAndLaterEventsGoNowhere) {
  FXL_Main& form = StartListening();
  auto client = Connect();
  WaitAccepted(*client);
  client->disconnectFromHost();
  ASSERT_TRUE(WaitFor([&] { return form.Text_Connect.Text() == QStringLiteral("Not Connected"); }));
  EXPECT_EQ(form.Winsock_Data.State(), DataSocket::kClosed);
  form.Command_Alarm_Click(1);
  EXPECT_TRUE(messages_.errors.empty());

  auto again = Connect();  // the listener keeps listening
  WaitAccepted(*again);
}

TEST_F(TcpTest, SocketErrorShowsOneMessageAndCloses) {
  FXL_Main& form = StartListening();
  auto client = Connect();
  WaitAccepted(*client);
  form.Winsock_Data_Error(10053, QStringLiteral("Software caused connection abort"));
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_EQ(messages_.errors[0].title, QStringLiteral("Fauxlarm"));
  EXPECT_EQ(messages_.errors[0].text,
            QStringLiteral("Error occured: Software caused connection abort"));
  EXPECT_EQ(form.Text_Connect.Text(), QStringLiteral("Not Connected"));
  EXPECT_EQ(form.Winsock_Data.State(), DataSocket::kClosed);
  EXPECT_TRUE(WaitFor([&] { return client->state() == QAbstractSocket::UnconnectedState; }));
}

TEST_F(TcpTest, SecondWindowFindsThePortTaken) {
  FXL_Main& first = StartListening();
  auto second = std::make_unique<FXL_Main>([&] {
    FXL_Environment environment = environment_;
    environment.listenPort = first.ListeningPort();
    return environment;
  }());
  Save(QStringLiteral("ConnectionType"), QStringLiteral("0"));
  second->Form_Load({});
  EXPECT_FALSE(second->Option_ConnectionType.Enabled(0));
  EXPECT_EQ(second->Option_ConnectionType.Selected(), 1);
  EXPECT_TRUE(first.Option_ConnectionType.Enabled(0));
}

TEST_F(TcpTest, BurstQueuedDuringOneHandlerArrivesWhole) {
  FXL_Main& form = StartListening();
  auto client = Connect();
  WaitAccepted(*client);
  form.Text_NumberOfEvents.SetText(QStringLiteral("20000"));
  form.Command_Alarm_Click(0);
  const QByteArray line =
      "0|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE\n";
  const QByteArray data = ReadAtLeast(*client, line.size() * 20000);
  EXPECT_EQ(data.size(), line.size() * 20000);
  EXPECT_EQ(data.count(line), 20000);
}

}  // namespace
