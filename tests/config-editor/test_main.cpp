// The window's tests need a widget application; they run on the offscreen platform.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

#include "config-editor/ProgramTexts.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  // Settings the window keeps (last tab, Delete's option) go to a test folder, not the user's.
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  QApplication::setOrganizationName(QStringLiteral("HalvaneTests"));
  QApplication::setApplicationName(QStringLiteral("config_editor_tests"));
  ConfigEditor::InstallProgramTexts();
  ConfigEditor::InstallDayTypeNames();
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
