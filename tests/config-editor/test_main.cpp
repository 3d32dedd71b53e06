// The window's tests need a widget application; they run on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QSettings>
#include <QTemporaryDir>

#include "config-editor/ProgramTexts.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Settings the window keeps (last tab, Delete's option, recent folders) go to a folder of
  // this process alone: tests run side by side, and a recent folder another test left
  // would come first in the menu.
  const QTemporaryDir settings;
  if (!settings.isValid()) return 2;
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settings.path());
  QApplication::setOrganizationName(QStringLiteral("HalvaneTests"));
  QApplication::setApplicationName(QStringLiteral("config_editor_tests"));
  ConfigEditor::InstallProgramTexts();
  ConfigEditor::InstallDayTypeNames();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
