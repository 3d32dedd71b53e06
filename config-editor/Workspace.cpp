#include "config-editor/Workspace.h"

#include <exception>

#include "common/Halvane_Common_Procedures.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;
namespace hcp = Halvane_Common_Procedures;

void CalendarDocument::Open(const QString& path) {
  path_ = path;
  problem_.clear();
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
  calendar_.m_SelectedYear = shown.m_SelectedYear;
  calendar_.m_SelectedMonth = shown.m_SelectedMonth;
  calendar_.m_ShowTimeAxis = shown.m_ShowTimeAxis;
  calendar_.m_AssociatedTimeSchedule = shown.m_AssociatedTimeSchedule;
  calendar_.RecalculateAndPrepareToPaint();
}

bool CalendarDocument::IsModified() const {
  if (!Readable()) return false;
  const std::u16string path = path_.toStdU16String();
  try {
    if (hcp::FileExists(path)) return !calendar_.CompareToDisk(path);
  } catch (const std::exception&) {
    return true;  // a file that cannot be compared any more is no copy of this calendar
  }
  return !calendar_.CompareToOtherCalendar(hc::cCalendar());
}

bool CalendarDocument::Save(QString* error) {
  if (!Readable()) {
    *error = problem_;
    return false;
  }
  try {
    calendar_.SaveToDisk(path_.toStdU16String());
    return true;
  } catch (const std::exception& e) {
    *error = QString::fromUtf8(e.what());
    return false;
  }
}

void Workspace::Open(const QString& folder, const QString& calendarPath) {
  hcp::SetProgramFolder(folder.toStdU16String());
  profiles_.LoadAll();
  receivers_.LoadAll();
  calendar_.Open(calendarPath.isEmpty() ? Folder() + QStringLiteral("Calendar.dat") : calendarPath);
}

QString Workspace::Folder() const {
  return QString::fromStdU16String(hcp::ProgramFolder());
}

bool Workspace::AnyModified() const {
  return profiles_.AnyModified() || receivers_.AnyModified() || calendar_.IsModified();
}

}  // namespace ConfigEditor
