#include "injector/BurstProgress.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>
#include <utility>

#include "injector/SendStatus.h"
#include "injector/UserMessages.h"

namespace {

// Often enough to follow the mouse; seldom enough to cost the burst nothing.
constexpr qint64 kLookEveryMs = 40;

QString SendingText(std::int32_t requested) {
  return QStringLiteral("Sending %1 events...").arg(requested);
}

}  // namespace

BurstProgress::BurstProgress(QWidget* window, std::chrono::milliseconds showAfter)
    : window_(window), showAfter_(showAfter) {}

BurstProgress::~BurstProgress() {
  Finished();
}

bool BurstProgress::Due() {
  if (!running_.isValid()) {
    running_.start();
    nextLook_ = showAfter_.count();
  }
  const qint64 now = running_.elapsed();
  if (now < nextLook_) return false;
  nextLook_ = now + kLookEveryMs;
  return true;
}

bool BurstProgress::Continue(std::int32_t done, std::int32_t requested) {
  if (!Due()) return !Cancelled();
  if (dialog_ == nullptr) Show(SendingText(requested), requested);
  if (std::exchange(waiting_, false)) dialog_->setLabelText(SendingText(requested));
  dialog_->setValue(done);
  return LetEventsIn();
}

bool BurstProgress::Waiting(qint64 bytes, std::chrono::milliseconds left) {
  if (!Due()) return !Cancelled();
  if (dialog_ == nullptr) Show({}, 0);
  dialog_->setLabelText(WaitingForServerText(bytes, left));
  waiting_ = true;
  return LetEventsIn();
}

bool BurstProgress::LetEventsIn() {
  QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
  return !Cancelled();
}

bool BurstProgress::Cancelled() const {
  return dialog_ != nullptr && dialog_->wasCanceled();
}

void BurstProgress::Show(const QString& label, std::int32_t maximum) {
  QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  dialog_ = std::make_unique<QProgressDialog>(label, QStringLiteral("Cancel"), 0, maximum, window_);
  dialog_->setWindowTitle(ProgramName());
  dialog_->setWindowModality(Qt::WindowModal);
  dialog_->setAutoClose(false);
  dialog_->setAutoReset(false);
  dialog_->setMinimumDuration(0);
  dialog_->show();
}

void BurstProgress::Finished() {
  running_.invalidate();
  waiting_ = false;
  if (dialog_ == nullptr) return;
  dialog_.reset();
  QGuiApplication::restoreOverrideCursor();
}
