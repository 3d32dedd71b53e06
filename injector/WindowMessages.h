// Message boxes while the program has a screen; the console otherwise.
#pragma once

#include <QPointer>
#include <QWidget>

#include "injector/UserMessages.h"

class QFontMetrics;

// The text with its lines broken between words so that each fits `width`; a word wider
// than that (a long path) gets a line of its own, cut in the middle if it still does not
// fit. A box that breaks lines by itself would break a path after any "/".
QString WrapBetweenWords(const QString& text, const QFontMetrics& metrics, int width);

class WindowMessages : public UserMessages {
 public:
  explicit WindowMessages(bool displayAvailable) : displayAvailable_(displayAvailable) {}

  // Errors go to boxes over this window once it is shown.
  void SetWindow(QWidget* window) { window_ = window; }

  void ShowInformation(const QString& title, const QString& text) override;
  void ShowError(const QString& title, const QString& text) override;

 private:
  bool displayAvailable_;
  QPointer<QWidget> window_;
  ConsoleMessages console_;
};
