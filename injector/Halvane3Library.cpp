#include "injector/Halvane3Library.h"

#include <QFileInfo>

bool Halvane3Library::Bind(QString* error) {
  const QString besideProgram = programFolder_ + QStringLiteral("libHalvane3.so");
  library_.setFileName(QFileInfo::exists(besideProgram) ? besideProgram
                                                        : QStringLiteral("Halvane3"));
  if (!library_.load()) {
    *error = QStringLiteral("The exchange library Halvane3 could not be loaded: %1.")
                 .arg(library_.errorString());
    return false;
  }
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
