#include "injector/WindowMessages.h"

#include <QFontMetrics>
#include <QMessageBox>
#include <QScreen>

namespace {

// A box wraps its text itself once it is wider than half the screen or 500 pixels; lines
// this much narrower keep it from doing so, its margins included.
constexpr int kBoxMargins = 60;

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text,
             bool wrap) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(icon, title, shown, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  if (wrap) {
    const int width = qMin(box.screen()->availableGeometry().width() / 2, 500) - kBoxMargins;
    box.setText(WrapBetweenWords(shown, box.fontMetrics(), width));
  }
  box.exec();
}

}  // namespace

QString WrapBetweenWords(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList lines;
  for (const QString& paragraph : text.split(u'\n')) {
    QString line;
    for (QString word : paragraph.split(u' ')) {
      if (metrics.horizontalAdvance(word) > width) {
        word = metrics.elidedText(word, Qt::ElideMiddle, width);
      }
      const QString longer = line.isEmpty() ? word : line + u' ' + word;
      if (!line.isEmpty() && metrics.horizontalAdvance(longer) > width) {
        lines << line;
        line = word;
      } else {
        line = longer;
      }
    }
    lines << line;
  }
  return lines.join(u'\n');
}

void WindowMessages::ShowInformation(const QString& title, const QString& text) {
  if (!displayAvailable_) return console_.ShowInformation(title, text);
  ShowBox(window_, QMessageBox::NoIcon, title, text, false);
}

void WindowMessages::ShowError(const QString& title, const QString& text) {
  if (!displayAvailable_ || window_ == nullptr || !window_->isVisible()) {
    return console_.ShowError(title, text);
  }
  ShowBox(window_, QMessageBox::NoIcon, title, text, true);
}
