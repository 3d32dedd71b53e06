// The picture surface a host window lends the configuration classes to draw on, in pixels
// with y growing downwards. Lines and boxes take their colour; printed text uses the fore
// colour and the bold setting, starts at the current position and moves it right by the
// text's width.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace Halvane_Config {

// 0x00BBGGRR, or a system colour (0x80000000 + the system's colour index), which the
// surface resolves to the user's colour scheme.
using Colour = std::uint32_t;

constexpr Colour Rgb(int red, int green, int blue) {
  return static_cast<Colour>(red & 0xFF) | static_cast<Colour>(green & 0xFF) << 8 |
         static_cast<Colour>(blue & 0xFF) << 16;
}

// A grey with red, green and blue all at one level.
constexpr Colour Grey(int level) {
  return Rgb(level, level, level);
}

inline constexpr Colour kBlack = Rgb(0, 0, 0);
inline constexpr Colour kWhite = Rgb(255, 255, 255);
inline constexpr Colour kSystemColourFlag = 0x80000000;
inline constexpr Colour kSystemGrayText = kSystemColourFlag | 0x11;
inline constexpr Colour kSystemButtonText = kSystemColourFlag | 0x12;

// The mouse buttons of the events a host forwards from its surface.
enum MouseButton : std::int16_t {
  kLeftButton = 1,
  kRightButton = 2,
  kMiddleButton = 4,
};

enum class MousePointer : std::int16_t {
  Default = 0,
  SizeWestEast = 9,
};

class PaintSurface {
 public:
  virtual ~PaintSurface() = default;

  // A line from (x1, y1) to (x2, y2); the current position moves to its end.
  virtual void Line(double x1, double y1, double x2, double y2, Colour colour) = 0;
  // A line from (x, y) by a step.
  void LineStep(double x, double y, double dx, double dy, Colour colour) {
    Line(x, y, x + dx, y + dy, colour);
  }
  virtual void FilledBox(double x, double y, double width, double height, Colour colour) = 0;

  virtual double TextWidth(std::u16string_view text) = 0;
  virtual double TextHeight(std::u16string_view text) = 0;

  virtual double CurrentX() const = 0;
  virtual double CurrentY() const = 0;
  virtual void SetCurrentX(double x) = 0;
  virtual void SetCurrentY(double y) = 0;
  // Prints at the current position without a line break.
  virtual void Print(std::u16string_view text) = 0;

  virtual Colour ForeColor() const = 0;
  virtual void SetForeColor(Colour colour) = 0;
  virtual Colour BackColor() const = 0;
  virtual void SetBackColor(Colour colour) = 0;
  virtual bool FontBold() const = 0;
  virtual void SetFontBold(bool bold) = 0;

  virtual std::u16string ToolTipText() const = 0;
  virtual void SetToolTipText(std::u16string_view text) = 0;

  // The handle hosts draw their images with.
  virtual std::int32_t DeviceContext() const = 0;
  virtual void SetMousePointer(MousePointer pointer) = 0;
};

}  // namespace Halvane_Config
