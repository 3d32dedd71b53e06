#include "injector/FXL_Procs.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

#include "common/Halvane_Common_Procedures.h"
#include "injector/CommandQueueLibrary.h"
#include "injector/Utf16View.h"

namespace hcp = Halvane_Common_Procedures;

namespace FXL_Procs {
namespace {

using FauxlarmEvents::kCommandQueue;

// The texts of one event as they leave the program, in Windows-1252; the buffers are
// kept from event to event.
struct EventBytes {
  std::string date, time, tag, area, category, name, description, status;

  void Read(const EventForm& form, const QString& tagText) {
    Convert(form.Text_Date.Text(), date);
    Convert(form.Text_Time.Text(), time);
    Convert(tagText, tag);
    Convert(form.Text_Field[1].Text(), area);
    Convert(form.Text_Field[2].Text(), category);
    Convert(form.Text_Field[3].Text(), name);
    Convert(form.Text_Field[4].Text(), description);
    Convert(form.Text_Field[5].Text(), status);
  }
  FauxlarmEvents::EventFields Fields() const {
    return {date, time, tag, area, category, name, description, status};
  }

 private:
  static void Convert(const QString& text, std::string& bytes) {
    bytes.clear();
    hcp::AppendWindows1252(Utf16View(text), bytes);
  }
};

// Every so many events a burst asks whether to go on: often enough for a prompt cancel,
// seldom enough to cost nothing.
constexpr std::int32_t kContinueEvery = 64;
// How long one wait for a slow server lasts before the burst asks whether to go on.
constexpr int kWaitSliceMs = 50;
// A server that has taken nothing for this share of the patience is shown as awaited.
constexpr int kShowWaitingAfterShare = 20;

// The count of events in a burst, into the report. False, with the report stopped, when
// the text asks for more than a 32-bit count holds.
bool ReadCount(const EventForm& form, BurstReport& report) {
  const double rounded =
      hcp::RoundHalfEven(hcp::LeadingNumber(Utf16View(form.Text_NumberOfEvents.Text())));
  if (rounded > std::numeric_limits<std::int32_t>::max()) {
    report.reason = Undelivered::kCountTooLarge;
    report.stopMessage = QStringLiteral(
                             "The number of events to send, \"%1\", is more than %2. No events "
                             "were sent.")
                             .arg(form.Text_NumberOfEvents.Text())
                             .arg(std::numeric_limits<std::int32_t>::max());
    return false;
  }
  if (rounded < 1) {
    form.Text_NumberOfEvents.SetText(QStringLiteral("1"));
    report.requested = 1;
  } else {
    report.requested = static_cast<std::int32_t>(rounded);
  }
  return true;
}

void Note(BurstReport& report, Undelivered reason) {
  if (report.reason == Undelivered::kNone) report.reason = reason;
}

QString NotSent(std::int32_t done, std::int32_t requested) {
  return QStringLiteral("%1 of %2 events were not sent.").arg(requested - done).arg(requested);
}

// Lets the server take the connection's queue down to DataSocket::kQueueResume bytes.
// False, with the report saying why, when the burst must stop: the user cancelled, or the
// server took nothing for the patience.
bool WaitForServer(const EventForm& form, std::int32_t done, BurstReport& report) {
  DataSocket& socket = form.Winsock_Data;
  socket.Flush();  // what the system takes at once costs no wait
  QElapsedTimer sinceTaken;
  sinceTaken.start();
  qint64 queued = socket.BytesQueued();
  while (queued > DataSocket::kQueueResume && socket.State() == DataSocket::kConnected) {
    socket.WaitForBytesWritten(kWaitSliceMs);
    const qint64 now = socket.BytesQueued();
    if (now < queued) sinceTaken.restart();
    queued = now;
    const std::chrono::milliseconds stalled(sinceTaken.elapsed());
    const std::chrono::milliseconds left =
        std::max(form.serverPatience - stalled, std::chrono::milliseconds(0));
    const bool goOn = stalled < form.serverPatience / kShowWaitingAfterShare
                          ? form.Continue(done, report.requested)
                          : form.WaitingForServer(socket.BytesWaiting(), left);
    if (!goOn) {
      report.reason = Undelivered::kCancelled;
      return false;
    }
    if (stalled >= form.serverPatience) {
      report.reason = Undelivered::kServerStalled;
      report.stopMessage =
          QStringLiteral(
              "The alarm server has taken no data for %1 seconds, so the burst was "
              "stopped. %2")
              .arg(form.serverPatience.count() / 1000.0)
              .arg(NotSent(done, report.requested));
      return false;
    }
  }
  return true;
}

}  // namespace

QString RandomTagSuffix(double r) {
  return QString::fromLatin1(FauxlarmEvents::RandomTagSuffix(r));
}

BurstReport SendEvents(const EventForm& form, std::int16_t EventType, bool AppendRandomNumbers) {
  // What the connection gathered goes to its socket however the burst ends.
  struct PushAtEnd {
    DataSocket& socket;
    ~PushAtEnd() { socket.Push(); }
  } pushAtEnd{form.Winsock_Data};
  BurstReport report;
  std::int16_t SystemNumber = Halvane_Common_Constants::kGenericTcpClientSystem;
  if (!ReadCount(form, report)) return report;
  const std::string genericFile =
      hcp::Utf16ToUtf8(hcp::ProgramFolder()) + FauxlarmEvents::kGenericFileName;
  EventBytes fields;
  std::string eventLine;
  std::string bytes;

  for (std::int32_t i = 0; i < report.requested; ++i) {
    if (i % kContinueEvery == 0 && i > 0 && !form.Continue(i, report.requested)) {
      report.reason = Undelivered::kCancelled;
      return report;
    }
    QString tag = form.Text_Field[0].Text();
    if (AppendRandomNumbers) tag += RandomTagSuffix(hcp::Rnd());
    fields.Read(form, tag);
    eventLine.clear();
    FauxlarmEvents::AppendEventLine(EventType, fields.Fields(), eventLine);

    if (form.Option_ConnectionType.Value(0)) {
      if (form.Winsock_Data.State() == DataSocket::kConnected) {
        bytes = eventLine;
        bytes += '\n';
        form.Winsock_Data.SendData(bytes);
        ++report.sent;
        if (form.Winsock_Data.BytesQueued() > DataSocket::kQueueLimit &&
            !WaitForServer(form, i + 1, report)) {
          return report;
        }
      } else {
        Note(report, Undelivered::kNoServer);
      }
    }
    if (form.Option_ConnectionType.Value(1)) {
      bytes.clear();
      if (EventType == kMessage) {
        FauxlarmEvents::AppendMessageCommand(fields.name, fields.description, bytes);
      } else {
        const int selected = form.Combo_Systems.ListIndex();
        if (selected >= 0) {
          SystemNumber = static_cast<std::int16_t>(form.Combo_Systems.At(selected).itemData);
        }
        FauxlarmEvents::AppendAlarmCommand(eventLine, SystemNumber, bytes);
      }
      QString error;
      if (!form.library.SetCommandEntry(bytes, kCommandQueue, &error)) {
        report.reason = Undelivered::kLibraryMissing;
        report.stopMessage = error + u' ' + NotSent(i, report.requested);
        return report;
      }
      ++report.sent;
    }
    if (form.Option_ConnectionType.Value(2)) {
      bytes = eventLine;
      bytes += "\r\n";
      if (FauxlarmEvents::AppendToFile(genericFile, bytes)) {
        ++report.sent;
      } else {
        if (report.reason == Undelivered::kNone)
          report.detail = QString::fromLocal8Bit(std::strerror(errno));
        Note(report, Undelivered::kFileError);
      }
    }
  }
  return report;
}

QString Item(const QString& InString, std::int16_t ItemNo, QString& Delimiter) {
  if (Delimiter.isEmpty()) {
    if (InString.contains(u'\t')) {
      Delimiter = QStringLiteral("\t");
    } else if (InString.contains(u';')) {
      Delimiter = QStringLiteral(";");
    }
  }
  // An empty delimiter is found at every position, so every field is empty.
  if (Delimiter.isEmpty()) return {};

  qsizetype start = 0;
  qsizetype p = InString.indexOf(Delimiter);
  int remaining = ItemNo;
  while (remaining > 0 && p >= 0) {
    start = p + Delimiter.size();
    p = InString.indexOf(Delimiter, start);
    --remaining;
  }
  if (remaining != 0) return {};
  if (p < 0) p = InString.size();
  return InString.mid(start, p - start);
}

}  // namespace FXL_Procs
