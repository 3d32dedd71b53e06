#include "config-editor/DayTypeImages.h"

#include <QFont>
#include <QPainter>
#include <map>
#include <utility>

namespace ConfigEditor {

namespace {

// Eight hues far apart, each used once as a disc and once as a square.
constexpr QRgb kHues[] = {0xC62828, 0x1565C0, 0x2E7D32, 0xEF6C00,
                          0x6A1B9A, 0x00838F, 0x8D6E63, 0x37474F};
constexpr int kHueCount = sizeof kHues / sizeof kHues[0];

}  // namespace

QColor DayTypeImages::Colour(int index) {
  return QColor(kHues[(index - 1) % kHueCount]);
}

QImage DayTypeImages::Image(int index, qreal devicePixelRatio) {
  if (index < 1 || index > kCount) return {};
  // Drawn once per screen resolution: the calendar draws them for every marked date.
  static std::map<std::pair<int, qreal>, QImage> drawn;
  QImage& image = drawn[{index, devicePixelRatio}];
  if (image.isNull()) image = Draw(index, devicePixelRatio);
  return image;
}

QImage DayTypeImages::Draw(int index, qreal devicePixelRatio) {
  QImage image(QSize(kWidth, kHeight) * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::transparent);

  // Without smoothing: every pixel is the shape or transparent, so an image drawn again
  // over itself stays the same.
  QPainter painter(&image);
  painter.setPen(QPen(Colour(index).darker(140), 1));
  painter.setBrush(Colour(index));
  const QRectF shape(0.5, 0.5, kWidth - 1, kHeight - 1);
  if (index <= kHueCount) {
    painter.drawEllipse(shape);
  } else {
    painter.drawRoundedRect(shape, 2, 2);
  }
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(index < 10 ? 11 : 9);
  font.setStyleStrategy(QFont::NoAntialias);
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(QRectF(0, 0, kWidth, kHeight), Qt::AlignCenter, QString::number(index));
  return image;
}

QIcon DayTypeImages::Icon(int index) {
  QIcon icon;
  for (const qreal ratio : {1.0, 2.0})
    icon.addPixmap(QPixmap::fromImage(Image(index, ratio)));
  return icon;
}

}  // namespace ConfigEditor
