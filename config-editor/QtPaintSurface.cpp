#include "config-editor/QtPaintSurface.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <atomic>
#include <cmath>

namespace ConfigEditor {

namespace hc = Halvane_Config;

namespace {

// The system colours by their index, as the user's palette shows them.
struct SystemColour {
  int index;
  QPalette::ColorGroup group;
  QPalette::ColorRole role;
};
constexpr SystemColour kSystemColours[] = {
    {0x00, QPalette::Active, QPalette::Button},           // scroll bar
    {0x01, QPalette::Active, QPalette::Window},           // desktop
    {0x04, QPalette::Active, QPalette::Window},           // menu
    {0x05, QPalette::Active, QPalette::Base},             // window
    {0x06, QPalette::Active, QPalette::Shadow},           // window frame
    {0x07, QPalette::Active, QPalette::WindowText},       // menu text
    {0x08, QPalette::Active, QPalette::Text},             // window text
    {0x0D, QPalette::Active, QPalette::Highlight},        // highlight
    {0x0E, QPalette::Active, QPalette::HighlightedText},  // highlighted text
    {0x0F, QPalette::Active, QPalette::Button},           // button face
    {0x10, QPalette::Active, QPalette::Dark},             // button shadow
    {0x11, QPalette::Disabled, QPalette::WindowText},     // grey text
    {0x12, QPalette::Active, QPalette::ButtonText},       // button text
    {0x14, QPalette::Active, QPalette::Light},            // button highlight
    {0x15, QPalette::Active, QPalette::Shadow},           // 3-D dark shadow
    {0x16, QPalette::Active, QPalette::Midlight},         // 3-D light
    {0x17, QPalette::Active, QPalette::ToolTipText},      // tooltip text
    {0x18, QPalette::Active, QPalette::ToolTipBase},      // tooltip back
};

std::int32_t NextDeviceContext() {
  static std::atomic<std::int32_t> next{0x5C00};
  return next++;
}

double Pixel(double coordinate) {
  return std::floor(coordinate + 0.5);
}

QString ToQString(std::u16string_view text) {
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtPaintSurface::QtPaintSurface(QWidget& widget)
    : widget_(&widget), font_(widget.font()), deviceContext_(NextDeviceContext()) {
  font_.setPixelSize(kFontPixelSize);
  // The classes print a label again each time they redraw its row; text without
  // smoothing looks the same however often it is drawn, smoothed text would thicken.
  font_.setStyleStrategy(QFont::NoAntialias);
  boldFont_ = font_;
  boldFont_.setBold(true);
}

void QtPaintSurface::Resize(QSize size) {
  ratio_ = widget_ ? widget_->devicePixelRatioF() : 1;
  size_ = size.expandedTo(QSize(1, 1));
  image_ = QImage(DevicePixel(size_.width()), DevicePixel(size_.height()),
                  QImage::Format_ARGB32_Premultiplied);
  image_.setDevicePixelRatio(ratio_);
  if (widget_) {
    widget_->setFixedSize(static_cast<int>(std::ceil(image_.width() / ratio_)),
                          static_cast<int>(std::ceil(image_.height() / ratio_)));
  }
  Clear();
}

void QtPaintSurface::SetScale(double scale) {
  scale_ = scale;
  Resize(size_);
}

int QtPaintSurface::DevicePixel(double units) const {
  return static_cast<int>(std::floor(units * DeviceScale() + 0.5));
}

QPointF QtPaintSurface::ToWidget(QPointF units) const {
  return QPointF(DevicePixel(units.x()), DevicePixel(units.y())) / ratio_;
}

QRectF QtPaintSurface::ToWidget(const QRectF& units) const {
  return QRectF(ToWidget(units.topLeft()), ToWidget(units.bottomRight()));
}

QPointF QtPaintSurface::FromWidget(QPointF widget) const {
  // The device pixel under the point belongs to the unit u with
  // floor(u * k + 0.5) <= pixel < floor((u + 1) * k + 0.5).
  const auto unit = [this](double coordinate) {
    const double pixel = std::floor(coordinate * ratio_);
    return std::ceil((pixel + 0.5) / DeviceScale()) - 1;
  };
  return {unit(widget.x()), unit(widget.y())};
}

QColor QtPaintSurface::ColourAt(QPointF widget) const {
  const QPoint pixel(static_cast<int>(std::floor(widget.x() * ratio_)),
                     static_cast<int>(std::floor(widget.y() * ratio_)));
  return image_.valid(pixel) ? image_.pixelColor(pixel) : QColor();
}

void QtPaintSurface::Clear() {
  Fill(QRectF(QPointF(0, 0), size_), ColourOf(backColor_));
}

QColor QtPaintSurface::ColourOf(hc::Colour colour) const {
  if ((colour & hc::kSystemColourFlag) == 0) {
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>(colour >> 8 & 0xFF),
                  static_cast<int>(colour >> 16 & 0xFF));
  }
  const QPalette palette = widget_ ? widget_->palette() : QPalette();
  const int index = static_cast<int>(colour & 0xFF);
  for (const SystemColour& system : kSystemColours) {
    if (system.index == index) return palette.color(system.group, system.role);
  }
  return palette.color(QPalette::Active, QPalette::WindowText);
}

QRect QtPaintSurface::DeviceRect(const QRectF& units) const {
  return QRect(QPoint(DevicePixel(units.left()), DevicePixel(units.top())),
               QPoint(DevicePixel(units.right()) - 1, DevicePixel(units.bottom()) - 1));
}

void QtPaintSurface::Fill(const QRectF& area, const QColor& colour) {
  const QRect device = DeviceRect(area) & image_.rect();
  if (device.isEmpty()) return;
  // Straight into the image: the classes draw their bars line by line, and a painter for
  // each line would cost more than the pixels.
  const QRgb value = qPremultiply(colour.rgba());
  for (int y = device.top(); y <= device.bottom(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    std::fill(line + device.left(), line + device.right() + 1, value);
  }
  Update(device);
}

void QtPaintSurface::Update(const QRect& device) {
  if (widget_) {
    widget_->update(
        QRectF(QPointF(device.topLeft()) / ratio_, QSizeF(device.size()) / ratio_).toAlignedRect());
  }
}

void QtPaintSurface::BeginUnits(QPainter& painter) {
  painter.begin(&image_);
  painter.scale(scale_, scale_);
}

void QtPaintSurface::Line(double x1, double y1, double x2, double y2, hc::Colour colour) {
  currentX_ = x2;
  currentY_ = y2;
  const double ax = Pixel(x1), ay = Pixel(y1), bx = Pixel(x2), by = Pixel(y2);
  const QColor shade = ColourOf(colour);
  if (ay == by || ax == bx) {
    // The units from the start up to, not including, the end.
    const double left = ax < bx ? ax : bx + (ax == bx ? 0 : 1);
    const double top = ay < by ? ay : by + (ay == by ? 0 : 1);
    Fill(QRectF(left, top, ay == by ? std::abs(bx - ax) : 1, ax == bx ? std::abs(by - ay) : 1),
         shade);
    return;
  }
  if (image_.isNull()) return;
  QPainter painter;
  BeginUnits(painter);
  painter.setPen(QPen(shade, 1));
  painter.drawLine(QPointF(ax + 0.5, ay + 0.5), QPointF(bx + 0.5, by + 0.5));
  painter.end();
  Update(DeviceRect(QRectF(QPointF(ax, ay), QPointF(bx, by)).normalized().adjusted(-1, -1, 1, 1)));
}

void QtPaintSurface::FilledBox(double x, double y, double width, double height, hc::Colour colour) {
  Fill(QRectF(Pixel(x), Pixel(y), Pixel(width), Pixel(height)), ColourOf(colour));
}

double QtPaintSurface::TextWidth(std::u16string_view text) {
  return QFontMetricsF(CurrentFont()).horizontalAdvance(ToQString(text));
}

double QtPaintSurface::TextHeight(std::u16string_view) {
  return QFontMetricsF(CurrentFont()).height();
}

void QtPaintSurface::Print(std::u16string_view text) {
  const QString shown = ToQString(text);
  const QFontMetricsF metrics(CurrentFont());
  const QRectF area(currentX_, currentY_, metrics.horizontalAdvance(shown), metrics.height());
  if (!image_.isNull()) {
    QPainter painter;
    BeginUnits(painter);
    painter.setFont(CurrentFont());
    painter.setPen(ColourOf(foreColor_));
    painter.drawText(QPointF(currentX_, currentY_ + metrics.ascent()), shown);
    painter.end();
    Update(DeviceRect(area.adjusted(-1, -1, 1, 1)));
  }
  currentX_ += area.width();
}

std::u16string QtPaintSurface::ToolTipText() const {
  return widget_ ? widget_->toolTip().toStdU16String() : std::u16string();
}

void QtPaintSurface::SetToolTipText(std::u16string_view text) {
  if (!widget_) return;
  const QString tip = ToQString(text);
  if (tip == widget_->toolTip()) return;
  widget_->setToolTip(tip);
  // A tooltip already shown follows the date under the mouse.
  if (QToolTip::isVisible() && widget_->underMouse()) {
    if (tip.isEmpty()) {
      QToolTip::hideText();
    } else {
      QToolTip::showText(QCursor::pos(), tip, widget_);
    }
  }
}

void QtPaintSurface::SetMousePointer(hc::MousePointer pointer) {
  if (!widget_) return;
  if (pointer == hc::MousePointer::SizeWestEast) {
    widget_->setCursor(Qt::SizeHorCursor);
  } else {
    widget_->unsetCursor();
  }
}

void QtPaintSurface::DrawImage(const QImage& image, QPointF topLeft) {
  if (image_.isNull() || image.isNull()) return;
  const QPointF at(Pixel(topLeft.x() + imageOffset_.x()), Pixel(topLeft.y() + imageOffset_.y()));
  const QRect device = DeviceRect(QRectF(at, image.deviceIndependentSize()));
  QPainter painter(&image_);
  painter.drawImage(QRectF(QPointF(device.topLeft()) / ratio_, QSizeF(device.size()) / ratio_),
                    image);
  painter.end();
  Update(device);
}

}  // namespace ConfigEditor
