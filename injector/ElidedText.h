// Widgets whose text may be longer than the room they get: they show what fits, cut with
// "...", and carry the whole text in their tooltip, so that a long program folder or
// status never makes the window wider than the screen.
#pragma once

#include <QLabel>
#include <QRadioButton>

// Widget is a QLabel or a QRadioButton; its text is cut where `mode` says.
template <typename Widget>
class Elided : public Widget {
 public:
  // The widget asks for room for at most `preferredCharacters` and needs room for
  // `minimumCharacters`, counted in average characters.
  Elided(Qt::TextElideMode mode, int preferredCharacters, int minimumCharacters)
      : mode_(mode), preferred_(preferredCharacters), minimum_(minimumCharacters) {}

  const QString& FullText() const { return fullText_; }
  void SetFullText(const QString& text);

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  // The width beside the text: a radio button's indicator.
  int Decoration() const;
  int TextWidth(int characters) const;
  void Elide();

  Qt::TextElideMode mode_;
  int preferred_;
  int minimum_;
  QString fullText_;
};

// A status line, cut at its end.
using ElidedLabel = Elided<QLabel>;
// An option whose caption holds a path: cut in the middle, so that both the start of the
// path and the file name stay visible.
using ElidedRadioButton = Elided<QRadioButton>;
