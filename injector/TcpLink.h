// The two sockets of the main window: the listener on which an alarm server connects,
// and the one accepted data connection that carries the event lines.
#pragma once

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "injector/SendQueueWatch.h"

// Listens and reports each connection request with an identifier that the data socket
// accepts (the native descriptor of the pending connection).
class ListeningSocket : public QTcpServer {
  Q_OBJECT
 public:
  using QTcpServer::QTcpServer;

 signals:
  void ConnectionRequest(qintptr requestId);

 protected:
  void incomingConnection(qintptr socketDescriptor) override;
};

// Events queued on the data connection, by their numbers: every event queued on any
// connection gets the next number, from 0.
struct EventRange {
  qint64 first = 0;
  qint64 end = 0;
  qint64 Size() const { return end - first; }
};

// Asked while the program waits for the alarm server to take what is queued: the bytes it
// has not taken yet, and how much longer the wait lasts at most. False ends the wait.
using ServerWait = std::function<bool(qint64 bytes, std::chrono::milliseconds left)>;

// The data connection. Its state reads 7 exactly while a peer is connected and 0 when
// it is closed; connections on their way in or out read as other values. Every SendData
// is one event, and an event counts as delivered once the peer's side has acknowledged
// its last byte: it has left this program's queue and the system's send queue.
class DataSocket : public QObject {
  Q_OBJECT
 public:
  static constexpr int kClosed = 0;
  static constexpr int kConnected = 7;
  // A burst waits for the peer once this many bytes are queued that the system has not
  // taken, and goes on when the queue is down to kQueueResume.
  static constexpr qint64 kQueueLimit = qint64{4} << 20;
  static constexpr qint64 kQueueResume = qint64{3} << 20;
  // Events go to the socket in chunks of this size, so that the system is called once a
  // chunk rather than once an event.
  static constexpr std::size_t kChunk = 64 * 1024;

  explicit DataSocket(QObject* parent = nullptr);
  ~DataSocket() override;

  int State() const;
  // Takes over the pending connection; false when the request is no longer valid.
  bool Accept(qintptr requestId);
  // Queues one event's bytes for the peer; they go to the socket with the next full chunk
  // or the next Push.
  void SendData(std::string_view bytes);
  // Hands the socket what SendData gathered; a burst does so when it ends.
  void Push();
  // Bytes queued that the system has not taken yet.
  qint64 BytesQueued() const { return bytesQueuedInAll_ - bytesTaken_; }
  // Bytes the peer has not acknowledged: those queued here and in the system.
  qint64 BytesWaiting() const;
  // The number that the next event will carry.
  qint64 EventsQueuedInAll() const { return eventsInAll_; }
  // Looks how far the peer has acknowledged, and emits Acknowledged when that moved. It
  // also looks by itself while events wait, a few times a second.
  void Update();
  // Pushes, and hands the system what it takes now, without waiting.
  void Flush();
  // Waits up to msecs for the system to take more, then hands it what it takes. Events of
  // the socket (data, close, error) may be emitted meanwhile.
  void WaitForBytesWritten(int msecs);
  // Reads everything the peer sent so far.
  QByteArray GetData();
  // Closes the connection at once, without further events. The events that the peer had
  // not acknowledged are dropped: those are returned.
  EventRange Close();
  // Closes the connection at the program's end: what is queued gets up to `patience` to
  // be acknowledged, while `waiting` is asked whether to go on. The events that were not.
  EventRange CloseAndFlush(std::chrono::milliseconds patience, const ServerWait& waiting);

 signals:
  // The events numbered below upTo have been acknowledged (or dropped before).
  void Acknowledged(qint64 upTo);
  void DataArrival(qint64 bytesTotal);
  // The peer closed the connection.
  void PeerClosed();
  void Error(int number, const QString& description);

 private:
  QPointer<QTcpSocket> socket_;
  std::unique_ptr<SendQueueWatch> watch_;
  QTimer look_;
  std::string gathered_;
  // Running byte counts: at the end of each event not acknowledged yet, of all bytes
  // queued, and of those the system has taken.
  std::deque<qint64> eventEnds_;
  qint64 bytesQueuedInAll_ = 0;
  qint64 bytesTaken_ = 0;
  // The number of the next event, and of the first one neither acknowledged nor dropped.
  qint64 eventsInAll_ = 0;
  qint64 eventsSettled_ = 0;
};
