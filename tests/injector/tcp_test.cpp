#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTcpSocket>
#include <algorithm>
#include <atomic>
#include <fstream>
#include <limits>
#include <string>
#include <thread>

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

const QByteArray kActiveLine =
    "1|2015-05-05|12:55:54|TA0220'GT41|A5|2|PressureFault|Pressure is bad|ACTIVE\n";

// A server's system holds for it what it has not read yet, and acknowledges that as
// taken: so much may count as delivered beyond what the server read (RawPeer asks for a
// 4 KB buffer; the system doubles it and adds its own bookkeeping).
constexpr qint64 kPeerBufferSlack = 64 * 1024;

// The count that a status text or message starts with.
qint64 LeadingCount(const QString& text) {
  return text.section(u' ', 0, 0).toLongLong();
}

// An alarm server on a socket of its own, outside the event loop: it reads nothing, or
// up to a limit on a thread of its own, whatever the window's burst does meanwhile.
class RawPeer {
 public:
  explicit RawPeer(quint16 port) {
    const int smallBuffer = 4096;  // so that the system holds little of what is not read
    setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &smallBuffer, sizeof smallBuffer);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = ::connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  }
  ~RawPeer() { Disconnect(); }

  bool Connected() const { return connected_; }
  // Reads until it has `limit` bytes in all; ReadUpTo lets it read on.
  void StartReading(qint64 limit = std::numeric_limits<qint64>::max()) {
    limit_ = limit;
    reader_ = std::thread([this] {
      char buffer[1 << 16];
      while (!stop_) {
        const qint64 room = std::min<qint64>(limit_ - received_, sizeof buffer);
        pollfd readable{fd_, POLLIN, 0};
        if (room <= 0 || ::poll(&readable, 1, 5) <= 0) {
          if (room <= 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
          continue;
        }
        const ssize_t n = ::recv(fd_, buffer, static_cast<std::size_t>(room), 0);
        if (n <= 0) break;
        received_ += n;
      }
    });
  }
  void ReadUpTo(qint64 limit) { limit_ = limit; }
  qint64 Received() const { return received_; }
  // Goes away; what its system holds unread is thrown away.
  void Disconnect() {
    stop_ = true;
    if (reader_.joinable()) reader_.join();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }

 private:
  int fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
  bool connected_ = false;
  std::thread reader_;
  std::atomic<bool> stop_{false};
  std::atomic<qint64> limit_{0};
  std::atomic<qint64> received_{0};
};

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

  std::unique_ptr<RawPeer> ConnectRawPeer() {
    auto peer = std::make_unique<RawPeer>(form_->ListeningPort());
    EXPECT_TRUE(peer->Connected());
    EXPECT_TRUE(WaitFor([&] { return form_->Winsock_Data.State() == DataSocket::kConnected; }));
    return peer;
  }

  // Watches the connection's queue while the burst waits for the server.
  qint64 LargestQueueDuringTheBurst(FXL_Main& form) {
    qint64 largest = 0;
    feedback_.whileRunning = [&](std::int32_t) {
      largest = std::max(largest, form.Winsock_Data.BytesQueued());
    };
    form.SetBurstFeedback(&feedback_);
    form.Command_Alarm_Click(1);
    return std::max(largest, form.Winsock_Data.BytesQueued());
  }

  RecordingFeedback feedback_;

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

// 200,000 events are 15.6 MB, far more than the queue and the system's buffers hold.
TEST_F(TcpTest, BurstToAServerThatReadsNothingIsBoundedAndStopsWithOneMessage) {
  environment_.serverPatience = std::chrono::milliseconds(200);
  FXL_Main& form = StartListening();
  auto peer = ConnectRawPeer();
  form.Text_NumberOfEvents.SetText(QStringLiteral("200000"));
  EXPECT_LE(LargestQueueDuringTheBurst(form), DataSocket::kQueueLimit + kActiveLine.size());
  EXPECT_EQ(form.LastBurst().reason, FXL_Procs::Undelivered::kServerStalled);
  EXPECT_LT(form.LastBurst().sent, 200000);
  EXPECT_FALSE(feedback_.progress.empty());
  // Before it stopped, the burst showed what it was waiting for and for how long at most.
  ASSERT_FALSE(feedback_.waits.empty());
  EXPECT_GT(feedback_.waits.back().bytes, DataSocket::kQueueResume);
  EXPECT_LE(feedback_.waits.back().left, std::chrono::milliseconds(200));
  ASSERT_EQ(messages_.errors.size(), 1u);
  EXPECT_TRUE(
      messages_.errors[0].text.contains(QStringLiteral("has taken no data for 0.2 seconds")))
      << messages_.errors[0].text.toStdString();

  // What the connection had accepted is not dropped unnoticed when the window closes, and
  // the wait for it shows.
  const std::size_t waitsInTheBurst = feedback_.waits.size();
  form.Form_Unload();
  EXPECT_GT(feedback_.waits.size(), waitsInTheBurst);
  ASSERT_EQ(messages_.errors.size(), 2u);
  EXPECT_TRUE(messages_.errors[1].text.contains(
      QStringLiteral("events queued for the alarm server were not delivered")))
      << messages_.errors[1].text.toStdString();
  EXPECT_GT(messages_.errors[1].text.section(u' ', 0, 0).toInt(), 0);
}

TEST_F(TcpTest, BurstLargerThanTheQueueReachesAReadingServerWholeAndClosingFlushesIt) {
  FXL_Main& form = StartListening();
  auto peer = ConnectRawPeer();
  peer->StartReading();
  form.Text_NumberOfEvents.SetText(QStringLiteral("200000"));
  EXPECT_LE(LargestQueueDuringTheBurst(form), DataSocket::kQueueLimit + kActiveLine.size());
  EXPECT_EQ(form.LastBurst().sent, 200000);
  EXPECT_EQ(form.LastBurst().reason, FXL_Procs::Undelivered::kNone);

  form.Form_Unload();
  EXPECT_TRUE(messages_.errors.empty()) << messages_.errors[0].text.toStdString();
  EXPECT_TRUE(WaitFor([&] { return peer->Received() == kActiveLine.size() * 200000; }))
      << peer->Received();
}

// 30,000 events are 2.3 MB: the burst returns at once, with most of them queued.
TEST_F(TcpTest, StatusLineFollowsTheServerAndADisconnectReportsWhatItNeverRead) {
  FXL_Main& form = StartListening();
  auto peer = ConnectRawPeer();
  const qint64 line = kActiveLine.size();
  peer->StartReading(1000 * line);
  form.Text_NumberOfEvents.SetText(QStringLiteral("30000"));
  form.Command_Alarm_Click(1);
  auto status = [&] { return form.Label_SendStatus.Text(); };
  auto delivered = [&] { return LeadingCount(status()); };
  ASSERT_TRUE(WaitFor([&] { return peer->Received() == 1000 * line && delivered() >= 1000; }))
      << status().toStdString();
  EXPECT_LE(delivered() * line, peer->Received() + kPeerBufferSlack);
  EXPECT_TRUE(status().endsWith(
      QStringLiteral(" by generic TCP, %1 waiting for the server").arg(30000 - delivered())))
      << status().toStdString();

  peer->ReadUpTo(20000 * line);
  ASSERT_TRUE(WaitFor([&] { return delivered() >= 20000; })) << status().toStdString();
  peer->Disconnect();
  ASSERT_TRUE(WaitFor([&] { return !messages_.errors.empty(); }));
  EXPECT_EQ(form.Text_Connect.Text(), QStringLiteral("Not Connected"));
  ASSERT_EQ(messages_.errors.size(), 1u);
  const QString& message = messages_.errors[0].text;
  EXPECT_TRUE(message.endsWith(QStringLiteral(
      " events queued for the alarm server were not delivered: the alarm server disconnected.")))
      << message.toStdString();
  const qint64 notDelivered = LeadingCount(message);
  EXPECT_GE(30000 - notDelivered, 20000);
  EXPECT_LE((30000 - notDelivered) * line, peer->Received() + kPeerBufferSlack);
  EXPECT_EQ(status().toStdString(),
            QStringLiteral("%1 events delivered by generic TCP, %2 not delivered: the alarm "
                           "server disconnected")
                .arg(30000 - notDelivered)
                .arg(notDelivered)
                .toStdString());
}

TEST_F(TcpTest, TakeoverWithEventsQueuedReportsThemOnce) {
  FXL_Main& form = StartListening();
  auto first = ConnectRawPeer();  // reads nothing
  form.Text_NumberOfEvents.SetText(QStringLiteral("30000"));
  form.Command_Alarm_Click(1);
  auto second = Connect();
  ASSERT_TRUE(WaitFor([&] { return !messages_.errors.empty(); }));
  ASSERT_EQ(messages_.errors.size(), 1u);
  const QString& message = messages_.errors[0].text;
  EXPECT_TRUE(message.endsWith(QStringLiteral(
      " events queued for the alarm server were not delivered: another alarm server took over "
      "the connection.")))
      << message.toStdString();
  EXPECT_LE((30000 - LeadingCount(message)) * kActiveLine.size(), kPeerBufferSlack);
  EXPECT_TRUE(form.Label_SendStatus.Text().endsWith(
      QStringLiteral("not delivered: another alarm server took over the connection")));

  WaitAccepted(*second);
  form.Text_NumberOfEvents.SetText(QStringLiteral("1"));
  form.Command_Alarm_Click(2);
  EXPECT_TRUE(ReadAtLeast(*second, 10).startsWith("2|2015-05-05|"));
}

}  // namespace
