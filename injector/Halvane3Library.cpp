#include "injector/Halvane3Library.h"

#include <QFileInfo>

#include "injector/ProgramFiles.h"

namespace {

// "in /a/, in /b/ and in the system's library path"
QString PlacesLookedIn(const QStringList& folders) {
  QString places;
  for (const QString& folder : folders)
    places += QStringLiteral("in %1, ").arg(folder);
  places.chop(2);
  return places + QStringLiteral(" and in the system's library path");
}

}  // namespace

bool Halvane3Library::Load(QString* error) {
  const QString fileName = ExchangeLibraryFileName();
  for (const QString& folder : folders_) {
    const QString path = folder + fileName;
    if (!QFileInfo::exists(path)) continue;
    library_.setFileName(path);
    if (library_.load()) return true;
    *error = QStringLiteral("The exchange library %1 could not be loaded: %2.")
                 .arg(path, library_.errorString());
    return false;
  }
  library_.setFileName(fileName);
  if (library_.load()) return true;
  *error = QStringLiteral("The exchange library could not be loaded: looked for %1 %2.")
               .arg(fileName, PlacesLookedIn(folders_));
  // A library that the loader found but could not use says why.
  if (!library_.errorString().contains(QStringLiteral("No such file"))) {
    *error += QStringLiteral(" (%1)").arg(library_.errorString());
  }
  return false;
}

bool Halvane3Library::Bind(QString* error) {
  if (!Load(error)) return false;
  setCommandEntry_ = reinterpret_cast<SetCommandEntryFunction>(library_.resolve("SetCommandEntry"));
  if (setCommandEntry_ == nullptr) {
    *error = QStringLiteral("The exchange library %1 has no function SetCommandEntry.")
                 .arg(library_.fileName());
    library_.unload();
    return false;
  }
  return true;
}

bool Halvane3Library::SetCommandEntry(const std::string& command, int queue, QString* error) {
  if (setCommandEntry_ == nullptr && !Bind(error)) return false;
  setCommandEntry_(command.c_str(), queue);
  return true;
}
