#include "injector/ProgramFiles.h"

#include <QFile>

#include "events/ExchangeLibrary.h"

QStringList ModuleFolders(const QString& programFolder) {
  QStringList folders;
  for (const std::string& folder : FauxlarmEvents::BesideAndInstalled(
           QFile::encodeName(programFolder).toStdString(), HALVANE_MODULEDIR_FROM_BINDIR)) {
    folders << QFile::decodeName(QByteArray::fromStdString(folder));
  }
  return folders;
}
