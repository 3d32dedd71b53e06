#include "injector/WindowMessages.h"

#include <QMessageBox>

namespace {

void ShowBox(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
  QString shown = text;
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QMessageBox box(icon, title, shown, QMessageBox::Ok, parent);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

}  // namespace

void WindowMessages::ShowInformation(const QString& title, const QString& text) {
  if (!displayAvailable_) return console_.ShowInformation(title, text);
  ShowBox(window_, QMessageBox::NoIcon, title, text);
}

void WindowMessages::ShowError(const QString& title, const QString& text) {
  if (!displayAvailable_ || window_ == nullptr || !window_->isVisible()) {
    return console_.ShowError(title, text);
  }
  ShowBox(window_, QMessageBox::NoIcon, title, text);
}
