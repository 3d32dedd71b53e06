// Drives the mouse handlers of an editor that takes (host, surface, button, shift, x, y),
// as a host forwards a user's presses, moves and releases.
#pragma once

#include <cstdint>

#include "config/HostWindow.h"
#include "config/PaintSurface.h"

namespace Halvane_Config {

template <typename Editor>
class MouseScript {
 public:
  MouseScript(Editor& editor, HostWindow& host, PaintSurface& surface)
      : editor_(editor), host_(host), surface_(surface) {}

  void Press(std::int16_t button, double x, double y) {
    held_ = button;
    x_ = x, y_ = y;
    editor_.MouseDown(host_, surface_, button, 0, x, y);
  }
  // Moves with the held buttons (none after a release).
  void MoveTo(double x, double y) {
    x_ = x, y_ = y;
    editor_.MouseMove(host_, surface_, held_, 0, x, y);
  }
  // Moves in equal steps from the last position, ending at (x, y).
  void DragTo(double x, double y, int steps = 1) {
    const double fromX = x_, fromY = y_;
    for (int i = 1; i <= steps; ++i)
      MoveTo(fromX + (x - fromX) * i / steps, fromY + (y - fromY) * i / steps);
  }
  void Release() {
    const std::int16_t button = held_;
    held_ = 0;
    editor_.MouseUp(host_, surface_, button, 0, x_, y_);
  }
  void ClickAt(std::int16_t button, double x, double y) {
    Press(button, x, y);
    Release();
  }

 private:
  Editor& editor_;
  HostWindow& host_;
  PaintSurface& surface_;
  std::int16_t held_ = 0;
  double x_ = 0;
  double y_ = 0;
};

}  // namespace Halvane_Config
