// Whether a window could be shown. Qt's widget application ends the program when it
// cannot reach its display, and a DISPLAY that is set but dead is common (a stale SSH
// forwarding, an X server that went away), so the program asks the display itself first.
#pragma once

// True when the X server of DISPLAY accepts a connection, when a Wayland compositor
// answers on WAYLAND_DISPLAY, or when QT_QPA_PLATFORM names a platform other than X
// ("offscreen", "vnc", ...), which is the user's explicit choice.
bool DisplayReachable();
