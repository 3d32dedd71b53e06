// The window's status line: what the last burst did ("12 events sent by generic file, 0
// not delivered"), and while periodic or stream sending is on, what it has sent since the
// user started it.
#pragma once

#include <QString>
#include <cstdint>

#include "injector/FXL_Procs.h"

// What started a burst.
enum class BurstOrigin { kButton, kStream, kPeriodic, kCommandLine };

class SendStatus {
 public:
  // The box of stream or periodic sending was ticked or unticked; ticking starts its
  // totals afresh.
  void SetAutomatic(BurstOrigin origin, bool on);
  // A burst by the connection method of that index (0..2) ended.
  void Record(BurstOrigin origin, int method, const FXL_Procs::BurstReport& report);

  QString Text() const;

 private:
  struct Totals {
    bool on = false;
    std::int64_t sent = 0;
    std::int64_t notDelivered = 0;
  };
  Totals* TotalsOf(BurstOrigin origin);

  QString lastBurst_;
  Totals stream_;
  Totals periodic_;
};
