#include "injector/ProgramFiles.h"

#include <QDir>
#include <QFileInfo>

namespace {

QStringList BesideAndInstalled(const QString& programFolder, const char* installedRelative) {
  QStringList folders{programFolder};
  const QString installed =
      QDir::cleanPath(programFolder + QString::fromUtf8(installedRelative)) + u'/';
  if (installed != programFolder && QFileInfo(installed).isDir()) folders << installed;
  return folders;
}

}  // namespace

QString ExchangeLibraryFileName() {
  return QStringLiteral(HALVANE3_LIBRARY_FILE);
}

QStringList LibraryFolders(const QString& programFolder) {
  return BesideAndInstalled(programFolder, HALVANE_LIBDIR_FROM_BINDIR);
}

QStringList ModuleFolders(const QString& programFolder) {
  return BesideAndInstalled(programFolder, HALVANE_MODULEDIR_FROM_BINDIR);
}
