// The window part of the program lives in a module of its own (FauxlarmWindow.so beside
// the program), loaded only when a screen is used. Runs without one, such as one-shot
// sending from scripts, then never load the widget libraries, which would take most of
// their start-up time.
#pragma once

#include <QCoreApplication>
#include <memory>

class FXL_Main;
class UserMessages;

class WindowModule {
 public:
  virtual ~WindowModule() = default;

  // The widget application; created before anything else of Qt.
  virtual std::unique_ptr<QCoreApplication> CreateApplication(int& argc, char** argv) = 0;
  // Message boxes over the window once it is shown.
  virtual UserMessages& Messages() = 0;
  // Shows the window over a started model and runs until it closes; the exit status.
  virtual int Run(FXL_Main& form) = 0;
};

// The module's one entry point.
extern "C" WindowModule* FauxlarmCreateWindowModule();
using CreateWindowModuleFunction = WindowModule* (*)();
