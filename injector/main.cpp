// Fauxlarm: fakes the alarms and messages of a SCADA system for a Halvane alarm server.
// Without a display it still runs its one-shot ("/u") and help ("/?") command lines.
#include <QFileInfo>
#include <QLibrary>
#include <QLocale>
#include <QRegularExpression>
#include <cstdio>
#include <memory>

#include "display/Display.h"
#include "injector/CommandLine.h"
#include "injector/FXL_Main.h"
#include "injector/Halvane3Library.h"
#include "injector/ProgramFiles.h"
#include "injector/SettingsStore.h"
#include "injector/UserMessages.h"
#include "injector/WindowModule.h"

namespace {

constexpr int kExitNoWindow = 2;

// The separator between hours and minutes in the user's locale, ":" in most.
QString LocaleTimeSeparator() {
  const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
  qsizetype i = format.indexOf(QRegularExpression(QStringLiteral("[hH]")));
  if (i < 0) return QStringLiteral(":");
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

// The folder of the program file, known before any Qt application object exists.
QString ProgramFolder() {
  return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath().section(u'/', 0, -2) +
         u'/';
}

std::unique_ptr<WindowModule> LoadWindowModule(const QString& programFolder, QString* error) {
  const QString fileName = QStringLiteral("FauxlarmWindow.so");
  const QStringList folders = ModuleFolders(programFolder);
  for (const QString& folder : folders) {
    if (!QFileInfo::exists(folder + fileName)) continue;
    QLibrary library(folder + fileName);
    library.setLoadHints(QLibrary::ResolveAllSymbolsHint);  // a missing symbol fails here
    const auto create =
        reinterpret_cast<CreateWindowModuleFunction>(library.resolve("FauxlarmCreateWindowModule"));
    if (create == nullptr) {
      *error = library.errorString();
      return nullptr;
    }
    return std::unique_ptr<WindowModule>(create());
  }
  *error =
      QStringLiteral("looked for %1 in %2").arg(fileName, folders.join(QStringLiteral(" and in ")));
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  const QString argumentText = ArgumentText(argc, argv);
  const CommandLine::Action action = CommandLine::Predict(argumentText);
  const bool display = DisplayReachable();
  if (action == CommandLine::Action::OpenWindow && !display) {
    std::fputs(
        "Fauxlarm: no display to show the window on (DISPLAY is not set or not reachable).\n"
        "Without a display Fauxlarm can send one batch of events (/u) or print its help (/?).\n",
        stderr);
    return kExitNoWindow;
  }

  const QString programFolder = ProgramFolder();
  std::unique_ptr<WindowModule> window;
  if (display && action != CommandLine::Action::SendOnce) {
    QString error;
    window = LoadWindowModule(programFolder, &error);
    if (window == nullptr && action == CommandLine::Action::OpenWindow) {
      std::fprintf(stderr, "Fauxlarm: cannot load the window: %s\n",
                   error.toLocal8Bit().constData());
      return kExitNoWindow;
    }
  }
  const std::unique_ptr<QCoreApplication> app =
      window != nullptr ? window->CreateApplication(argc, argv)
                        : std::make_unique<QCoreApplication>(argc, argv);

  SettingsStore settings;
  Halvane3Library library(programFolder);
  ConsoleMessages console;
  FXL_Environment environment;
  environment.programFolder = programFolder;
  environment.settings = &settings;
  environment.library = &library;
  environment.messages = window != nullptr ? &window->Messages() : &console;
  environment.timeSeparator = LocaleTimeSeparator();

  FXL_Main form(environment);
  if (form.Form_Load(argumentText) == FXL_Main::StartOutcome::Ended) return form.ExitCode();
  return window->Run(form);
}
