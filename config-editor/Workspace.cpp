#include "config-editor/Workspace.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <exception>

#include "common/Halvane_Common_Procedures.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("ConfigEditor", text);
}

QString CalendarPathIn(const QString& folder, const QString& calendarPath) {
  return calendarPath.isEmpty() ? folder + QStringLiteral("Calendar.dat") : calendarPath;
}

}  // namespace

void CalendarDocument::Open(const QString& path) {
  path_ = path;
  problem_.clear();
  disk_ = DiskState::AsRead;
  // Taken before reading: a write in between then shows as a change.
  snapshot_ = FileSnapshot::Take(path, FileSnapshot::Bytes::Keep);
  hc::cCalendar calendar;
  try {
    calendar.ReadFromDisk(path.toStdU16String());
  } catch (const std::exception& e) {
    problem_ = QString::fromUtf8(e.what());
    calendar = hc::cCalendar();
  }
  // The month shown and its painting stay; the dates are the file's.
  const hc::cCalendar shown = calendar_;
  calendar_ = calendar;
  saved_ = calendar;
  calendar_.m_SelectedYear = shown.m_SelectedYear;
  calendar_.m_SelectedMonth = shown.m_SelectedMonth;
  calendar_.m_ShowTimeAxis = shown.m_ShowTimeAxis;
  calendar_.m_AssociatedTimeSchedule = shown.m_AssociatedTimeSchedule;
  calendar_.RecalculateAndPrepareToPaint();
}

bool CalendarDocument::IsModified() const {
  return Readable() && !calendar_.CompareToOtherCalendar(saved_);
}

SaveResult CalendarDocument::Save(QString* error, SaveCheck check, int* errorNumber) {
  if (!Readable()) {
    *error = problem_;
    return SaveResult::Failed;
  }
  if (check == SaveCheck::CompareWithDisk) {
    const DiskState disk = snapshot_.Compare();
    if (disk != DiskState::AsRead) {
      disk_ = disk;
      return SaveResult::Conflict;
    }
  }
  try {
    calendar_.SaveToDisk(path_.toStdU16String());
  } catch (const std::exception& e) {
    *error = QString::fromUtf8(e.what());
    const auto* numbered = dynamic_cast<const hcp::RuntimeError*>(&e);
    if (errorNumber != nullptr && numbered != nullptr) *errorNumber = numbered->Number();
    return SaveResult::Failed;
  }
  snapshot_.TakeAgain(FileSnapshot::Bytes::Skip);
  saved_ = calendar_;
  disk_ = DiskState::AsRead;
  return SaveResult::Saved;
}

DiskCheck CalendarDocument::CheckDisk() {
  DiskCheck check;
  const DiskState disk = snapshot_.Compare();
  if (disk == DiskState::AsRead) {
    check.changed = disk_ != DiskState::AsRead;
    disk_ = DiskState::AsRead;
    return check;
  }
  const bool removed = disk == DiskState::Removed;
  if (IsModified()) {
    if (disk_ != disk) {
      check.changed = true;
      check.lines << (removed ? Tr("The calendar %1 was removed on disk by another program; it "
                                   "has unsaved changes here, and saving it will ask what to do.")
                              : Tr("The calendar %1 was changed on disk by another program; it "
                                   "has unsaved changes here, and saving it will ask what to do."))
                         .arg(path_);
    }
    disk_ = disk;
    return check;
  }
  Discard();
  check.changed = true;
  check.lines << (removed ? Tr("The calendar %1 was removed on disk by another program.")
                          : Tr("The calendar %1 was changed on disk by another program and is "
                               "read again."))
                     .arg(path_);
  return check;
}

void Workspace::Open(const QString& folder, const QString& calendarPath) {
  hcp::SetProgramFolder(folder.toStdU16String());
  profiles_.LoadAll();
  receivers_.LoadAll();
  calendar_.Open(CalendarPathIn(Folder(), calendarPath));
}

QStringList Workspace::Unwritable(const QString& folder, const QString& calendarPath) {
  QStringList places = {folder, folder + QStringLiteral("Profiles"),
                        folder + QStringLiteral("Receivers"),
                        QFileInfo(CalendarPathIn(folder, calendarPath)).absolutePath()};
  for (QString& place : places)
    place = QDir::cleanPath(place);
  places.removeDuplicates();
  QStringList problems;
  for (const QString& place : places) {
    // A kind's folder that is missing is made by the first save, in the folder.
    if (!QFileInfo(place).isDir()) continue;
    QTemporaryFile probe(place + QStringLiteral("/.halvane-config-probe-XXXXXX"));
    if (!probe.open()) problems << QStringLiteral("%1 (%2)").arg(place, probe.errorString());
  }
  return problems;
}

QString Workspace::Folder() const {
  return QString::fromStdU16String(hcp::ProgramFolder());
}

bool Workspace::AnyModified() const {
  return profiles_.AnyModified() || receivers_.AnyModified() || calendar_.IsModified();
}

DiskCheck Workspace::CheckDisk() {
  DiskCheck check;
  for (const DiskCheck& part :
       {profiles_.CheckDisk(), receivers_.CheckDisk(), calendar_.CheckDisk()}) {
    check.changed |= part.changed;
    check.lines << part.lines;
  }
  return check;
}

}  // namespace ConfigEditor
