// halvane-config: opens a program folder (the program's own unless one is named) and shows
// its profiles, calendar and receivers in a window.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <string>
#include <vector>

#include "config-editor/CommandLine.h"
#include "config-editor/LogPane.h"
#include "config-editor/MainWindow.h"
#include "config-editor/ProgramTexts.h"
#include "config-editor/UserQuestions.h"
#include "config-editor/Workspace.h"
#include "display/Display.h"

namespace {

using namespace ConfigEditor;

// The folder of the program file, known before any Qt application object exists.
QString OwnFolder() {
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2);
}

}  // namespace

int main(int argc, char** argv) {
  const ParsedCommandLine parsed =
      ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  if (!parsed.error.empty()) {
    std::fprintf(stderr, "halvane-config: %s\n\n%s", parsed.error.c_str(), UsageText().c_str());
    return kExitNoWindow;
  }
  if (parsed.options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return kExitOk;
  }
  if (parsed.options.version) {
    std::printf("%s\n", VersionText().c_str());
    return kExitOk;
  }

  const QString folder =
      parsed.options.folder.empty()
          ? OwnFolder()
          : QFileInfo(QString::fromStdString(parsed.options.folder)).absoluteFilePath();
  const QFileInfo folderInfo(folder);
  if (!folderInfo.isDir() || !folderInfo.isReadable()) {
    std::fprintf(stderr, "halvane-config: %s is not a folder that can be read.\n",
                 QDir::toNativeSeparators(folder).toLocal8Bit().constData());
    return kExitFolderUnusable;
  }

  if (!DisplayReachable()) {
    std::fputs(
        "halvane-config: no display to show the window on (DISPLAY is not set or not "
        "reachable).\n"
        "Set DISPLAY to a running X server, or QT_QPA_PLATFORM=offscreen to run without one.\n",
        stderr);
    return kExitNoWindow;
  }

  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("Halvane"));
  QApplication::setApplicationName(QStringLiteral("halvane-config"));
  InstallProgramTexts();
  InstallDayTypeNames();

  MessageBoxQuestions questions;
  Workspace workspace;
  auto* window = new MainWindow(workspace, questions);
  window->OpenFolder(folder + u'/', QString::fromStdString(parsed.options.calendar));
  if (parsed.options.folder.empty()) {
    // Started from a build tree, say, the user may not know which folder this is.
    window->Log().Append(QCoreApplication::translate(
        "ConfigEditor",
        "No folder was named, so the program's own is open. Open another with File > Open "
        "folder..., or name it: halvane-config FOLDER."));
  }
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
  return app.exec();
}
