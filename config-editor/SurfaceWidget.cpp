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
  update(focusMark_.adjusted(-1, -1, 1, 1));
  focusMark_ = area;
  update(focusMark_.adjusted(-1, -1, 1, 1));
}

void SurfaceWidget::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  painter.drawImage(event->rect(), surface_.Image(),
                    QRectF(event->rect().topLeft() * surface_.Image().devicePixelRatio(),
                           event->rect().size() * surface_.Image().devicePixelRatio()));
  if (hasFocus() && !focusMark_.isEmpty()) {
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = focusMark_;
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }
}

void SurfaceWidget::mousePressEvent(QMouseEvent* event) {
  emit MousePressed(
      {ButtonCode(event->button()), ShiftCode(event->modifiers()), event->position()});
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent* event) {
  emit MouseMoved({ButtonCode(event->buttons()), ShiftCode(event->modifiers()), event->position()});
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent* event) {
  emit MouseReleased(
      {ButtonCode(event->button()), ShiftCode(event->modifiers()), event->position()});
}

void SurfaceWidget::keyPressEvent(QKeyEvent* event) {
  if (keyHandler_ && keyHandler_(*event)) return;
  QWidget::keyPressEvent(event);
}

void SurfaceWidget::focusInEvent(QFocusEvent* event) {
  update(focusMark_.adjusted(-1, -1, 1, 1));
  QWidget::focusInEvent(event);
}

void SurfaceWidget::focusOutEvent(QFocusEvent* event) {
  update(focusMark_.adjusted(-1, -1, 1, 1));
  QWidget::focusOutEvent(event);
}

}  // namespace ConfigEditor
