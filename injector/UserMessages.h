// How the program tells its user something: a message box while there is a screen to
// show it on, the console otherwise.
#pragma once

#include <QString>

// The program's name: the title of its message boxes and the name of its settings.
inline QString ProgramName() {
  return QStringLiteral("Fauxlarm");
}

class UserMessages {
 public:
  virtual ~UserMessages() = default;

  // Information the user asked for (the help): a box with an OK button, or standard
  // output when there is no display.
  virtual void ShowInformation(const QString& title, const QString& text) = 0;

  // Something went wrong: a box with an OK button while the window is shown, standard
  // error otherwise.
  virtual void ShowError(const QString& title, const QString& text) = 0;
};

// Writes to standard output and standard error; for runs without a window.
class ConsoleMessages : public UserMessages {
 public:
  void ShowInformation(const QString& title, const QString& text) override;
  void ShowError(const QString& title, const QString& text) override;
};
