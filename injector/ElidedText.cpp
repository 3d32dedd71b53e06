#include "injector/ElidedText.h"

#include <QStyle>

template <typename Widget>
void Elided<Widget>::SetFullText(const QString& text) {
  if (text == fullText_) return;
  fullText_ = text;
  this->setToolTip(text);
  this->setAccessibleName(text);
  this->updateGeometry();
  Elide();
}

template <typename Widget>
int Elided<Widget>::TextWidth(int characters) const {
  return qMin(this->fontMetrics().horizontalAdvance(fullText_),
              this->fontMetrics().averageCharWidth() * characters);
}

template <typename Widget>
QSize Elided<Widget>::sizeHint() const {
  return {Decoration() + TextWidth(preferred_), Widget::sizeHint().height()};
}

template <typename Widget>
QSize Elided<Widget>::minimumSizeHint() const {
  return {Decoration() + TextWidth(minimum_), Widget::minimumSizeHint().height()};
}

template <typename Widget>
void Elided<Widget>::resizeEvent(QResizeEvent* event) {
  Widget::resizeEvent(event);
  Elide();
}

template <typename Widget>
void Elided<Widget>::Elide() {
  this->setText(this->fontMetrics().elidedText(fullText_, mode_, this->width() - Decoration()));
}

template <>
int Elided<QLabel>::Decoration() const {
  return width() - contentsRect().width();
}

template <>
int Elided<QRadioButton>::Decoration() const {
  return style()->pixelMetric(QStyle::PM_ExclusiveIndicatorWidth, nullptr, this) +
         style()->pixelMetric(QStyle::PM_RadioButtonLabelSpacing, nullptr, this) + 2;
}

template class Elided<QLabel>;
template class Elided<QRadioButton>;
