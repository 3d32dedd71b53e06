// Message boxes while the program has a screen; the console otherwise.
#pragma once

#include <QPointer>
#include <QWidget>

#include "injector/UserMessages.h"

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
