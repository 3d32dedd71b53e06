// What a file was when the window last read or wrote it, to tell whether another program
// (another window, an editor, a copy from a backup) has changed or removed it since.
//
// A file counts as unchanged while it is the same file on disk (device and inode) with the
// same size, modification time and change time. Where any of these differ, the bytes
// decide, when the snapshot has them (a file the window read): a file only touched, or
// written again with the same bytes, is still unchanged. A snapshot taken right after the
// window wrote the file has no bytes, so that a save costs no second reading; such a file
// counts as changed once its times or identity differ.
//
// Times of files written shortly before they were read are not trusted ("racy"): another
// write within the same tick of the file system's clock would leave them as they were.
// Such a file is compared by its bytes.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <cstdint>

namespace ConfigEditor {

// A file on disk against what the window read or wrote last.
enum class DiskState { AsRead, Changed, Removed };

class FileSnapshot {
 public:
  enum class Bytes { Keep, Skip };

  // A snapshot of no file at no path (an entry that has no file yet).
  FileSnapshot() = default;
  // The file as it is now; a missing file gives a snapshot of a missing file.
  static FileSnapshot Take(const QString& path, Bytes bytes) {
    return Take(QFile::encodeName(path), bytes);
  }
  // The same file as it is now, after the window wrote it.
  void TakeAgain(Bytes bytes) { *this = Take(path_, bytes); }

  bool Exists() const { return exists_; }
  // The file now against the snapshot. Removed: the snapshot had a file, there is none.
  // A file that is now there where the snapshot had none is Changed. When the bytes show
  // the file unchanged (AsRead), the snapshot takes its new times.
  DiskState Compare();

 private:
  struct Stamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modified = 0;  // nanoseconds since 1970
    std::int64_t changed = 0;
    friend bool operator==(const Stamp&, const Stamp&) = default;
  };
  enum class Found { Nothing, Stamp, StampAndBytes };
  static FileSnapshot Take(const QByteArray& path, Bytes bytes);
  // Reads the file's stamp, and when asked (hash given) its bytes' hash and whether its
  // times are racy; Stamp alone when the bytes were asked for but cannot be read.
  static Found Read(const QByteArray& path, Stamp* stamp, std::uint64_t* hash, bool* racy);

  QByteArray path_;  // as the file system takes it
  bool exists_ = false;
  Stamp stamp_;
  bool hasBytes_ = false;
  std::uint64_t hash_ = 0;
  bool racy_ = false;
};

}  // namespace ConfigEditor
