// The two sockets of the main window: the listener on which an alarm server connects,
// and the one accepted data connection that carries the event lines.
#pragma once

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

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
// it is closed; connections on their way in or out read as other values.
class DataSocket : public QObject {
  Q_OBJECT
 public:
  static constexpr int kClosed = 0;
  static constexpr int kConnected = 7;

  using QObject::QObject;
  ~DataSocket() override;

  int State() const;
  // Takes over the pending connection; false when the request is no longer valid.
  bool Accept(qintptr requestId);
  // Queues bytes for the peer.
  void SendData(const QByteArray& bytes);
  // Reads everything the peer sent so far.
  QByteArray GetData();
  // Closes the connection without further events; what was queued still goes out.
  void Close();

 signals:
  void DataArrival(qint64 bytesTotal);
  // The peer closed the connection.
  void PeerClosed();
  void Error(int number, const QString& description);

 private:
  QPointer<QTcpSocket> socket_;
};
