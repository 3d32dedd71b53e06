// A sunken frame around a picture that is drawn at the largest scale the room allows: the
// picture's size in units times the scale, plus what does not scale with it (a scroll
// bar, a ruler), has to fit the widget, beside an optional side panel that follows the
// frame's right edge. Scales go in quarter steps from 1 to 4, so that a small change of
// the window's size moves nothing under the pointer; below scale 1 the owner's page
// scrolls instead. A picture taller than what decides the scale (more rows than the seven
// that must show) makes the frame grow down as far as there is room; the owner scrolls
// the rest.
#pragma once

#include <QSize>
#include <QWidget>

class QFrame;

namespace ConfigEditor {

class FittedFrame : public QWidget {
  Q_OBJECT
 public:
  static constexpr double kScaleStep = 0.25;
  static constexpr double kLargestScale = 4;

  // units: the picture at scale 1; fixed: pixels inside the frame that do not scale.
  FittedFrame(QSize units, QSize fixed, QWidget* parent = nullptr);

  // The frame, whose layout the owner fills.
  QFrame& Frame() { return *frame_; }
  // Placed right of the frame, as wide as it asks to be.
  void SetSide(QWidget* side);
  void SetFixed(QSize fixed);
  // The picture's whole height in units, when it is taller than the units that fit.
  void SetExtent(int unitsHeight);

  double Scale() const { return scale_; }
  // The room for the picture inside the frame, in pixels.
  QSize Inner() const;
  // What the widget needs to show the picture at a scale.
  QSize SizeAt(double scale) const;

  QSize minimumSizeHint() const override { return SizeAt(1); }
  QSize sizeHint() const override { return SizeAt(1); }

 signals:
  // The frame has a new size, or a new scale; the owner draws the picture anew.
  void Fitted();

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QSize FrameSizeAt(double scale) const;
  int Border() const;
  int SideWidth() const;
  void Fit();

  QSize units_;
  QSize fixed_;
  int extent_ = 0;
  QFrame* frame_ = nullptr;
  QWidget* side_ = nullptr;
  double scale_ = 1;
};

}  // namespace ConfigEditor
