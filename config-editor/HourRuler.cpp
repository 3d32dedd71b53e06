#include "config-editor/HourRuler.h"

#include <QPainter>

#include "config-editor/QtPaintSurface.h"

namespace ConfigEditor {

namespace {

constexpr int kHours = Halvane_Config::ScheduleGeometry::kHours;
constexpr int kTickHeight = 4;
constexpr int kLabelledTickHeight = 7;
constexpr int kLabelGap = 6;   // at least, between two numbers
constexpr int kAboveTick = 2;  // between a number and its tick

}  // namespace

HourRuler::HourRuler(const QtPaintSurface& surface, QWidget* parent)
    : QWidget(parent), surface_(surface) {
  setObjectName(QStringLiteral("Ruler_Schedule"));
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize HourRuler::sizeHint() const {
  return {0, fontMetrics().height() + kAboveTick + kLabelledTickHeight};
}

double HourRuler::TickX(int hour) const {
  // The surface lies at the ruler's left, scrolled only up and down.
  return surface_.ToWidget(QPointF(kMidnightX + kHourUnits * hour, 0)).x();
}

int HourRuler::LabelStep() const {
  const int widest = fontMetrics().horizontalAdvance(QStringLiteral("24")) + kLabelGap;
  for (const int step : {1, 3, 6}) {
    if (TickX(step) - TickX(0) >= widest) return step;
  }
  return 12;
}

void HourRuler::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(palette().color(QPalette::WindowText));
  // As wide as the schedule's hour lines: one unit of the surface.
  const double lineWidth = surface_.ToWidget(QPointF(kMidnightX + 1, 0)).x() - TickX(0);
  const int step = LabelStep();
  const int bottom = height();
  for (int hour = 0; hour <= kHours; ++hour) {
    const double x = TickX(hour);
    const bool labelled = hour % step == 0;
    const int tick = labelled ? kLabelledTickHeight : kTickHeight;
    painter.fillRect(QRectF(x, bottom - tick, lineWidth, tick), painter.pen().color());
    if (!labelled) continue;
    const QString number = QString::number(hour);
    const double width = fontMetrics().horizontalAdvance(number);
    painter.drawText(QPointF(x + lineWidth / 2 - width / 2,
                             bottom - tick - kAboveTick - fontMetrics().descent()),
                     number);
  }
}

}  // namespace ConfigEditor
