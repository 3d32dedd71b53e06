// A Fauxlarm window started in a temporary program folder, sending by the given method
// ("/g", "/d", "/f") through the library it is handed, with a fixed time stamp, so that
// every benchmark composes the same event.
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "injector/CommandQueueLibrary.h"
#include "injector/FXL_Main.h"
#include "injector/SettingsStore.h"
#include "injector/UserMessages.h"

struct StartedWindow {
  StartedWindow(const char* method, CommandQueueLibrary& library) {
    environment.programFolder = folder.path();
    environment.settings = &settings;
    environment.library = &library;
    environment.messages = &messages;
    environment.listenPort = 0;
    form = std::make_unique<FXL_Main>(environment);
    form->Form_Load(QString::fromLatin1(method));
    form->Timer.stop();
    form->Text_Date.SetText(QStringLiteral("2015-05-05"));
    form->Text_Time.SetText(QStringLiteral("12:55:54"));
  }

  QTemporaryDir folder;
  SettingsStore settings{folder.filePath(QStringLiteral("Fauxlarm.ini"))};
  ConsoleMessages messages;
  FXL_Environment environment;
  std::unique_ptr<FXL_Main> form;
};
