// The image list of the 16 special day types, drawn by the program: each a shape in a
// colour of its own with the day type's number on it, so that no two look alike, on any
// screen and to colour-blind users too (images 1..8 are discs, 9..16 squares).
#pragma once

#include <QIcon>
#include <QImage>

namespace ConfigEditor {

class DayTypeImages {
 public:
  static constexpr int kCount = 16;
  static constexpr int kWidth = 16;
  static constexpr int kHeight = 16;

  // Image 1..16 for a screen of this device pixel ratio; other indexes give a null image.
  static QImage Image(int index, qreal devicePixelRatio = 1);
  static QIcon Icon(int index);
  // The colour that identifies an image.
  static QColor Colour(int index);

 private:
  static QImage Draw(int index, qreal devicePixelRatio);
};

}  // namespace ConfigEditor
