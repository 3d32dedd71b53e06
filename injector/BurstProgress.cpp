#include "injector/BurstProgress.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>

#include "injector/UserMessages.h"

namespace {

// Often enough to follow the mouse; seldom enough to cost the burst nothing.
constexpr qint64 kLookEveryMs = 40;

}  // namespace

BurstProgress::BurstProgress(QWidget* window, std::chrono::milliseconds showAfter)
    : window_(window), showAfter_(showAfter) {}

BurstProgress::~BurstProgress() {
  Finished();
}

bool BurstProgress::Continue(std::int32_t done, std::int32_t requested) {
  if (!running_.isValid()) {
    running_.start();
    nextLook_ = showAfter_.count();
  }
  const qint64 now = running_.elapsed();
  if (now < nextLook_) return true;
  nextLook_ = now + kLookEveryMs;
  if (dialog_ == nullptr) Show(requested);
  dialog_->setValue(done);
  QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
  return !dialog_->wasCanceled();
}

void BurstProgress::Show(std::int32_t requested) {
  QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  dialog_ = std::make_unique<QProgressDialog>(QStringLiteral("Sending %1 events...").arg(requested),
                                              QStringLiteral("Cancel"), 0, requested, window_);
  dialog_->setWindowTitle(ProgramName());
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setAutoClose(false);
  dialog_->setAutoReset(false);
  dialog_->setMinimumDuration(0);
  dialog_->show();
}

void BurstProgress::Finished() {
  running_.invalidate();
  if (dialog_ == nullptr) return;
  dialog_.reset();
  QGuiApplication::restoreOverrideCursor();
}
