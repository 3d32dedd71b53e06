// How a long burst shows itself in the window: once it has run for half a second, a busy
// pointer and a progress dialog with "Cancel", modal to the window. Only the dialog and the
// painting of the windows get through meanwhile; the window's own handlers wait, since the
// model runs none of them inside a burst. A wait for the alarm server, in a burst or while
// the window closes, shows the same dialog with what is awaited and for how long at most.
#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <chrono>
#include <memory>

#include "injector/FXL_Main.h"

class QProgressDialog;
class QWidget;

class BurstProgress : public BurstFeedback {
 public:
  explicit BurstProgress(QWidget* window,
                         std::chrono::milliseconds showAfter = std::chrono::milliseconds(500));
  ~BurstProgress() override;

  bool Continue(std::int32_t done, std::int32_t requested) override;
  bool Waiting(qint64 bytes, std::chrono::milliseconds left) override;
  void Finished() override;

 private:
  // Whether it is time to show and look at the dialog again.
  bool Due();
  // A dialog counting to `maximum`; 0 shows it busy.
  void Show(const QString& label, std::int32_t maximum);
  // Lets the dialog's events in; false once it was cancelled.
  bool LetEventsIn();
  bool Cancelled() const;

  QPointer<QWidget> window_;
  std::chrono::milliseconds showAfter_;
  QElapsedTimer running_;
  qint64 nextLook_ = 0;
  std::unique_ptr<QProgressDialog> dialog_;
  bool waiting_ = false;
};
