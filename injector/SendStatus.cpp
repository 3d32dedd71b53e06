#include "injector/SendStatus.h"

#include <limits>

namespace {

using FXL_Procs::Undelivered;

QString MethodName(int method) {
  switch (method) {
    case 0:
      return QStringLiteral("generic TCP");
    case 1:
      return QStringLiteral("DLL calls");
    case 2:
      return QStringLiteral("generic file");
    default:
      return QStringLiteral("no connection method");
  }
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
    case Undelivered::kCountTooLarge:
    case Undelivered::kNone:
      break;
  }
  return {};
}

QString Events(std::int64_t count) {
  return count == 1 ? QStringLiteral("1 event") : QStringLiteral("%1 events").arg(count);
}

QString TotalsText(const char* what, std::int64_t sent, std::int64_t notDelivered) {
  return QStringLiteral("%1: %2 sent, %3 not delivered")
      .arg(QLatin1String(what))
      .arg(sent)
      .arg(notDelivered);
}

}  // namespace

SendStatus::Totals* SendStatus::TotalsOf(BurstOrigin origin) {
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

void SendStatus::SetAutomatic(BurstOrigin origin, bool on) {
  Totals* totals = TotalsOf(origin);
  if (totals == nullptr || totals->on == on) return;
  if (on) *totals = Totals{};
  totals->on = on;
  Touch();
}

void SendStatus::Record(BurstOrigin origin, int method, const FXL_Procs::BurstReport& report) {
  last_ = {true, method, report.sent, report.NotDelivered(), report.reason};
  if (Totals* totals = TotalsOf(origin); totals != nullptr && totals->on) {
    totals->sent += report.sent;
    totals->notDelivered += report.NotDelivered();
  }
  Touch();
}

QString SendStatus::LastBurstText() const {
  if (last_.reason == Undelivered::kCountTooLarge) {
    return QStringLiteral("No events sent: the number of events to send is more than %1")
        .arg(std::numeric_limits<std::int32_t>::max());
  }
  QString text = QStringLiteral("%1 sent by %2, %3 not delivered")
                     .arg(Events(last_.sent), MethodName(last_.method))
                     .arg(last_.notDelivered);
  if (last_.notDelivered > 0 && last_.reason != Undelivered::kNone) {
    text += QStringLiteral(": ") + Why(last_.reason);
  }
  return text;
}

const QString& SendStatus::Text() const {
  if (!stale_) return text_;
  QStringList parts;
  if (last_.any) parts << LastBurstText();
  if (stream_.on) parts << TotalsText("stream", stream_.sent, stream_.notDelivered);
  if (periodic_.on) parts << TotalsText("periodic", periodic_.sent, periodic_.notDelivered);
  text_ = parts.join(QStringLiteral("; "));
  stale_ = false;
  return text_;
}
