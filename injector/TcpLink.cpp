#include "injector/TcpLink.h"

#include <unistd.h>

#include <QElapsedTimer>

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
  connect(socket, &QTcpSocket::bytesWritten, this, [this](qint64 bytes) {
    bytesTaken_ += bytes;
    EventsQueued();  // forgets the events that are gone, so the list stays as short as the queue
  });
  connect(socket, &QTcpSocket::readyRead, this,
          [this, socket] { emit DataArrival(socket->bytesAvailable()); });
  connect(socket, &QTcpSocket::disconnected, this, &DataSocket::PeerClosed);
  connect(socket, &QTcpSocket::errorOccurred, this, [this, socket](QAbstractSocket::SocketError e) {
    // A peer that goes away is a close, not an error, as far as the user is concerned; a
    // time-out comes from the program's own waits for a slow peer, which tell of it.
    if (e != QAbstractSocket::RemoteHostClosedError && e != QAbstractSocket::SocketTimeoutError) {
      emit Error(e, socket->errorString());
    }
  });
  return true;
}

void DataSocket::SendData(std::string_view bytes) {
  if (socket_ == nullptr) return;
  gathered_.append(bytes);
  bytesQueuedInAll_ += static_cast<qint64>(bytes.size());
  eventEnds_.push_back(bytesQueuedInAll_);
  if (gathered_.size() >= kChunk) Push();
}

void DataSocket::Push() {
  // A peer that went away meanwhile takes nothing more, as a closed connection would not.
  if (!gathered_.empty() && State() == kConnected) {
    socket_->write(gathered_.data(), static_cast<qint64>(gathered_.size()));
  }
  gathered_.clear();
}

void DataSocket::Flush() {
  Push();
  if (socket_ != nullptr) socket_->flush();
}

void DataSocket::WaitForBytesWritten(int msecs) {
  Push();
  if (socket_ != nullptr && socket_->bytesToWrite() > 0) socket_->waitForBytesWritten(msecs);
  Flush();
}

qsizetype DataSocket::EventsQueued() {
  while (!eventEnds_.empty() && eventEnds_.front() <= bytesTaken_)
    eventEnds_.pop_front();
  return static_cast<qsizetype>(eventEnds_.size());
}

QByteArray DataSocket::GetData() {
  return socket_ != nullptr ? socket_->readAll() : QByteArray();
}

void DataSocket::Close() {
  if (socket_ == nullptr) return;
  Push();
  QTcpSocket* socket = socket_;
  socket_ = nullptr;
  eventEnds_.clear();
  bytesTaken_ = bytesQueuedInAll_;
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

qsizetype DataSocket::CloseAndFlush(std::chrono::milliseconds patience) {
  if (socket_ == nullptr) return 0;
  // No handler of the window runs while the program ends; only what the system takes counts.
  disconnect(socket_, &QTcpSocket::readyRead, this, nullptr);
  disconnect(socket_, &QTcpSocket::disconnected, this, nullptr);
  disconnect(socket_, &QTcpSocket::errorOccurred, this, nullptr);
  Push();
  QElapsedTimer waited;
  waited.start();
  while (socket_ != nullptr && socket_->state() == QAbstractSocket::ConnectedState &&
         socket_->bytesToWrite() > 0 && waited.elapsed() < patience.count()) {
    socket_->flush();
    socket_->waitForBytesWritten(static_cast<int>(patience.count() - waited.elapsed()));
  }
  const qsizetype notDelivered = EventsQueued();
  if (notDelivered > 0 && socket_ != nullptr) socket_->abort();  // the rest cannot go out now
  Close();
  return notDelivered;
}
