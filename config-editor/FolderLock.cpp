#include "config-editor/FolderLock.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <cerrno>
#include <cstring>

namespace ConfigEditor {

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("ConfigEditor", text);
}

QString UserName() {
  if (const passwd* user = ::getpwuid(::geteuid())) return QString::fromLocal8Bit(user->pw_name);
  return qEnvironmentVariable("USER");
}

QByteArray ReadAll(int descriptor) {
  QByteArray text;
  char buffer[1024];
  for (off_t at = 0;;) {
    const ssize_t got = ::pread(descriptor, buffer, sizeof buffer, at);
    if (got <= 0 || text.size() > 65536) return text;
    text.append(buffer, got);
    at += got;
  }
}

// "key=value" lines; unknown keys are left alone, for the windows of later versions.
FolderLock::Holder Parse(const QByteArray& text) {
  FolderLock::Holder holder;
  for (const QByteArray& line : text.split('\n')) {
    const qsizetype equals = line.indexOf('=');
    if (equals < 0) continue;
    const QByteArray key = line.left(equals).trimmed();
    const QString value = QString::fromUtf8(line.mid(equals + 1).trimmed());
    if (key == "user") holder.user = value;
    if (key == "host") holder.host = value;
    if (key == "process") holder.process = value.toLongLong();
    if (key == "since") holder.since = QDateTime::fromString(value, Qt::ISODate);
  }
  return holder;
}

QByteArray Compose(const FolderLock::Holder& holder) {
  return QStringLiteral("user=%1\nhost=%2\nprocess=%3\nsince=%4\n")
      .arg(holder.user, holder.host)
      .arg(holder.process)
      .arg(holder.since.toString(Qt::ISODate))
      .toUtf8();
}

bool SameFile(int descriptor, const QByteArray& path) {
  struct stat open {};
  struct stat named {};
  return ::fstat(descriptor, &open) == 0 && ::stat(path.constData(), &named) == 0 &&
         open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

}  // namespace

const QString FolderLock::kFileName = QStringLiteral(".halvane-config.lock");

QString FolderLock::Holder::Describe() const {
  if (user.isEmpty() && host.isEmpty() && process == 0) return Tr("another halvane-config window");
  return Tr("%1 on %2 (process %3, since %4)")
      .arg(user, host)
      .arg(process)
      .arg(since.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
}

FolderLock::Outcome FolderLock::Take(const QString& folder) {
  Release();
  previous_ = {};
  problem_.clear();
  const QByteArray path = QFile::encodeName(folder + kFileName);
  // A window that lets go removes the file: the one locked must still be the one named.
  for (int attempt = 0; attempt < 5; ++attempt) {
    const int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (descriptor < 0) {
      problem_ = QString::fromLocal8Bit(std::strerror(errno));
      return Outcome::NotPossible;
    }
    if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
      const int error = errno;
      if (error == EWOULDBLOCK) previous_ = Parse(ReadAll(descriptor));
      ::close(descriptor);
      if (error == EWOULDBLOCK) return Outcome::HeldByOther;
      problem_ = QString::fromLocal8Bit(std::strerror(error));
      return Outcome::NotPossible;
    }
    if (!SameFile(descriptor, path)) {
      ::close(descriptor);
      continue;
    }
    const QByteArray left = ReadAll(descriptor);
    const QByteArray mine =
        Compose({UserName(), QSysInfo::machineHostName(), QCoreApplication::applicationPid(),
                 QDateTime::currentDateTime()});
    if (::ftruncate(descriptor, 0) != 0 ||
        ::pwrite(descriptor, mine.constData(), static_cast<std::size_t>(mine.size()), 0) !=
            mine.size()) {
      problem_ = QString::fromLocal8Bit(std::strerror(errno));
      ::close(descriptor);
      return Outcome::NotPossible;
    }
    descriptor_ = descriptor;
    path_ = folder + kFileName;
    if (left.trimmed().isEmpty()) return Outcome::Taken;
    previous_ = Parse(left);
    return Outcome::TakenOver;
  }
  problem_ = Tr("the lock file kept being replaced");
  return Outcome::NotPossible;
}

void FolderLock::Release() {
  if (descriptor_ < 0) return;
  // Removed while still held, so that no other window locks a file about to go.
  ::unlink(QFile::encodeName(path_).constData());
  ::close(descriptor_);
  descriptor_ = -1;
}

}  // namespace ConfigEditor
