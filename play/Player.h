// One run: events from the input, at their times, handed to the method, counted.
//
// Times are absolute deadlines on the monotonic clock, taken from the run's start, so
// that waiting never adds up to drift: with --rate, event i is due at i / rate; in a
// scenario at its "at" divided by the speed, each further pass of --loop starting when
// the last event of the pass before was due. An event that comes to its turn late goes
// out at once, is counted as late when more than 1 ms behind, and is never dropped.
// Standard input is sent as it arrives; --rate only keeps it from going faster.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "play/EventReader.h"
#include "play/Methods.h"
#include "play/Options.h"
#include "play/Report.h"
#include "play/TrafficLog.h"

namespace Play {

class Player {
 public:
  // The input is open with its header read (null for the random stream); a file is
  // opened again for every further pass.
  Player(const Options& options, Method& method, std::unique_ptr<platform::Input> input,
         std::unique_ptr<EventReader> reader, TrafficLog& log, bool statusLine);

  // Plays the input and lets the method finish; the summary's exit code is set.
  Summary Run();

 private:
  enum class Outcome { kSent, kPassEnded, kStop };

  Outcome PlayOne();
  bool NextEvent();
  std::int64_t DeadlineOf() const;
  // Waits for the deadline; false when the run is to stop instead.
  bool WaitUntil(std::int64_t deadline);
  void Housekeeping(std::int64_t now);
  void Stop(const char* key, std::string text);
  bool ReopenInput();
  void RandomEvent();
  void Compose();

  const Options& options_;
  Method& method_;
  std::unique_ptr<platform::Input> input_;
  std::unique_ptr<EventReader> reader_;
  TrafficLog& log_;
  StatusLine status_;
  Summary summary_;
  LocalClock clock_;
  Event event_;
  std::string line_;

  bool timed_ = false;  // the scenario's own times are kept
  bool paced_ = false;  // there are deadlines at all
  std::int64_t start_ = 0;
  std::int64_t end_ = 0;  // --duration
  std::int64_t nextService_ = 0;
  std::int64_t nextStatus_ = 0;
  std::int64_t passStart_ = 0;  // nanoseconds of scenario time before this pass
  std::int64_t lastAt_ = 0;
  std::int64_t previousDeadline_ = 0;
  std::int64_t lateness_ = 0;
  bool stopped_ = false;
};

}  // namespace Play
