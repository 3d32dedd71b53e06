// The hours above the schedule's rows, drawn from the mapping of the schedule's surface:
// a tick over every hour line, where the line is, and the hour's number over every hour
// when there is room for it, else over every third (0, 3, 6 ... 24).
#pragma once

#include <QWidget>

#include "config/ScheduleGeometry.h"

namespace ConfigEditor {

class QtPaintSurface;

class HourRuler : public QWidget {
 public:
  // Surface x of 00:00 and the units of one hour, as the schedule draws them.
  static constexpr double kMidnightX = Halvane_Config::ScheduleGeometry::kAxisLeft;
  static constexpr double kHourUnits = Halvane_Config::ScheduleGeometry::kHourUnits;

  explicit HourRuler(const QtPaintSurface& surface, QWidget* parent = nullptr);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override { return sizeHint(); }
  // The x of an hour's tick, in the ruler.
  double TickX(int hour) const;
  // Hours between two numbers shown.
  int LabelStep() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const QtPaintSurface& surface_;
};

}  // namespace ConfigEditor
