// A picture surface for tests: it keeps what was drawn, in order, and measures every text
// with fixed metrics, so drawings compare against golden lists.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "config/PaintSurface.h"

namespace Halvane_Config {

class RecordingPaintSurface : public PaintSurface {
 public:
  static constexpr double kCharWidth = 6;
  static constexpr double kTextHeight = 12;
  static constexpr std::int32_t kDeviceContext = 4242;

  struct Drawing {
    enum class Kind { Line, Box, Print, Pointer, ToolTip };
    Kind kind = Kind::Line;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;  // a box's x2, y2 are its width and height
    Colour colour = 0;
    bool bold = false;
    std::u16string text{};
    MousePointer pointer = MousePointer::Default;
  };

  void Line(double x1, double y1, double x2, double y2, Colour colour) override;
  void FilledBox(double x, double y, double width, double height, Colour colour) override;
  double TextWidth(std::u16string_view text) override { return kCharWidth * text.size(); }
  double TextHeight(std::u16string_view) override { return kTextHeight; }
  double CurrentX() const override { return currentX_; }
  double CurrentY() const override { return currentY_; }
  void SetCurrentX(double x) override { currentX_ = x; }
  void SetCurrentY(double y) override { currentY_ = y; }
  void Print(std::u16string_view text) override;
  Colour ForeColor() const override { return foreColor_; }
  void SetForeColor(Colour colour) override { foreColor_ = colour; }
  Colour BackColor() const override { return backColor_; }
  void SetBackColor(Colour colour) override { backColor_ = colour; }
  bool FontBold() const override { return bold_; }
  void SetFontBold(bool bold) override { bold_ = bold; }
  std::u16string ToolTipText() const override { return toolTip_; }
  void SetToolTipText(std::u16string_view text) override;
  std::int32_t DeviceContext() const override { return kDeviceContext; }
  void SetMousePointer(MousePointer pointer) override;

  MousePointer Pointer() const { return pointer_; }

  // Every drawing in order, one line each:
  //   Line 30,4 318,4 rgb(220,220,220)
  //   Box 32,22 37x22 rgb(255,255,255)
  //   Print "Mo" at 16,5.5 rgb(0,0,0) [bold]
  //   MousePointer 9
  //   ToolTip "Easter"
  // System colours show as GrayText and ButtonText.
  std::vector<std::string> Log() const;
  void ClearLog() { drawings.clear(); }

  std::vector<Drawing> drawings;

 private:
  double currentX_ = 0;
  double currentY_ = 0;
  Colour foreColor_ = kBlack;
  Colour backColor_ = kWhite;
  bool bold_ = false;
  std::u16string toolTip_;
  MousePointer pointer_ = MousePointer::Default;
};

std::string DescribeColour(Colour colour);

// Lines of a log written in parts, joined in order.
inline std::vector<std::string> Concat(std::initializer_list<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const std::vector<std::string>& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

}  // namespace Halvane_Config
