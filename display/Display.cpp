#include "display/Display.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDir>
#include <QLibrary>
#include <cstring>

namespace {

// Connects and authenticates as Qt's X platform would, through the X client library that
// it loads too; the library is only loaded here, so runs without a window never pay for it.
bool XServerReachable() {
  if (qEnvironmentVariableIsEmpty("DISPLAY")) return false;
  QLibrary xcb(QStringLiteral("xcb"), 1);
  using Connect = void* (*)(const char* display, int* screen);
  using HasError = int (*)(void* connection);
  using Disconnect = void (*)(void* connection);
  const auto connect = reinterpret_cast<Connect>(xcb.resolve("xcb_connect"));
  const auto hasError = reinterpret_cast<HasError>(xcb.resolve("xcb_connection_has_error"));
  const auto disconnect = reinterpret_cast<Disconnect>(xcb.resolve("xcb_disconnect"));
  if (connect == nullptr || hasError == nullptr || disconnect == nullptr) return false;
  void* connection = connect(nullptr, nullptr);
  const bool reachable = hasError(connection) == 0;
  disconnect(connection);
  return reachable;
}

bool WaylandCompositorAnswers() {
  QString path = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (path.isEmpty()) return false;
  if (!QDir::isAbsolutePath(path)) path = qEnvironmentVariable("XDG_RUNTIME_DIR") + u'/' + path;
  const QByteArray name = QFile::encodeName(path);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (static_cast<std::size_t>(name.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool answers = ::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  ::close(fd);
  return answers;
}

}  // namespace

bool DisplayReachable() {
  // "xcb;offscreen" and "xcb:option" name the platform Qt tries first.
  const QString platform =
      qEnvironmentVariable("QT_QPA_PLATFORM").section(u';', 0, 0).section(u':', 0, 0);
  if (!platform.isEmpty() && platform != u"xcb") return true;
  if (platform.isEmpty() && WaylandCompositorAnswers()) return true;
  return XServerReachable();
}
