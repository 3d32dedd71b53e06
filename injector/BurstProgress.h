// How a long burst shows itself in the window: once it has run for half a second, a busy
// pointer and a progress dialog with "Cancel", modal to the window. Only the dialog and the
// painting of the windows get through meanwhile; the window's own handlers wait, since the
// model runs none of them inside a burst.
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
  void Finished() override;

 private:
  void Show(std::int32_t requested);

  QPointer<QWidget> window_;
  std::chrono::milliseconds showAfter_;
  QElapsedTimer running_;
  qint64 nextLook_ = 0;
  std::unique_ptr<QProgressDialog> dialog_;
};
