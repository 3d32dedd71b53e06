// The three ways events go to an alarm server: a TCP connection the server makes to us,
// command queue 0 of the exchange library, and the generic file.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "events/ExchangeLibrary.h"
#include "play/EventReader.h"
#include "play/Options.h"
#include "play/Platform.h"
#include "play/Tally.h"

namespace Play {

class Method {
 public:
  struct Delivery {
    bool sent;
    Undelivered reason;     // when not sent
    std::string_view text;  // the line or command text handed over
  };

  virtual ~Method() = default;

  // Gets ready to send (listens and waits for the server, binds the library). False with
  // the reason in Fault() when the run cannot start.
  virtual bool Start() { return true; }
  // "generic TCP, port 14000"
  virtual std::string Description() const = 0;
  // "tcp", "queue", "file"
  virtual const char* Name() const = 0;
  // Hands over one event, whose line is given; counted in the tally.
  virtual Delivery Deliver(const Event& event, std::string_view line, Tally& tally) = 0;
  // Hands what is gathered to the system; paced runs do so before every wait.
  virtual void Push(Tally&) {}
  // Looks after the link between events (connections, what the peer sends); cheap enough
  // for every millisecond.
  virtual void Service(Tally&) {}
  // Gives what is still queued until the deadline to go out; what does not is counted.
  virtual void Finish(Tally&, std::int64_t /*deadline*/) {}
  // Why the run cannot go on; empty while it can.
  const std::string& Fault() const { return fault_; }

 protected:
  std::string fault_;
};

// Waits for the server on the listening port; a newer connection takes over from an older
// one, as with Fauxlarm. At most kQueueLimit bytes wait for the server; beyond that sending
// waits until the server has taken the queue down to kQueueResume, and a server that
// takes nothing for kPatience stops the run.
class TcpMethod : public Method {
 public:
  static constexpr std::size_t kChunk = 64 * 1024;
  static constexpr std::size_t kQueueLimit = std::size_t{4} << 20;
  static constexpr std::size_t kQueueResume = std::size_t{3} << 20;
  static constexpr std::int64_t kPatience = 10'000'000'000;

  // waitSeconds below 0: wait for the first server without bound.
  TcpMethod(std::uint16_t port, double waitSeconds, bool notices);
  ~TcpMethod() override;

  bool Start() override;
  std::string Description() const override;
  const char* Name() const override { return "tcp"; }
  Delivery Deliver(const Event& event, std::string_view line, Tally& tally) override;
  void Push(Tally& tally) override;
  void Service(Tally& tally) override;
  void Finish(Tally& tally, std::int64_t deadline) override;

 private:
  void Write(Tally& tally);
  void WaitForRoom(Tally& tally);
  // The connection is gone: what it did not acknowledge is counted for the reason.
  void Drop(Tally& tally, Undelivered reason);
  // Forgets the events the peer has acknowledged; counts the others when `reason` is given.
  std::int64_t Unacknowledged(Tally& tally, bool count, Undelivered reason);

  std::uint16_t port_;
  double waitSeconds_;
  bool notices_;
  platform::Socket listener_ = platform::kNoSocket;
  platform::Socket connection_ = platform::kNoSocket;
  std::string queue_;  // bytes the system has not taken, from queueFrom_
  std::size_t queueFrom_ = 0;
  std::int64_t handed_ = 0;        // bytes handed to this connection, queued or taken
  std::int64_t taken_ = 0;         // bytes the system took
  std::deque<std::int64_t> ends_;  // where each event not known to be acknowledged ends
  std::int64_t lastTaken_ = 0;     // when the system last took bytes
};

class QueueMethod : public Method {
 public:
  explicit QueueMethod(std::int16_t system);

  bool Start() override;
  std::string Description() const override;
  const char* Name() const override { return "queue"; }
  Delivery Deliver(const Event& event, std::string_view line, Tally& tally) override;

 private:
  std::int16_t system_;
  FauxlarmEvents::ExchangeLibrary library_;
  std::string command_;
};

// Opens, appends and closes the file for every event, as Fauxlarm does, so that the
// alarm server may take the file away between any two.
class FileMethod : public Method {
 public:
  explicit FileMethod(std::string path) : path_(std::move(path)) {}

  std::string Description() const override { return "generic file " + path_; }
  const char* Name() const override { return "file"; }
  Delivery Deliver(const Event& event, std::string_view line, Tally& tally) override;

 private:
  std::string path_;
  std::string bytes_;
};

std::unique_ptr<Method> MakeMethod(const Options& options, bool notices);

}  // namespace Play
