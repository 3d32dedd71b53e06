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

void SendStatus::SetAutomatic(BurstOrigin origin, bool on) {
  Totals* totals = TotalsOf(origin);
  if (totals == nullptr) return;
  if (on && !totals->on) *totals = Totals{};
  totals->on = on;
}

void SendStatus::Record(BurstOrigin origin, int method, const FXL_Procs::BurstReport& report) {
  if (report.reason == Undelivered::kCountTooLarge) {
    lastBurst_ = QStringLiteral("No events sent: the number of events to send is more than %1")
                     .arg(std::numeric_limits<std::int32_t>::max());
  } else {
    lastBurst_ = QStringLiteral("%1 sent by %2, %3 not delivered")
                     .arg(Events(report.sent), MethodName(method))
                     .arg(report.NotDelivered());
    if (report.NotDelivered() > 0 && report.reason != Undelivered::kNone) {
      lastBurst_ += QStringLiteral(": ") + Why(report.reason);
    }
  }
  if (Totals* totals = TotalsOf(origin); totals != nullptr && totals->on) {
    totals->sent += report.sent;
    totals->notDelivered += report.NotDelivered();
  }
}

QString SendStatus::Text() const {
  QStringList parts;
  if (!lastBurst_.isEmpty()) parts << lastBurst_;
  if (stream_.on) parts << TotalsText("stream", stream_.sent, stream_.notDelivered);
  if (periodic_.on) parts << TotalsText("periodic", periodic_.sent, periodic_.notDelivered);
  return parts.join(QStringLiteral("; "));
}
