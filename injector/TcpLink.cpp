#include "injector/TcpLink.h"

#include <unistd.h>

#include <QElapsedTimer>
#include <algorithm>
#include <thread>

namespace {

// How often the peer's acknowledgements are looked at while events wait: often enough
// for a status line that follows the server, seldom enough to cost nothing.
constexpr int kLookEveryMs = 100;
// How long one wait for acknowledgements lasts while the program ends.
constexpr std::chrono::milliseconds kCloseSlice{10};

}  // namespace

void ListeningSocket::incomingConnection(qintptr socketDescriptor) {
  emit ConnectionRequest(socketDescriptor);
}

DataSocket::DataSocket(QObject* parent) : QObject(parent) {
  look_.setInterval(kLookEveryMs);
  connect(&look_, &QTimer::timeout, this, &DataSocket::Update);
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
  watch_ = std::make_unique<SendQueueWatch>(requestId);
  connect(socket, &QTcpSocket::bytesWritten, this, [this](qint64 bytes) { bytesTaken_ += bytes; });
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
  ++eventsInAll_;
  if (gathered_.size() >= kChunk) Push();
}

void DataSocket::Push() {
  // A peer that went away meanwhile takes nothing more, as a closed connection would not.
  if (!gathered_.empty() && State() == kConnected) {
    socket_->write(gathered_.data(), static_cast<qint64>(gathered_.size()));
  }
  gathered_.clear();
  if (!eventEnds_.empty() && !look_.isActive()) look_.start();
}

qint64 DataSocket::BytesWaiting() const {
  const qint64 inSystem = watch_ != nullptr ? watch_->Unacknowledged() : 0;
  return BytesQueued() + std::max<qint64>(inSystem, 0);
}

void DataSocket::Update() {
  if (socket_ == nullptr) return;
  // A system that cannot tell leaves only what it took to count as acknowledged.
  const qint64 acknowledged = bytesTaken_ - std::max<qint64>(watch_->Unacknowledged(), 0);
  const qint64 before = eventsSettled_;
  while (!eventEnds_.empty() && eventEnds_.front() <= acknowledged) {
    eventEnds_.pop_front();
    ++eventsSettled_;
  }
  if (eventEnds_.empty()) look_.stop();
  if (eventsSettled_ != before) emit Acknowledged(eventsSettled_);
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

QByteArray DataSocket::GetData() {
  return socket_ != nullptr ? socket_->readAll() : QByteArray();
}

EventRange DataSocket::Close() {
  if (socket_ == nullptr) return {};
  Update();
  const EventRange dropped{eventsSettled_, eventsInAll_};
  eventsSettled_ = eventsInAll_;
  eventEnds_.clear();
  gathered_.clear();
  bytesTaken_ = bytesQueuedInAll_;
  look_.stop();
  watch_.reset();
  QTcpSocket* socket = socket_;
  socket_ = nullptr;
  socket->disconnect(this);
  socket->setParent(nullptr);
  // What the system already holds still goes out; what this program holds is dropped.
  socket->abort();
  socket->deleteLater();
  return dropped;
}

EventRange DataSocket::CloseAndFlush(std::chrono::milliseconds patience,
                                     const ServerWait& waiting) {
  if (socket_ == nullptr) return {};
  // No handler of the window runs while the program ends; only what the peer acknowledges
  // counts.
  disconnect(socket_, &QTcpSocket::readyRead, this, nullptr);
  disconnect(socket_, &QTcpSocket::disconnected, this, nullptr);
  disconnect(socket_, &QTcpSocket::errorOccurred, this, nullptr);
  Push();
  QElapsedTimer waited;
  waited.start();
  for (Update(); !eventEnds_.empty() && State() == kConnected; Update()) {
    const std::chrono::milliseconds left = patience - std::chrono::milliseconds(waited.elapsed());
    if (left.count() <= 0 || !waiting(BytesWaiting(), left)) break;
    socket_->flush();
    const auto slice = std::min(left, kCloseSlice);
    if (socket_->bytesToWrite() > 0) {
      socket_->waitForBytesWritten(static_cast<int>(slice.count()));
    } else {
      std::this_thread::sleep_for(slice);  // the system sends; only the peer's answer is missing
    }
  }
  return Close();
}
