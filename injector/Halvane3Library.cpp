#include "injector/Halvane3Library.h"

#include <QFile>

Halvane3Library::Halvane3Library(const QString& programFolder)
    : library_(FauxlarmEvents::LibraryFolders(QFile::encodeName(programFolder).toStdString())) {}

bool Halvane3Library::SetCommandEntry(const std::string& command, int queue, QString* error) {
  std::string reason;
  if (!library_.Bind(&reason)) {
    *error = QString::fromStdString(reason);
    return false;
  }
  // The library refuses nothing that Fauxlarm sends, so its result is not looked at.
  library_.SetCommandEntry(command, queue);
  return true;
}
