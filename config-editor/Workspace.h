// What an alarm server would load from one program folder, as the window edits it: the
// profiles, the receivers and the calendar of day types.
#pragma once

#include <QString>

#include "config-editor/FileSnapshot.h"
#include "config-editor/FolderLock.h"
#include "config-editor/ObjectFiles.h"
#include "config/cCalendar.h"

namespace ConfigEditor {

// The calendar file and the calendar shown for it.
class CalendarDocument {
 public:
  // Reads the file. A missing file gives an empty calendar, which the first save writes.
  // A file that cannot be read gives an empty calendar too, which is not saved over it.
  void Open(const QString& path);
  const QString& Path() const { return path_; }
  Halvane_Config::cCalendar& Calendar() { return calendar_; }
  const Halvane_Config::cCalendar& Calendar() const { return calendar_; }
  // Why the file could not be read; empty when it was read or does not exist.
  const QString& Problem() const { return problem_; }
  bool Readable() const { return problem_.isEmpty(); }
  // The file against what was read or written last, as the last save or check found it.
  DiskState Disk() const { return disk_; }

  // Unsaved changes: the dates differ from those read or written last.
  bool IsModified() const;
  // Writes the file, unless, when asked to compare, it changed on disk since it was read
  // or written (Conflict); Failed with the reason in error (and its error number).
  SaveResult Save(QString* error, SaveCheck check = SaveCheck::CompareWithDisk,
                  int* errorNumber = nullptr);
  // Reads the file again.
  void Discard() { Open(path_); }
  // The file changed on disk: read again when nothing is unsaved, else marked (Disk).
  DiskCheck CheckDisk();

 private:
  QString path_;
  Halvane_Config::cCalendar calendar_;
  Halvane_Config::cCalendar saved_;  // the dates as read or written last
  QString problem_;
  FileSnapshot snapshot_;
  DiskState disk_ = DiskState::AsRead;
};

class Workspace {
 public:
  // Makes folder the program folder and loads what lies in it. An empty calendar path
  // means "Calendar.dat" in the folder.
  void Open(const QString& folder, const QString& calendarPath = {});
  // The places a save of the folder writes to (the folder, Profiles/, Receivers/, the
  // calendar's folder) where no file can be made, each with the reason; empty when all
  // can be written. Tried with a file made and removed again, which also finds a file
  // system mounted read-only.
  static QStringList Unwritable(const QString& folder, const QString& calendarPath = {});

  // The program folder, ending with "/".
  QString Folder() const;
  ProfileFiles& Profiles() { return profiles_; }
  ReceiverFiles& Receivers() { return receivers_; }
  CalendarDocument& Calendar() { return calendar_; }
  // The folder's lock, which the window takes before it opens the folder for editing.
  FolderLock& Lock() { return lock_; }
  // Opened only to look at: nothing is edited or saved.
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }

  bool AnyModified() const;
  // What changed on disk, for all three (ObjectList::CheckDisk, CalendarDocument).
  DiskCheck CheckDisk();

 private:
  ProfileFiles profiles_;
  ReceiverFiles receivers_;
  CalendarDocument calendar_;
  FolderLock lock_;
  bool readOnly_ = false;
};

}  // namespace ConfigEditor
