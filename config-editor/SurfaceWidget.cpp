#include "config-editor/SurfaceWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

#include "config/PaintSurface.h"

namespace ConfigEditor {

namespace hc = Halvane_Config;

namespace {

std::int16_t ButtonCode(Qt::MouseButtons buttons) {
  std::int16_t code = 0;
  if (buttons & Qt::LeftButton) code |= hc::kLeftButton;
  if (buttons & Qt::RightButton) code |= hc::kRightButton;
  if (buttons & Qt::MiddleButton) code |= hc::kMiddleButton;
  return code;
}

std::int16_t ShiftCode(Qt::KeyboardModifiers modifiers) {
  std::int16_t code = 0;
  if (modifiers & Qt::ShiftModifier) code |= 1;
  if (modifiers & Qt::ControlModifier) code |= 2;
  if (modifiers & Qt::AltModifier) code |= 4;
  return code;
}

}  // namespace

SurfaceWidget::SurfaceWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);  // the time under the pointer, and the calendar's tooltips
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SurfaceWidget::SetFocusMark(const QRect& area) {
  if (area == focusMark_) return;
  update(FocusArea());
  focusMark_ = area;
  update(FocusArea());
}

QRect SurfaceWidget::FocusArea() const {
  return surface_.ToWidget(QRectF(focusMark_)).toAlignedRect().adjusted(-1, -1, 1, 1);
}

SurfaceMouse SurfaceWidget::Mouse(std::int16_t button, const QMouseEvent& event) const {
  return {button, ShiftCode(event.modifiers()), surface_.FromWidget(event.position())};
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), surface_.Image(),
                    QRectF(event->rect().topLeft() * surface_.Image().devicePixelRatio(),
                           event->rect().size() * surface_.Image().devicePixelRatio()));
  if (overlay_) overlay_(painter);
  if (hasFocus() && !focusMark_.isEmpty()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = surface_.ToWidget(QRectF(focusMark_)).toRect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(Mouse(ButtonCode(event->button()), *event));
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMoved(Mouse(ButtonCode(event->buttons()), *event));
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(Mouse(ButtonCode(event->button()), *event));
}

void SurfaceWidget::keyPressEvent(QKeyEvent* event) {
  if (keyHandler_ && keyHandler_(*event)) return;
  QWidget::keyPressEvent(event);
}

void SurfaceWidget::focusInEvent(QFocusEvent* event) {
  update(FocusArea());
  QWidget::focusInEvent(event);
}

void SurfaceWidget::focusOutEvent(QFocusEvent* event) {
  update(FocusArea());
  QWidget::focusOutEvent(event);
}

}  // namespace ConfigEditor
