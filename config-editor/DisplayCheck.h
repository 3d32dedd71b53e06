// Whether a window can be shown, decided before Qt's GUI application exists: Qt ends the
// program with an abort when the X display it is to use cannot be reached (a stale
// forwarded DISPLAY over SSH is common), so a program asks first and says so itself.
// Qt-free, so that every program of the family with a window can share it.
#pragma once

#include <functional>
#include <string>

namespace ConfigEditor {

// What the process environment says about displays.
struct DisplayEnvironment {
  std::string qpaPlatform;     // QT_QPA_PLATFORM
  std::string waylandDisplay;  // WAYLAND_DISPLAY
  std::string display;         // DISPLAY

  static DisplayEnvironment OfProcess();
};

enum class DisplayStatus {
  Available,
  NotSet,       // no display of any kind is named
  Unreachable,  // the X display named cannot be connected to
};

// Connects to an X display by name and disconnects again; true when the server accepted
// the connection (authorisation included).
using XDisplayProbe = std::function<bool(const std::string& display)>;

// The real probe, through the X client library that Qt's X platform uses itself (loaded
// at run time, so that the program does not link it). Without that library Qt cannot use
// X either, and the answer is false.
bool CanConnectToXDisplay(const std::string& display);

// A platform plugin other than X named by QT_QPA_PLATFORM ("offscreen", "wayland", ...)
// and a Wayland display are taken as they are; otherwise DISPLAY must name an X server
// that accepts a connection.
DisplayStatus CheckDisplay(const DisplayEnvironment& environment,
                           const XDisplayProbe& probe = CanConnectToXDisplay);

// The lines that tell a user why no window can be shown, for standard error.
std::string NoDisplayMessage(const std::string& program, DisplayStatus status,
                             const DisplayEnvironment& environment);

}  // namespace ConfigEditor
