#include "injector/TcpLink.h"

#include <unistd.h>

void ListeningSocket::incomingConnection(qintptr socketDescriptor) {
  emit ConnectionRequest(socketDescriptor);
}

DataSocket::~DataSocket() {
  Close();
}

int DataSocket::State() const {
  if (socket_ == nullptr) return kClosed;
  switch (socket_->state()) {
    case QAbstractSocket::UnconnectedState:
      return kClosed;
    case QAbstractSocket::ConnectedState:
      return kConnected;
    default:
      return static_cast<int>(socket_->state());
  }
}

bool DataSocket::Accept(qintptr requestId) {
  Close();
  auto* socket = new QTcpSocket(this);
  if (!socket->setSocketDescriptor(requestId)) {
    delete socket;
    ::close(static_cast<int>(requestId));
    return false;
  }
  socket_ = socket;
  connect(socket, &QTcpSocket::readyRead, this,
          [this, socket] { emit DataArrival(socket->bytesAvailable()); });
  connect(socket, &QTcpSocket::disconnected, this, &DataSocket::PeerClosed);
  connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError e) {
    // A peer that goes away is a close, not an error, as far as the user is concerned.
    if (e != QAbstractSocket::RemoteHostClosedError) emit Error(e, socket->errorString());
  });
  return true;
}

void DataSocket::SendData(const QByteArray& bytes) {
  if (socket_ != nullptr) socket_->write(bytes);
}

QByteArray DataSocket::GetData() {
  return socket_ != nullptr ? socket_->readAll() : QByteArray();
}

void DataSocket::Close() {
  if (socket_ == nullptr) return;
  QTcpSocket* socket = socket_;
  socket_ = nullptr;
  socket->disconnect(this);
  socket->setParent(nullptr);
  // Let what is queued reach the peer, then free the socket.
  if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() > 0) {
    socket->flush();
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::errorOccurred, socket, &QObject::deleteLater);
    socket->disconnectFromHost();
  } else {
    socket->abort();
    socket->deleteLater();
  }
}
