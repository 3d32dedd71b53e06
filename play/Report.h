// What a run tells: the status line on a terminal while it runs, and the summary at the
// end, as text or as one JSON object.
#pragma once

#include <cstdint>
#include <string>

#include "play/Tally.h"

namespace Play {

struct Summary {
  std::string input;   // "scenario.csv", "standard input", "the random stream"
  std::string method;  // "generic TCP, port 14000"
  Tally tally;
  bool paced = false;         // events had times to keep, so lateness means something
  double rate = -1;           // the rate asked for; below 0 none
  std::int64_t duration = 0;  // nanoseconds from the first event's chance to the end
  std::string stopKey;        // "" the input was played; "signal", "duration", "count", "fault"
  std::string stopText;       // what stopped it, for people
  int exitCode = 0;
};

std::string SummaryText(const Summary& summary);
std::string SummaryJson(const Summary& summary);

// The line refreshed in place on standard error once a second.
class StatusLine {
 public:
  explicit StatusLine(bool shown) : shown_(shown) {}
  // The run started; the first line tells the rate since then.
  void Begin(std::int64_t start) { lastTime_ = start; }
  void Show(std::int64_t now, const Tally& tally, std::int64_t lateness, bool paced);
  // Takes the line away before the summary.
  void Clear();

 private:
  bool shown_;
  bool drawn_ = false;
  std::int64_t lastTime_ = 0;
  std::int64_t lastSent_ = 0;
};

}  // namespace Play
