#include "play/Methods.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "events/EventLine.h"

namespace Play {
namespace {

constexpr int kWaitSliceMs = 50;

std::string Seconds(double seconds) {
  char text[32];
  std::snprintf(text, sizeof text, "%g", seconds);
  return text;
}

}  // namespace

TcpMethod::TcpMethod(std::uint16_t port, double waitSeconds, bool notices)
    : port_(port), waitSeconds_(waitSeconds), notices_(notices) {}

TcpMethod::~TcpMethod() {
  platform::Close(connection_);
  platform::Close(listener_);
}

bool TcpMethod::Start() {
  std::string error;
  listener_ = platform::Listen(port_, &error);
  if (listener_ == platform::kNoSocket) {
    fault_ = "cannot listen on port " + std::to_string(port_) + ": " + error;
    return false;
  }
  port_ = platform::LocalPort(listener_);
  if (notices_) {
    std::fprintf(stderr, "fauxlarm-play: waiting for the alarm server to connect to port %u\n",
                 port_);
  }
  const std::int64_t start = platform::MonotonicNanoseconds();
  const std::int64_t deadline = waitSeconds_ >= 0
                                    ? start + static_cast<std::int64_t>(waitSeconds_ * 1e9)
                                    : std::numeric_limits<std::int64_t>::max();
  while ((connection_ = platform::Accept(listener_)) == platform::kNoSocket) {
    const std::int64_t now = platform::MonotonicNanoseconds();
    if (platform::StopSignals() > 0) {
      fault_ = "stopped while waiting for the alarm server";
      return false;
    }
    if (now >= deadline) {
      fault_ = "no alarm server connected to port " + std::to_string(port_) + " within " +
               Seconds(waitSeconds_) + " seconds";
      return false;
    }
    const std::int64_t slice = std::min<std::int64_t>(deadline - now, 100'000'000);
    platform::Wait(listener_, platform::kNoSocket, false,
                   static_cast<int>((slice + 999'999) / 1'000'000));
  }
  lastTaken_ = platform::MonotonicNanoseconds();
  return true;
}

std::string TcpMethod::Description() const {
  return "generic TCP, port " + std::to_string(port_);
}

Method::Delivery TcpMethod::Deliver(const Event&, std::string_view line, Tally& tally) {
  if (connection_ == platform::kNoSocket) {
    tally.NotDelivered(Undelivered::kNoServer);
    return {false, Undelivered::kNoServer, line};
  }
  queue_ += line;
  queue_ += '\n';
  handed_ += static_cast<std::int64_t>(line.size()) + 1;
  ends_.push_back(handed_);
  ++tally.sent;
  if (queue_.size() - queueFrom_ >= kChunk) Push(tally);
  return {true, Undelivered::kNoServer, line};
}

void TcpMethod::Write(Tally& tally) {
  while (connection_ != platform::kNoSocket && queueFrom_ < queue_.size()) {
    const std::int64_t n =
        platform::Send(connection_, queue_.data() + queueFrom_, queue_.size() - queueFrom_);
    if (n < 0) {
      Drop(tally, Undelivered::kNoServer);
      return;
    }
    if (n == 0) break;
    queueFrom_ += static_cast<std::size_t>(n);
    taken_ += n;
    lastTaken_ = platform::MonotonicNanoseconds();
  }
  if (queueFrom_ == queue_.size()) {
    queue_.clear();
    queueFrom_ = 0;
  } else if (queueFrom_ > queue_.size() / 2) {
    queue_.erase(0, queueFrom_);
    queueFrom_ = 0;
  }
}

void TcpMethod::Push(Tally& tally) {
  Write(tally);
  if (queue_.size() - queueFrom_ > kQueueLimit) WaitForRoom(tally);
}

void TcpMethod::WaitForRoom(Tally& tally) {
  while (connection_ != platform::kNoSocket && queue_.size() - queueFrom_ > kQueueResume &&
         platform::StopSignals() == 0) {
    platform::Wait(platform::kNoSocket, connection_, true, kWaitSliceMs);
    Service(tally);
    if (connection_ != platform::kNoSocket &&
        platform::MonotonicNanoseconds() - lastTaken_ >= kPatience) {
      fault_ = "the alarm server has taken no data for " + Seconds(kPatience / 1e9) + " seconds";
      Drop(tally, Undelivered::kServerStalled);
    }
  }
}

std::int64_t TcpMethod::Unacknowledged(Tally& tally, bool count, Undelivered reason) {
  const std::int64_t acknowledged = taken_ - platform::Unacknowledged(connection_);
  while (!ends_.empty() && ends_.front() <= acknowledged)
    ends_.pop_front();
  const auto left = static_cast<std::int64_t>(ends_.size());
  if (count) {
    tally.Unsend(reason, left);
    ends_.clear();
  }
  return left;
}

void TcpMethod::Drop(Tally& tally, Undelivered reason) {
  Unacknowledged(tally, true, reason);
  platform::Close(connection_);
  connection_ = platform::kNoSocket;
  queue_.clear();
  queueFrom_ = 0;
  handed_ = 0;
  taken_ = 0;
}

void TcpMethod::Service(Tally& tally) {
  const platform::Socket newer = platform::Accept(listener_);
  if (newer != platform::kNoSocket) {
    if (connection_ != platform::kNoSocket) Drop(tally, Undelivered::kNoServer);
    connection_ = newer;
    lastTaken_ = platform::MonotonicNanoseconds();
  }
  if (connection_ == platform::kNoSocket) return;
  if (!platform::DiscardIncoming(connection_)) {
    Drop(tally, Undelivered::kNoServer);
    return;
  }
  Write(tally);
  if (connection_ != platform::kNoSocket) Unacknowledged(tally, false, Undelivered::kNoServer);
}

void TcpMethod::Finish(Tally& tally, std::int64_t deadline) {
  const int stopsBefore = platform::StopSignals();
  while (connection_ != platform::kNoSocket) {
    Write(tally);
    if (connection_ == platform::kNoSocket) return;
    if (!platform::DiscardIncoming(connection_)) {
      Drop(tally, Undelivered::kNoServer);
      return;
    }
    if (Unacknowledged(tally, false, Undelivered::kNoServer) == 0) break;
    if (platform::MonotonicNanoseconds() >= deadline || platform::StopSignals() > stopsBefore) {
      Drop(tally, Undelivered::kServerStalled);
      return;
    }
    platform::Wait(platform::kNoSocket, connection_, queueFrom_ < queue_.size(), 20);
  }
  platform::Close(connection_);
  connection_ = platform::kNoSocket;
}

QueueMethod::QueueMethod(std::int16_t system)
    : system_(system), library_(FauxlarmEvents::LibraryFolders(platform::ProgramFolder())) {}

bool QueueMethod::Start() {
  return library_.Bind(&fault_);
}

std::string QueueMethod::Description() const {
  return "command queue " + std::to_string(FauxlarmEvents::kCommandQueue) + " of " +
         (library_.FileName().empty() ? "the exchange library" : library_.FileName());
}

Method::Delivery QueueMethod::Deliver(const Event& event, std::string_view line, Tally& tally) {
  command_.clear();
  if (event.type == FauxlarmEvents::kMessage) {
    FauxlarmEvents::AppendMessageCommand(event.name, event.description, command_);
  } else {
    FauxlarmEvents::AppendAlarmCommand(line, event.system >= 0 ? event.system : system_, command_);
  }
  if (library_.SetCommandEntry(command_, FauxlarmEvents::kCommandQueue) == 1) {
    ++tally.sent;
    return {true, Undelivered::kLibraryRefused, command_};
  }
  tally.NotDelivered(Undelivered::kLibraryRefused);
  return {false, Undelivered::kLibraryRefused, command_};
}

Method::Delivery FileMethod::Deliver(const Event&, std::string_view line, Tally& tally) {
  bytes_.assign(line);
  bytes_ += "\r\n";
  if (FauxlarmEvents::AppendToFile(path_, bytes_)) {
    ++tally.sent;
    return {true, Undelivered::kFileError, line};
  }
  tally.NotDelivered(Undelivered::kFileError);
  return {false, Undelivered::kFileError, line};
}

std::unique_ptr<Method> MakeMethod(const Options& options, bool notices) {
  switch (options.method) {
    case MethodKind::kTcp:
      return std::make_unique<TcpMethod>(options.port, options.waitSeconds, notices);
    case MethodKind::kQueue:
      return std::make_unique<QueueMethod>(options.system);
    case MethodKind::kFile:
      return std::make_unique<FileMethod>(options.filePath);
    case MethodKind::kNone:
      break;
  }
  return nullptr;
}

}  // namespace Play
