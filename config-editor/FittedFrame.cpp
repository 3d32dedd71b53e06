#include "config-editor/FittedFrame.h"

#include <QFrame>
#include <QLayout>
#include <algorithm>
#include <cmath>

namespace ConfigEditor {

namespace {

constexpr int kSideGap = 10;

int Round(double value) {
  return static_cast<int>(std::lround(value));
}

}  // namespace

FittedFrame::FittedFrame(QSize units, QSize fixed, QWidget* parent)
    : QWidget(parent), units_(units), fixed_(fixed) {
  frame_ = new QFrame(this);
  frame_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void FittedFrame::SetSide(QWidget* side) {
  side_ = side;
  side_->setParent(this);
  updateGeometry();
}

void FittedFrame::SetFixed(QSize fixed) {
  fixed_ = fixed;
  updateGeometry();
  Fit();
}

void FittedFrame::SetExtent(int unitsHeight) {
  if (unitsHeight == extent_) return;
  extent_ = unitsHeight;
  Fit();
}

QSize FittedFrame::Inner() const {
  return frame_->size() - fixed_ - QSize(Border(), Border());
}

int FittedFrame::Border() const {
  return 2 * frame_->frameWidth();
}

QSize FittedFrame::FrameSizeAt(double scale) const {
  return QSize(Round(units_.width() * scale), Round(units_.height() * scale)) + fixed_ +
         QSize(Border(), Border());
}

int FittedFrame::SideWidth() const {
  return side_ ? side_->sizeHint().boundedTo(side_->maximumSize()).width() + kSideGap : 0;
}

QSize FittedFrame::SizeAt(double scale) const {
  const QSize frame = FrameSizeAt(scale);
  const int sideHeight = side_ ? side_->minimumSizeHint().height() : 0;
  return {frame.width() + SideWidth(), std::max(frame.height(), sideHeight)};
}

void FittedFrame::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Fit();
}

void FittedFrame::Fit() {
  const QSize room = size() - FrameSizeAt(0) - QSize(SideWidth(), 0);
  const double fits =
      std::min(room.width() / double(units_.width()), room.height() / double(units_.height()));
  const double scale = std::clamp(std::floor(fits / kScaleStep) * kScaleStep, 1.0, kLargestScale);
  QSize frame = FrameSizeAt(scale);
  const int taller = Round(std::max(extent_ - units_.height(), 0) * scale);
  frame.setHeight(std::max(std::min(frame.height() + taller, height()), frame.height()));
  const bool changed = scale != scale_ || frame != frame_->size();
  scale_ = scale;
  frame_->setGeometry(QRect(QPoint(0, 0), frame));
  if (side_) side_->setGeometry(frame.width() + kSideGap, 0, SideWidth() - kSideGap, height());
  // The owner reads the sizes of what the frame holds at once.
  if (frame_->layout()) frame_->layout()->activate();
  if (changed) emit Fitted();
}

}  // namespace ConfigEditor
