#include "injector/Halvane3Library.h"

#include <QFile>

namespace {

std::vector<std::string> FileNames(const QStringList& folders) {
  std::vector<std::string> names;
  for (const QString& folder : folders)
    names.push_back(QFile::encodeName(folder).toStdString());
  return names;
}

}  // namespace

Halvane3Library::Halvane3Library(const QStringList& folders) : library_(FileNames(folders)) {}

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
