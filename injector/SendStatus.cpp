#include "injector/SendStatus.h"

#include <algorithm>
#include <limits>

namespace {

using FXL_Procs::Undelivered;

constexpr int kTcp = 0;

QString MethodName(int method) {
  switch (method) {
    case kTcp:
      return QStringLiteral("generic TCP");
    case 1:
      return QStringLiteral("DLL calls");
    case 2:
      return QStringLiteral("generic file");
    default:
      return QStringLiteral("no connection method");
  }
}

QString Bytes(qint64 bytes) {
  constexpr qint64 kKilobyte = 1024;
  constexpr qint64 kMegabyte = kKilobyte * kKilobyte;
  if (bytes >= kMegabyte) return QStringLiteral("%1 MB").arg(double(bytes) / kMegabyte, 0, 'f', 1);
  if (bytes >= kKilobyte) return QStringLiteral("%1 KB").arg((bytes + kKilobyte - 1) / kKilobyte);
  return bytes == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(bytes);
}

// Times of day; a run that began on an earlier day shows its date too.
QString RunTimes(const QDateTime& started, const QDateTime& stopped) {
  const QString time = QStringLiteral("HH:mm:ss");
  const QString start = started.toString(
      started.date() == stopped.date() ? time : QStringLiteral("yyyy-MM-dd ") + time);
  return QStringLiteral("%1 to %2").arg(start, stopped.toString(time));
}

QString Why(Undelivered reason) {
  switch (reason) {
    case Undelivered::kNoServer:
      return QStringLiteral("no server connected");
    case Undelivered::kFileError:
      return QStringLiteral("the file could not be written");
    case Undelivered::kLibraryMissing:
      return QStringLiteral("the exchange library could not be loaded");
    case Undelivered::kServerStalled:
      return QStringLiteral("the alarm server took no data");
    case Undelivered::kCancelled:
      return QStringLiteral("cancelled");
    case Undelivered::kDisconnected:
      return QStringLiteral("the alarm server disconnected");
    case Undelivered::kTakenOver:
      return QStringLiteral("another alarm server took over the connection");
    case Undelivered::kConnectionError:
      return QStringLiteral("the connection failed");
    case Undelivered::kCountTooLarge:
    case Undelivered::kNone:
      break;
  }
  return {};
}

}  // namespace

QString EventCount(std::int64_t count) {
  return count == 1 ? QStringLiteral("1 event") : QStringLiteral("%1 events").arg(count);
}

QString NotDeliveredReason(Undelivered reason, const QString& detail) {
  const QString why = Why(reason);
  return detail.isEmpty() ? why : QStringLiteral("%1 (%2)").arg(why, detail);
}

QString WaitingForServerText(qint64 bytes, std::chrono::milliseconds left) {
  const qint64 seconds = std::max<qint64>((left.count() + 999) / 1000, 1);
  return QStringLiteral("Waiting for the alarm server to take %1 (up to %2 s)%3")
      .arg(Bytes(bytes))
      .arg(seconds)
      .arg(QChar(0x2026));
}

void SendStatus::Tally::Add(const FXL_Procs::BurstReport& report, EventRange queued,
                            qint64 acknowledged) {
  notDelivered += report.NotDelivered();
  if (reason == Undelivered::kNone && report.NotDelivered() > 0) {
    reason = report.reason;
    detail = report.detail;
  }
  if (queued.Size() == 0) {
    sent += report.sent;
    return;
  }
  byTcp = true;
  const qint64 done = std::clamp(acknowledged - queued.first, qint64{0}, queued.Size());
  sent += report.sent - queued.Size() + done;
  queued.first += done;
  if (queued.Size() == 0) return;
  if (!waiting.empty() && waiting.back().end == queued.first) {
    waiting.back().end = queued.end;
  } else {
    waiting.push_back(queued);
  }
}

bool SendStatus::Tally::Acknowledge(qint64 upTo) {
  const std::int64_t before = sent;
  while (!waiting.empty() && waiting.front().first < upTo) {
    EventRange& front = waiting.front();
    const qint64 end = std::min(upTo, front.end);
    sent += end - front.first;
    front.first = end;
    if (front.Size() > 0) break;
    waiting.erase(waiting.begin());
  }
  return sent != before;
}

std::int64_t SendStatus::Tally::Drop(EventRange events, Undelivered why) {
  std::int64_t dropped = 0;
  for (EventRange& range : waiting) {
    const qint64 first = std::max(range.first, events.first);
    const qint64 end = std::min(range.end, events.end);
    if (first >= end) continue;
    dropped += end - first;
    // A dropped run of events never splits a tally's range: it is everything from one
    // event on, so it cuts the range short.
    range.end = first;
  }
  std::erase_if(waiting, [](const EventRange& r) { return r.Size() <= 0; });
  notDelivered += dropped;
  if (dropped > 0 && reason == Undelivered::kNone) reason = why;
  return dropped;
}

std::int64_t SendStatus::Tally::Waiting() const {
  std::int64_t count = 0;
  for (const EventRange& range : waiting)
    count += range.Size();
  return count;
}

QString SendStatus::Tally::Text() const {
  if (!byTcp) return QStringLiteral("%1 sent, %2 not delivered").arg(sent).arg(notDelivered);
  QString text = QStringLiteral("%1 delivered").arg(sent);
  if (const std::int64_t w = Waiting(); w > 0) {
    text += QStringLiteral(", %1 waiting for the server").arg(w);
  }
  return text + QStringLiteral(", %1 not delivered").arg(notDelivered);
}

SendStatus::Run* SendStatus::RunOf(BurstOrigin origin) {
  switch (origin) {
    case BurstOrigin::kStream:
      return &stream_;
    case BurstOrigin::kPeriodic:
      return &periodic_;
    case BurstOrigin::kButton:
    case BurstOrigin::kCommandLine:
      break;
  }
  return nullptr;
}

void SendStatus::Touch() {
  stale_ = true;
  emit Changed();
}

void SendStatus::SetAutomatic(BurstOrigin origin, bool on, const QDateTime& now) {
  Run* run = RunOf(origin);
  if (run == nullptr || run->on == on) return;
  if (on) {
    *run = Run{true, true, now, {}, {}};
  } else {
    run->on = false;
    run->stopped = now;
  }
  Touch();
}

void SendStatus::Record(BurstOrigin origin, int method, const FXL_Procs::BurstReport& report,
                        EventRange queued) {
  last_ = {true, method, report.reason == Undelivered::kCountTooLarge, {}};
  last_.tally.Add(report, queued, acknowledged_);
  earlier_ = {};
  if (Run* run = RunOf(origin); run != nullptr && run->on) {
    run->tally.Add(report, queued, acknowledged_);
  }
  Touch();
}

void SendStatus::Acknowledged(qint64 upTo) {
  acknowledged_ = std::max(acknowledged_, upTo);
  bool changed = false;
  for (Tally* tally : {&last_.tally, &stream_.tally, &periodic_.tally})
    changed = tally->Acknowledge(upTo) || changed;
  if (changed) Touch();
}

void SendStatus::Dropped(EventRange events, Undelivered reason) {
  if (events.Size() <= 0) return;
  const std::int64_t lastBurst = last_.tally.Drop(events, reason);
  stream_.tally.Drop(events, reason);
  periodic_.tally.Drop(events, reason);
  if (events.Size() > lastBurst) earlier_ = {earlier_.count + events.Size() - lastBurst, reason};
  Touch();
}

QString SendStatus::LastBurstText() const {
  if (last_.countTooLarge) {
    return QStringLiteral("No events sent: the number of events to send is more than %1")
        .arg(std::numeric_limits<std::int32_t>::max());
  }
  const Tally& tally = last_.tally;
  QString text =
      QStringLiteral("%1 %2 by %3")
          .arg(EventCount(tally.sent),
               last_.method == kTcp ? QStringLiteral("delivered") : QStringLiteral("sent"),
               MethodName(last_.method));
  const std::int64_t waiting = tally.Waiting();
  if (waiting > 0) text += QStringLiteral(", %1 waiting for the server").arg(waiting);
  if (waiting > 0 && tally.notDelivered == 0) return text;
  text += QStringLiteral(", %1 not delivered").arg(tally.notDelivered);
  if (tally.notDelivered > 0 && tally.reason != Undelivered::kNone) {
    text += QStringLiteral(": ") + NotDeliveredReason(tally.reason, tally.detail);
  }
  return text;
}

QString SendStatus::RunText(const char* what, const Run& run) {
  if (run.on) return QStringLiteral("%1: %2").arg(QLatin1String(what), run.tally.Text());
  return QStringLiteral("%1 %2: %3")
      .arg(QLatin1String(what), RunTimes(run.started, run.stopped), run.tally.Text());
}

const QString& SendStatus::Text() const {
  if (!stale_) return text_;
  QStringList parts;
  if (last_.any) parts << LastBurstText();
  if (earlier_.count > 0) {
    parts << QStringLiteral("%1 not delivered: %2")
                 .arg(earlier_.count == 1 ? QStringLiteral("1 earlier event")
                                          : QStringLiteral("%1 earlier events").arg(earlier_.count),
                      NotDeliveredReason(earlier_.reason));
  }
  if (stream_.ran) parts << RunText("stream", stream_);
  if (periodic_.ran) parts << RunText("periodic", periodic_);
  text_ = parts.join(QStringLiteral("; "));
  stale_ = false;
  return text_;
}
