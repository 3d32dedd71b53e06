// The picture surface of the configuration classes on a Qt widget: they draw into an
// image that the widget shows, in their own units. The host scales those to the room it
// has: unit u begins at device pixel floor(u * scale * ratio + 0.5), where ratio is the
// screen's device pixel ratio, and a point of the widget is handed back as the whole unit
// whose pixels hold it. So a 1-unit line is one scale wide, and the classes' rules (hit
// tests, grab distances, minutes per unit) hold in their units at every scale.
// Colours 0x00BBGGRR are taken as they are; system colours come from the widget's palette.
// Mouse pointer 9 is the east-west sizing cursor, and the tooltip is the widget's tooltip.
#pragma once

#include <QFont>
#include <QImage>
#include <QPointer>
#include <QWidget>

#include "config/PaintSurface.h"

namespace ConfigEditor {

class QtPaintSurface final : public Halvane_Config::PaintSurface {
 public:
  // The text size the drawings' geometry was made for: a date box is 37 x 22.
  static constexpr int kFontPixelSize = 11;

  explicit QtPaintSurface(QWidget& widget);

  // A new image of this size in units, filled with the back colour; the widget takes that
  // size at the scale.
  void Resize(QSize size);
  QSize Size() const { return size_; }
  // Widget pixels per unit; a new scale takes a new image (the size in units stays), which
  // the owner draws anew.
  void SetScale(double scale);
  double Scale() const { return scale_; }
  // Device pixels per unit: the scale times the screen's device pixel ratio.
  double DeviceScale() const { return scale_ * ratio_; }

  // Where a point in units begins in the widget, and the whole unit that holds a point of
  // the widget.
  QPointF ToWidget(QPointF units) const;
  QRectF ToWidget(const QRectF& units) const;
  QPointF FromWidget(QPointF widget) const;
  // The colour the widget shows at a point of it.
  QColor ColourAt(QPointF widget) const;
  // Fills the whole image with the back colour, as a host does before Paint.
  void Clear();
  const QImage& Image() const { return image_; }

  // Draws an image of the host's image list (made for DeviceScale) with its top-left
  // corner at a point, moved by the surface's image offset.
  void DrawImage(const QImage& image, QPointF topLeft);
  void SetImageOffset(QPointF offset) { imageOffset_ = offset; }

  QColor ColourOf(Halvane_Config::Colour colour) const;

  // Drawing. A line leaves out its last point, as the family's surfaces always did: from
  // x 30 to 318 it covers pixels 30 .. 317.
  void Line(double x1, double y1, double x2, double y2, Halvane_Config::Colour colour) override;
  void FilledBox(double x, double y, double width, double height,
                 Halvane_Config::Colour colour) override;
  double TextWidth(std::u16string_view text) override;
  double TextHeight(std::u16string_view text) override;
  double CurrentX() const override { return currentX_; }
  double CurrentY() const override { return currentY_; }
  void SetCurrentX(double x) override { currentX_ = x; }
  void SetCurrentY(double y) override { currentY_ = y; }
  void Print(std::u16string_view text) override;
  Halvane_Config::Colour ForeColor() const override { return foreColor_; }
  void SetForeColor(Halvane_Config::Colour colour) override { foreColor_ = colour; }
  Halvane_Config::Colour BackColor() const override { return backColor_; }
  void SetBackColor(Halvane_Config::Colour colour) override { backColor_ = colour; }
  bool FontBold() const override { return bold_; }
  void SetFontBold(bool bold) override { bold_ = bold; }
  std::u16string ToolTipText() const override;
  void SetToolTipText(std::u16string_view text) override;
  // An opaque number of this surface, unique in the process; the host maps it back.
  std::int32_t DeviceContext() const override { return deviceContext_; }
  void SetMousePointer(Halvane_Config::MousePointer pointer) override;

 private:
  const QFont& CurrentFont() const { return bold_ ? boldFont_ : font_; }
  // The device pixel where a coordinate in units begins, and the device pixels of a
  // rectangle in units.
  int DevicePixel(double units) const;
  QRect DeviceRect(const QRectF& units) const;
  // Fills the device pixels of a rectangle in units and has the widget show them.
  void Fill(const QRectF& area, const QColor& colour);
  // Has the widget show a rectangle of device pixels anew.
  void Update(const QRect& device);
  // A painter on the image that draws in units.
  void BeginUnits(QPainter& painter);

  QPointer<QWidget> widget_;
  QImage image_;
  QSize size_;
  double scale_ = 1;
  double ratio_ = 1;  // the screen's, when the image was made
  QFont font_;
  QFont boldFont_;
  double currentX_ = 0;
  double currentY_ = 0;
  Halvane_Config::Colour foreColor_ = Halvane_Config::kSystemButtonText;
  Halvane_Config::Colour backColor_ = Halvane_Config::kSystemColourFlag | 0x0F;  // button face
  bool bold_ = false;
  QPointF imageOffset_;
  std::int32_t deviceContext_;
};

}  // namespace ConfigEditor
