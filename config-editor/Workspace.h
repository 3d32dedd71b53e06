// What an alarm server would load from one program folder, as the window edits it: the
// profiles, the receivers and the calendar of day types.
#pragma once

#include <QString>

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

  // Unsaved changes: the file holds other values (CompareToDisk), or, when there is no
  // file, a date has been given a day type.
  bool IsModified() const;
  // Writes the file; false with the reason in error.
  bool Save(QString* error);
  // Reads the file again.
  void Discard() { Open(path_); }

 private:
  QString path_;
  Halvane_Config::cCalendar calendar_;
  QString problem_;
};

class Workspace {
 public:
  // Makes folder the program folder and loads what lies in it. An empty calendar path
  // means "Calendar.dat" in the folder.
  void Open(const QString& folder, const QString& calendarPath = {});

  // The program folder, ending with "/".
  QString Folder() const;
  ProfileFiles& Profiles() { return profiles_; }
  ReceiverFiles& Receivers() { return receivers_; }
  CalendarDocument& Calendar() { return calendar_; }

  bool AnyModified() const;

 private:
  ProfileFiles profiles_;
  ReceiverFiles receivers_;
  CalendarDocument calendar_;
};

}  // namespace ConfigEditor
