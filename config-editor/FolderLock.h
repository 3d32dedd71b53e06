// The lock file of a program folder, ".halvane-config.lock": it names the window that has
// the folder open for editing (user, host, process number, since when), so that a second
// window on the same folder can say so at its start. Only halvane-config looks at it: the
// alarm server reads its files as ever, whether a window holds the lock or not.
//
// The window holds the file with flock() for as long as it has the folder open. A window
// that ended without removing the file (a crash, a kill) holds nothing any more: the next
// one takes the lock over and learns from the file whose it was.
#pragma once

#include <QDateTime>
#include <QString>

namespace ConfigEditor {

class FolderLock {
 public:
  struct Holder {
    QString user;
    QString host;
    qint64 process = 0;
    QDateTime since;
    // "alice on host1 (process 1234, since 2026-12-08 14:30:05)"
    QString Describe() const;
  };
  enum class Outcome {
    Taken,        // no window had the folder open
    TakenOver,    // the window that left the file is gone: Previous() names it
    HeldByOther,  // another window holds it: Previous() names it; nothing is held
    NotPossible,  // no lock file can be made there (a read-only folder): Problem() says why
  };

  static const QString kFileName;

  FolderLock() = default;
  ~FolderLock() { Release(); }
  FolderLock(const FolderLock&) = delete;
  FolderLock& operator=(const FolderLock&) = delete;

  // Takes the lock of a folder ("/" at its end), letting go of any held before.
  Outcome Take(const QString& folder);
  // Removes the file and lets go; nothing when nothing is held.
  void Release();

  bool Held() const { return descriptor_ >= 0; }
  const Holder& Previous() const { return previous_; }
  const QString& Problem() const { return problem_; }

 private:
  int descriptor_ = -1;
  QString path_;
  Holder previous_;
  QString problem_;
};

}  // namespace ConfigEditor
