#include "play/Player.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "common/Random.h"
#include "events/EventLine.h"

namespace Play {
namespace {

constexpr std::int64_t kSecond = 1'000'000'000;
constexpr std::int64_t kServiceEvery = 1'000'000;
// How long standard input is waited for before the link and the status line are seen to.
constexpr int kInputSliceMs = 100;
// What the server gets to take what is still queued: at the normal end, and after Ctrl+C.
constexpr std::int64_t kFinishPatience = 10 * kSecond;
constexpr std::int64_t kFinishAfterStop = 2 * kSecond;
constexpr std::int64_t kNever = std::numeric_limits<std::int64_t>::max();

std::int64_t Nanoseconds(double seconds) {
  return seconds * 1e9 >= static_cast<double>(kNever) ? kNever
                                                      : static_cast<std::int64_t>(seconds * 1e9);
}

}  // namespace

Player::Player(const Options& options, Method& method, std::unique_ptr<platform::Input> input,
               std::unique_ptr<EventReader> reader, TrafficLog& log, bool statusLine)
    : options_(options),
      method_(method),
      input_(std::move(input)),
      reader_(std::move(reader)),
      log_(log),
      status_(statusLine) {
  timed_ = reader_ != nullptr && reader_->Timed() && !options_.rateGiven && options_.input != "-";
  paced_ = timed_ || (options_.rateGiven && options_.rate > 0);
  summary_.paced = paced_;
  summary_.rate = options_.rateGiven ? options_.rate : -1;
  summary_.method = method_.Description();
  summary_.input = InputName(options_);
}

void Player::Stop(const char* key, std::string text) {
  stopped_ = true;
  if (summary_.stopKey.empty()) {
    summary_.stopKey = key;
    summary_.stopText = std::move(text);
  }
}

std::int64_t Player::DeadlineOf() const {
  if (timed_) {
    return start_ + passStart_ + std::llround(static_cast<double>(event_.at) / options_.speed);
  }
  const auto index = static_cast<double>(summary_.tally.read);
  const std::int64_t due = start_ + std::llround(index * 1e9 / options_.rate);
  if (options_.input != "-") return due;
  // Standard input: the rate is a ceiling, not a schedule to catch up with.
  return std::max<std::int64_t>(previousDeadline_ + std::llround(1e9 / options_.rate),
                                platform::MonotonicNanoseconds());
}

void Player::Housekeeping(std::int64_t now) {
  if (now >= nextService_) {
    method_.Service(summary_.tally);
    nextService_ = now + kServiceEvery;
  }
  if (now >= nextStatus_) {
    status_.Show(now, summary_.tally, lateness_, paced_);
    nextStatus_ = now + kSecond;
  }
}

bool Player::WaitUntil(std::int64_t deadline) {
  for (;;) {
    const std::int64_t now = platform::MonotonicNanoseconds();
    if (platform::StopSignals() > 0) return false;
    if (now >= end_) return false;
    if (now >= deadline) return true;
    method_.Push(summary_.tally);
    Housekeeping(now);
    if (!method_.Fault().empty()) return false;
    platform::SleepUntil(std::min({deadline, nextStatus_, end_}));
  }
}

void Player::RandomEvent() {
  namespace events = FauxlarmEvents;
  const double r = Halvane_Common_Procedures::Rnd();
  event_.type = events::StreamEventType(r);
  event_.timed = false;
  event_.wholeLine = false;
  event_.tag.assign(events::kDesignFields[0]);
  event_.tag += events::RandomTagSuffix(Halvane_Common_Procedures::Rnd());
  event_.area.assign(events::kDesignFields[1]);
  event_.category.assign(events::kDesignFields[2]);
  event_.name.assign(events::kDesignFields[3]);
  event_.description.assign(events::kDesignFields[4]);
  event_.status.assign(events::kDesignFields[5]);
  event_.stampDate = event_.stampTime = true;
  event_.system = -1;
}

bool Player::ReopenInput() {
  std::string error;
  input_ = platform::Input::OpenFile(options_.input, &error);
  if (input_ == nullptr) {
    Stop("fault", "cannot open " + options_.input + " again: " + error);
    return false;
  }
  reader_ = std::make_unique<EventReader>(*input_);
  Problem problem;
  if (reader_->Open(-1, &problem) != EventReader::Status::kEvent) {
    Stop("fault", options_.input + " changed while it was played");
    return false;
  }
  return true;
}

// The next event of the input into event_; false at the end of the pass or when the run
// stops. Bad rows of standard input are told, counted and skipped.
bool Player::NextEvent() {
  if (options_.random) {
    RandomEvent();
    return true;
  }
  const bool waits = options_.input == "-";
  for (;;) {
    Problem problem;
    switch (reader_->Next(event_, &problem, waits ? kInputSliceMs : -1)) {
      case EventReader::Status::kEvent:
        return true;
      case EventReader::Status::kEnd:
        return false;
      case EventReader::Status::kBad: {
        status_.Clear();
        platform::Write(platform::Stream::kError, problem.Told(waits ? "<stdin>" : options_.input));
        ++summary_.tally.badLines;
        break;
      }
      case EventReader::Status::kTimedOut: {
        const std::int64_t now = platform::MonotonicNanoseconds();
        method_.Push(summary_.tally);
        Housekeeping(now);
        if (now >= end_) {
          Stop("duration", "");
          return false;
        }
        break;
      }
      case EventReader::Status::kStopped:
        return false;
      case EventReader::Status::kError:
        Stop("fault", "cannot read " + summary_.input + ": " + reader_->Error());
        return false;
    }
    if (platform::StopSignals() > 0 || !method_.Fault().empty()) return false;
  }
}

void Player::Compose() {
  line_.clear();
  if (event_.wholeLine) {
    line_ = event_.line;
    return;
  }
  FauxlarmEvents::AppendEventLine(
      event_.type,
      {event_.stampDate ? clock_.Date() : event_.date,
       event_.stampTime ? clock_.Time() : event_.time, event_.tag, event_.area, event_.category,
       event_.name, event_.description, event_.status},
      line_);
}

Player::Outcome Player::PlayOne() {
  Tally& tally = summary_.tally;
  if (options_.count >= 0 && tally.read >= options_.count) {
    Stop("count", "");
    return Outcome::kStop;
  }
  if (!NextEvent())
    return stopped_ || platform::StopSignals() > 0 ? Outcome::kStop : Outcome::kPassEnded;
  std::int64_t deadline = 0;
  if (paced_) {
    deadline = DeadlineOf();
    if (!WaitUntil(deadline)) {
      // An event read but not yet due when Ctrl+C came is one that was not sent.
      if (platform::StopSignals() > 0 || !method_.Fault().empty()) {
        ++tally.read;
        tally.NotDelivered(Undelivered::kStopped);
      }
      return Outcome::kStop;
    }
    previousDeadline_ = deadline;
  }
  const std::int64_t now = platform::MonotonicNanoseconds();
  if (now >= end_) return Outcome::kStop;
  ++tally.read;
  if (paced_) {
    lateness_ = std::max<std::int64_t>(now - deadline, 0);
    tally.Lateness(lateness_);
  }
  if (event_.timed) lastAt_ = event_.at;
  const bool stamps = !event_.wholeLine && (event_.stampDate || event_.stampTime);
  if (stamps || log_.IsOpen()) clock_.Update();
  Compose();
  const Method::Delivery delivery = method_.Deliver(event_, line_, tally);
  if (log_.IsOpen()) {
    log_.Write(clock_, method_.Name(), delivery.sent ? "sent" : ReasonKey(delivery.reason),
               delivery.text);
  }
  Housekeeping(now);
  return method_.Fault().empty() ? Outcome::kSent : Outcome::kStop;
}

Summary Player::Run() {
  if (paced_) platform::KeepTimeClosely();
  start_ = platform::MonotonicNanoseconds();
  end_ = options_.duration >= 0 ? start_ + Nanoseconds(options_.duration) : kNever;
  nextService_ = start_ + kServiceEvery;
  nextStatus_ = start_ + kSecond;
  status_.Begin(start_);
  for (std::int64_t pass = 0; !stopped_ && (options_.loops == 0 || pass < options_.loops); ++pass) {
    if (pass > 0 && !ReopenInput()) break;
    const std::int64_t readBefore = summary_.tally.read;
    Outcome outcome;
    while ((outcome = PlayOne()) == Outcome::kSent) {
    }
    if (outcome == Outcome::kStop) break;
    // An input without events would loop for ever without sending anything.
    if (summary_.tally.read == readBefore) break;
    passStart_ += std::llround(static_cast<double>(lastAt_) / options_.speed);
  }
  const std::int64_t now = platform::MonotonicNanoseconds();
  if (platform::StopSignals() > 0) Stop("signal", "by a stop signal (Ctrl+C)");
  if (!method_.Fault().empty()) Stop("fault", method_.Fault());
  if (now >= end_) Stop("duration", "");
  method_.Push(summary_.tally);
  method_.Finish(summary_.tally,
                 now + (platform::StopSignals() > 0 ? kFinishAfterStop : kFinishPatience));
  summary_.duration = std::min(now, end_) - start_;
  status_.Clear();
  const Tally& tally = summary_.tally;
  const bool whole = tally.UndeliveredCount() == 0 && tally.badLines == 0 &&
                     summary_.stopKey != "fault" && tally.sent == tally.read;
  summary_.exitCode = whole ? 0 : 1;
  return summary_;
}

}  // namespace Play
