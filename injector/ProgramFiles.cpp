#include "injector/ProgramFiles.h"

#include <QFile>

#include "events/ExchangeLibrary.h"

namespace {

QStringList FolderNames(const std::vector<std::string>& folders) {
  QStringList names;
  for (const std::string& folder : folders)
    names << QFile::decodeName(QByteArray::fromStdString(folder));
  return names;
}

}  // namespace

QStringList LibraryFolders(const QString& programFolder) {
  return FolderNames(
      FauxlarmEvents::LibraryFolders(QFile::encodeName(programFolder).toStdString()));
}

QStringList ModuleFolders(const QString& programFolder) {
  return FolderNames(FauxlarmEvents::BesideAndInstalled(
      QFile::encodeName(programFolder).toStdString(), HALVANE_MODULEDIR_FROM_BINDIR));
}
