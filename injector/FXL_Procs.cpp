#include "injector/FXL_Procs.h"

#include <fcntl.h>
#include <unistd.h>

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

constexpr int kCommandQueue = 0;

std::string ToBytes(const QString& text) {
  return hcp::ToWindows1252(Utf16View(text));
}

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

QString ComposeEventLine(std::int16_t eventType, const QString& date, const QString& time,
                         const QString& tag, const QString& area, const QString& category,
                         const QString& name, const QString& description, const QString& status) {
  const QChar bar = u'|';
  if (eventType == kMessage) {
    return QString::number(eventType) + bar + date + bar + time + bar + bar + bar + bar + name +
           bar + description + bar;
  }
  return QString::number(eventType) + bar + date + bar + time + bar + tag + bar + area + bar +
         category + bar + name + bar + description + bar + status;
}

QString AlarmCommand(const QString& eventLine, std::int16_t systemNumber) {
  return QStringLiteral("TA:") + eventLine + u'|' + QString::number(systemNumber);
}

QString MessageCommand(const QString& receiverName, const QString& messageText) {
  // 0xFE is "þ" in Windows-1252: the byte that separates name and text.
  return QStringLiteral("FT:") + receiverName + QChar(0xFE) + messageText;
}

QString RandomTagSuffix(double r) {
  const int value = static_cast<int>(hcp::RoundHalfEven(r * 256));
  const QString hex = QStringLiteral("00") + QString::number(value, 16).toUpper();
  return u'_' + hex.right(2);
}

bool AppendToFile(const std::string& path, const std::string& bytes) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool written = true;
  for (std::size_t done = 0; done < bytes.size() && written;) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<std::size_t>(n);
    } else if (n < 0 && errno != EINTR) {
      written = false;
    }
  }
  const int writeError = errno;
  const bool closed = ::close(fd) == 0;
  if (!written) errno = writeError;
  return closed && written;
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
  const std::string genericFile = hcp::Utf16ToUtf8(hcp::ProgramFolder() + u"GenericFile.txt");
  std::string bytes;

  for (std::int32_t i = 0; i < report.requested; ++i) {
    if (i % kContinueEvery == 0 && i > 0 && !form.Continue(i, report.requested)) {
      report.reason = Undelivered::kCancelled;
      return report;
    }
    QString tag = form.Text_Field[0].Text();
    if (AppendRandomNumbers) tag += RandomTagSuffix(hcp::Rnd());
    const QString eventLine = ComposeEventLine(
        EventType, form.Text_Date.Text(), form.Text_Time.Text(), tag, form.Text_Field[1].Text(),
        form.Text_Field[2].Text(), form.Text_Field[3].Text(), form.Text_Field[4].Text(),
        form.Text_Field[5].Text());

    if (form.Option_ConnectionType.Value(0)) {
      if (form.Winsock_Data.State() == DataSocket::kConnected) {
        bytes.clear();
        hcp::AppendWindows1252(Utf16View(eventLine), bytes);
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
      QString command;
      if (EventType == kMessage) {
        command = MessageCommand(form.Text_Field[3].Text(), form.Text_Field[4].Text());
      } else {
        const int selected = form.Combo_Systems.ListIndex();
        if (selected >= 0) {
          SystemNumber = static_cast<std::int16_t>(form.Combo_Systems.At(selected).itemData);
        }
        command = AlarmCommand(eventLine, SystemNumber);
      }
      QString error;
      if (!form.library.SetCommandEntry(ToBytes(command), kCommandQueue, &error)) {
        report.reason = Undelivered::kLibraryMissing;
        report.stopMessage = error + u' ' + NotSent(i, report.requested);
        return report;
      }
      ++report.sent;
    }
    if (form.Option_ConnectionType.Value(2)) {
      bytes.clear();
      hcp::AppendWindows1252(Utf16View(eventLine), bytes);
      bytes += "\r\n";
      if (AppendToFile(genericFile, bytes)) {
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
