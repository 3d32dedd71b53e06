// The widget that shows a picture surface and passes the mouse on as the configuration
// classes take it: the button that was pressed or released (1 left, 2 right, 4 middle),
// the buttons held while moving, the Shift/Ctrl/Alt keys (1, 2, 4) and the position in the
// surface's units, whatever its scale. Keys go to a handler of the panel that owns the
// widget; what the panel draws over the classes' picture goes to its overlay.
#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>

#include "config-editor/QtPaintSurface.h"

class QPainter;

namespace ConfigEditor {

struct SurfaceMouse {
  std::int16_t button = 0;
  std::int16_t shift = 0;
  QPointF position;
};

class SurfaceWidget : public QWidget {
  Q_OBJECT
 public:
  explicit SurfaceWidget(QWidget* parent = nullptr);

  QtPaintSurface& Surface() { return surface_; }

  // A rectangle in units drawn over the surface while the widget has the keyboard focus
  // (the row or date that keys act on); an empty one draws nothing.
  void SetFocusMark(const QRect& area);
  // Draws over the picture, in the widget's coordinates, at every paint; update() shows
  // a change of what it draws.
  void SetOverlay(std::function<void(QPainter&)> overlay) { overlay_ = std::move(overlay); }
  // Answers a key pressed while the widget has the focus; false passes it on.
  void SetKeyHandler(std::function<bool(const QKeyEvent&)> handler) {
    keyHandler_ = std::move(handler);
  }

 signals:
  void MousePressed(ConfigEditor::SurfaceMouse mouse);
  void MouseMoved(ConfigEditor::SurfaceMouse mouse);
  void MouseReleased(ConfigEditor::SurfaceMouse mouse);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  SurfaceMouse Mouse(std::int16_t button, const QMouseEvent& event) const;
  // The focus mark's area in the widget, with room for its frame.
  QRect FocusArea() const;

  QtPaintSurface surface_{*this};
  QRect focusMark_;
  std::function<bool(const QKeyEvent&)> keyHandler_;
  std::function<void(QPainter&)> overlay_;
};

}  // namespace ConfigEditor
