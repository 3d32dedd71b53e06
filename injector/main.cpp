// Fauxlarm: fakes the alarms and messages of a SCADA system for a Halvane alarm server.
// Without a display it still runs its one-shot ("/u") and help ("/?") command lines.
#include <QApplication>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <cstdio>
#include <memory>

#include "injector/CommandLine.h"
#include "injector/FXL_Main.h"
#include "injector/FXL_MainWindow.h"
#include "injector/Halvane3Library.h"
#include "injector/SettingsStore.h"
#include "injector/WindowMessages.h"

namespace {

constexpr int kExitNoDisplay = 2;

// Whether a window could be shown; creating the widget application without one would
// abort the program.
bool DisplayAvailable() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return true;
  if (!qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) return true;
  const QString display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) return false;
  if (!display.startsWith(u':')) return true;  // a remote or forwarded display
  const QString number = display.mid(1).section(u'.', 0, 0);
  return QFileInfo::exists(QStringLiteral("/tmp/.X11-unix/X") + number);
}

// The separator between hours and minutes in the user's locale, ":" in most.
QString LocaleTimeSeparator() {
  const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  const qsizetype hours = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
  if (hours < 0) return QStringLiteral(":");
  qsizetype i = hours;
  while (i < format.size() && (format[i] == u'h' || format[i] == u'H'))
    ++i;
  if (i >= format.size() || format[i].isLetter()) return QStringLiteral(":");
  return QString(format[i]);
}

QString ArgumentText(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i)
    arguments << QString::fromLocal8Bit(argv[i]);
  return CommandLine::ArgumentText(arguments);
}

}  // namespace

int main(int argc, char** argv) {
  const QString argumentText = ArgumentText(argc, argv);
  const CommandLine::Action action = CommandLine::Predict(argumentText);
  const bool display = DisplayAvailable();
  if (action == CommandLine::Action::OpenWindow && !display) {
    std::fputs(
        "Fauxlarm: no display to show the window on (DISPLAY is not set or not reachable).\n"
        "Without a display Fauxlarm can send one batch of events (/u) or print its help (/?).\n",
        stderr);
    return kExitNoDisplay;
  }
  const bool widgets = display && action != CommandLine::Action::SendOnce;
  std::unique_ptr<QCoreApplication> app = widgets ? std::make_unique<QApplication>(argc, argv)
                                                  : std::make_unique<QCoreApplication>(argc, argv);

  const QString programFolder = QCoreApplication::applicationDirPath() + u'/';
  SettingsStore settings;
  Halvane3Library library(programFolder);
  WindowMessages messages(widgets);
  FXL_Environment environment;
  environment.programFolder = programFolder;
  environment.settings = &settings;
  environment.library = &library;
  environment.messages = &messages;
  environment.timeSeparator = LocaleTimeSeparator();

  FXL_Main form(environment);
  if (form.Form_Load(argumentText) == FXL_Main::StartOutcome::Ended) return form.ExitCode();

  FXL_MainWindow window(form);
  messages.SetWindow(&window);
  QObject::connect(&form, &FXL_Main::Unloaded, app.get(), &QCoreApplication::quit,
                   Qt::QueuedConnection);
  window.show();
  const int status = app->exec();
  return status != 0 ? status : form.ExitCode();
}
