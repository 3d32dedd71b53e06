// The window's status line: what the last burst did ("12 events sent by generic file, 0
// not delivered"), and while periodic or stream sending is on, what it has sent since the
// user started it. The text is made when it is read, so that bursts nobody watches (a
// one-shot run, a stream into a hidden window) pay only for counting.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>

#include "injector/FXL_Procs.h"

// What started a burst.
enum class BurstOrigin { kButton, kStream, kPeriodic, kCommandLine };

class SendStatus : public QObject {
  Q_OBJECT
 public:
  // The box of stream or periodic sending was ticked or unticked; ticking starts its
  // totals afresh.
  void SetAutomatic(BurstOrigin origin, bool on);
  // A burst by the connection method of that index (0..2) ended.
  void Record(BurstOrigin origin, int method, const FXL_Procs::BurstReport& report);

  const QString& Text() const;

 signals:
  void Changed();

 private:
  struct LastBurst {
    bool any = false;
    int method = -1;
    std::int32_t sent = 0;
    std::int32_t notDelivered = 0;
    FXL_Procs::Undelivered reason = FXL_Procs::Undelivered::kNone;
  };
  struct Totals {
    bool on = false;
    std::int64_t sent = 0;
    std::int64_t notDelivered = 0;
  };
  Totals* TotalsOf(BurstOrigin origin);
  QString LastBurstText() const;
  void Touch();

  LastBurst last_;
  Totals stream_;
  Totals periodic_;
  mutable QString text_;
  mutable bool stale_ = false;
};
