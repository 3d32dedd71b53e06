#include "config-editor/DisplayCheck.h"

#include <dlfcn.h>

#include <cstdlib>
#include <string_view>

namespace ConfigEditor {

namespace {

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value != nullptr ? value : "";
}

// The first platform of QT_QPA_PLATFORM ("xcb:option", "wayland;xcb"), without options.
std::string_view FirstPlatform(std::string_view platforms) {
  return platforms.substr(0, platforms.find_first_of(";:"));
}

// The entry points of the X client library this check needs.
struct XcbConnection;
using XcbConnect = XcbConnection* (*)(const char* display, int* screen);
using XcbHasError = int (*)(XcbConnection* connection);
using XcbDisconnect = void (*)(XcbConnection* connection);

}  // namespace

DisplayEnvironment DisplayEnvironment::OfProcess() {
  return {Variable("QT_QPA_PLATFORM"), Variable("WAYLAND_DISPLAY"), Variable("DISPLAY")};
}

bool CanConnectToXDisplay(const std::string& display) {
  void* library = ::dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
  if (library == nullptr) return false;
  const auto connect = reinterpret_cast<XcbConnect>(::dlsym(library, "xcb_connect"));
  const auto hasError = reinterpret_cast<XcbHasError>(::dlsym(library, "xcb_connection_has_error"));
  const auto disconnect = reinterpret_cast<XcbDisconnect>(::dlsym(library, "xcb_disconnect"));
  bool connected = false;
  if (connect != nullptr && hasError != nullptr && disconnect != nullptr) {
    // Always a connection object; a failed one only reports its error.
    XcbConnection* connection = connect(display.c_str(), nullptr);
    connected = hasError(connection) == 0;
    disconnect(connection);
  }
  ::dlclose(library);
  return connected;
}

DisplayStatus CheckDisplay(const DisplayEnvironment& environment, const XDisplayProbe& probe) {
  const std::string_view platform = FirstPlatform(environment.qpaPlatform);
  const bool x11 = platform.empty() || platform == "xcb";
  if (!x11) return DisplayStatus::Available;
  if (platform.empty() && !environment.waylandDisplay.empty()) return DisplayStatus::Available;
  if (environment.display.empty()) return DisplayStatus::NotSet;
  return probe(environment.display) ? DisplayStatus::Available : DisplayStatus::Unreachable;
}

std::string NoDisplayMessage(const std::string& program, DisplayStatus status,
                             const DisplayEnvironment& environment) {
  const std::string reason = status == DisplayStatus::Unreachable
                                 ? "the X display \"" + environment.display + "\" cannot be reached"
                                 : "DISPLAY is not set";
  return program + ": no display to show the window on (" + reason + ").\n" +
         "Set DISPLAY to a running X server, or QT_QPA_PLATFORM=offscreen to run without one.\n";
}

}  // namespace ConfigEditor
