// Widgets whose text may be longer than the room they get: they show what fits, cut with
// "...", and carry the whole text in their tooltip, so that a long program folder or
// status never makes the window wider than the screen.
#pragma once

#include <QLabel>
#include <QRadioButton>

// A one-line label cut at its end.
class ElidedLabel : public QLabel {
  Q_OBJECT
 public:
  explicit ElidedLabel(QWidget* parent = nullptr) : QLabel(parent) {}

  const QString& FullText() const { return fullText_; }
  void SetFullText(const QString& text);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();

  QString fullText_;
};

// An option button whose caption is cut in its middle, so that both the start of a path and
// the file name stay visible.
class ElidedRadioButton : public QRadioButton {
  Q_OBJECT
 public:
  explicit ElidedRadioButton(QWidget* parent = nullptr) : QRadioButton(parent) {}

  const QString& FullText() const { return fullText_; }
  void SetFullText(const QString& text);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  int IndicatorWidth() const;
  void Elide();

  QString fullText_;
};
