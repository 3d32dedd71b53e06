#include "injector/ElidedText.h"

#include <QStyle>

namespace {

// How wide a text may make its widget ask to be, and how narrow it may become.
constexpr int kPreferredCharacters = 56;
constexpr int kMinimumCharacters = 20;

int TextWidth(const QFontMetrics& metrics, const QString& text, int characters) {
  return qMin(metrics.horizontalAdvance(text), metrics.averageCharWidth() * characters);
}

}  // namespace

void ElidedLabel::SetFullText(const QString& text) {
  if (text == fullText_) return;
  fullText_ = text;
  setToolTip(text);
  updateGeometry();
  Elide();
}

QSize ElidedLabel::sizeHint() const {
  return {TextWidth(fontMetrics(), fullText_, kPreferredCharacters), QLabel::sizeHint().height()};
}

QSize ElidedLabel::minimumSizeHint() const {
  return {0, QLabel::minimumSizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void ElidedLabel::Elide() {
  setText(fontMetrics().elidedText(fullText_, Qt::ElideRight, contentsRect().width()));
}

void ElidedRadioButton::SetFullText(const QString& text) {
  if (text == fullText_) return;
  fullText_ = text;
  setToolTip(text);
  setAccessibleName(text);
  updateGeometry();
  Elide();
}

int ElidedRadioButton::IndicatorWidth() const {
  return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this) +
         style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, this) + 2;
}

QSize ElidedRadioButton::sizeHint() const {
  return {IndicatorWidth() + TextWidth(fontMetrics(), fullText_, kPreferredCharacters),
          QRadioButton::sizeHint().height()};
}

QSize ElidedRadioButton::minimumSizeHint() const {
  return {IndicatorWidth() + TextWidth(fontMetrics(), fullText_, kMinimumCharacters),
          QRadioButton::minimumSizeHint().height()};
}

void ElidedRadioButton::resizeEvent(QResizeEvent* event) {
  QRadioButton::resizeEvent(event);
  Elide();
}

void ElidedRadioButton::Elide() {
  setText(fontMetrics().elidedText(fullText_, Qt::ElideMiddle, width() - IndicatorWidth()));
}
