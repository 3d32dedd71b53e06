// The two sockets of the main window: the listener on which an alarm server connects,
// and the one accepted data connection that carries the event lines.
#pragma once

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <chrono>
#include <deque>
#include <string>
#include <string_view>

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

// The data connection. Its state reads 7 exactly while a peer is connected and 0 when
// it is closed; connections on their way in or out read as other values. Every SendData
// is one event, so that events the peer never got can be counted.
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

  using QObject::QObject;
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
  // Pushes, and hands the system what it takes now, without waiting.
  void Flush();
  // Waits up to msecs for the system to take more, then hands it what it takes. Events of
  // the socket (data, close, error) may be emitted meanwhile.
  void WaitForBytesWritten(int msecs);
  // Reads everything the peer sent so far.
  QByteArray GetData();
  // Closes the connection without further events; what was queued still goes out while
  // the program's event loop runs.
  void Close();
  // Closes the connection at the program's end: what is queued gets up to `patience` to
  // go out. The number of events that did not.
  qsizetype CloseAndFlush(std::chrono::milliseconds patience);

 signals:
  void DataArrival(qint64 bytesTotal);
  // The peer closed the connection.
  void PeerClosed();
  void Error(int number, const QString& description);

 private:
  // Events whose last byte the system has not taken yet.
  qsizetype EventsQueued();

  QPointer<QTcpSocket> socket_;
  std::string gathered_;
  // Running byte counts: at the end of each event still queued, of all bytes queued, and
  // of those the system has taken.
  std::deque<qint64> eventEnds_;
  qint64 bytesQueuedInAll_ = 0;
  qint64 bytesTaken_ = 0;
};
