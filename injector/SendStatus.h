// The window's status line: what the last burst did ("12 events sent by generic file, 0
// not delivered"), and what each run of periodic or stream sending has sent, while it runs
// and after it ended until the next one starts. Events sent by TCP count as delivered once
// the server has acknowledged them; until then they are waiting for the server, and the
// line follows as the server takes them. The text is made when it is read, so that bursts
// nobody watches (a one-shot run, a stream into a hidden window) pay only for counting.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>
#include <chrono>
#include <cstdint>
#include <vector>

#include "injector/FXL_Procs.h"
#include "injector/TcpLink.h"

// What started a burst.
enum class BurstOrigin { kButton, kStream, kPeriodic, kCommandLine };

// "1 event", "3 events".
QString EventCount(std::int64_t count);
// Why events were not delivered, as the status line and messages say it.
QString NotDeliveredReason(FXL_Procs::Undelivered reason, const QString& detail = {});
// "Waiting for the alarm server to take 3.9 MB (up to 10 s)…"
QString WaitingForServerText(qint64 bytes, std::chrono::milliseconds left);

class SendStatus : public QObject {
  Q_OBJECT
 public:
  // The box of stream or periodic sending was ticked or unticked at `now`; ticking starts
  // a new run, whose totals replace those of the last one.
  void SetAutomatic(BurstOrigin origin, bool on, const QDateTime& now);
  // A burst by the connection method of that index (0..2) ended; `queued` are its events
  // on the TCP connection, whose delivery Acknowledged and Dropped tell later.
  void Record(BurstOrigin origin, int method, const FXL_Procs::BurstReport& report,
              EventRange queued = {});
  // The server has acknowledged the events numbered below upTo.
  void Acknowledged(qint64 upTo);
  // The connection dropped these events, for that reason.
  void Dropped(EventRange events, FXL_Procs::Undelivered reason);

  const QString& Text() const;

 signals:
  void Changed();

 private:
  // The events of one burst or one run, as far as their delivery is known.
  struct Tally {
    std::int64_t sent = 0;
    std::int64_t notDelivered = 0;
    FXL_Procs::Undelivered reason = FXL_Procs::Undelivered::kNone;
    QString detail;
    bool byTcp = false;
    // On the connection and not acknowledged yet, in their order.
    std::vector<EventRange> waiting;

    void Add(const FXL_Procs::BurstReport& report, EventRange queued, qint64 acknowledged);
    bool Acknowledge(qint64 upTo);
    // How many of the events were this tally's.
    std::int64_t Drop(EventRange events, FXL_Procs::Undelivered why);
    std::int64_t Waiting() const;
    QString Text() const;
  };
  struct LastBurst {
    bool any = false;
    int method = -1;
    bool countTooLarge = false;
    Tally tally;
  };
  struct Run {
    bool on = false;
    bool ran = false;
    QDateTime started;
    QDateTime stopped;
    Tally tally;
  };
  // Events dropped with the connection that were not the last burst's.
  struct EarlierDropped {
    std::int64_t count = 0;
    FXL_Procs::Undelivered reason = FXL_Procs::Undelivered::kNone;
  };
  Run* RunOf(BurstOrigin origin);
  QString LastBurstText() const;
  static QString RunText(const char* what, const Run& run);
  void Touch();

  LastBurst last_;
  Run stream_;
  Run periodic_;
  EarlierDropped earlier_;
  qint64 acknowledged_ = 0;
  mutable QString text_;
  mutable bool stale_ = false;
};
