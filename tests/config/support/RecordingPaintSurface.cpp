#include "RecordingPaintSurface.h"

#include <cstdio>

#include "common/Text1252.h"

namespace Halvane_Config {

namespace {

std::string Number(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%g", value);
  return buffer;
}

std::string Point(double x, double y) {
  return Number(x) + "," + Number(y);
}

}  // namespace

std::string DescribeColour(Colour colour) {
  if (colour == kSystemGrayText) return "GrayText";
  if (colour == kSystemButtonText) return "ButtonText";
  return "rgb(" + std::to_string(colour & 0xFF) + "," + std::to_string((colour >> 8) & 0xFF) + "," +
         std::to_string((colour >> 16) & 0xFF) + ")";
}

void RecordingPaintSurface::Line(double x1, double y1, double x2, double y2, Colour colour) {
  drawings.push_back(
      {.kind = Drawing::Kind::Line, .x1 = x1, .y1 = y1, .x2 = x2, .y2 = y2, .colour = colour});
  currentX_ = x2;
  currentY_ = y2;
}

void RecordingPaintSurface::FilledBox(double x, double y, double width, double height,
                                      Colour colour) {
  drawings.push_back(
      {.kind = Drawing::Kind::Box, .x1 = x, .y1 = y, .x2 = width, .y2 = height, .colour = colour});
}

void RecordingPaintSurface::Print(std::u16string_view text) {
  drawings.push_back({.kind = Drawing::Kind::Print,
                      .x1 = currentX_,
                      .y1 = currentY_,
                      .colour = foreColor_,
                      .bold = bold_,
                      .text = std::u16string(text)});
  currentX_ += TextWidth(text);
}

void RecordingPaintSurface::SetToolTipText(std::u16string_view text) {
  toolTip_ = text;
  drawings.push_back({.kind = Drawing::Kind::ToolTip, .text = toolTip_});
}

void RecordingPaintSurface::SetMousePointer(MousePointer pointer) {
  pointer_ = pointer;
  drawings.push_back({.kind = Drawing::Kind::Pointer, .pointer = pointer});
}

std::vector<std::string> RecordingPaintSurface::Log() const {
  namespace hcp = Halvane_Common_Procedures;
  std::vector<std::string> lines;
  for (const Drawing& d : drawings) {
    switch (d.kind) {
      case Drawing::Kind::Line:
        lines.push_back("Line " + Point(d.x1, d.y1) + " " + Point(d.x2, d.y2) + " " +
                        DescribeColour(d.colour));
        break;
      case Drawing::Kind::Box:
        lines.push_back("Box " + Point(d.x1, d.y1) + " " + Number(d.x2) + "x" + Number(d.y2) + " " +
                        DescribeColour(d.colour));
        break;
      case Drawing::Kind::Print:
        lines.push_back("Print \"" + hcp::Utf16ToUtf8(d.text) + "\" at " + Point(d.x1, d.y1) + " " +
                        DescribeColour(d.colour) + (d.bold ? " bold" : ""));
        break;
      case Drawing::Kind::Pointer:
        lines.push_back("MousePointer " + std::to_string(static_cast<int>(d.pointer)));
        break;
      case Drawing::Kind::ToolTip:
        lines.push_back("ToolTip \"" + hcp::Utf16ToUtf8(d.text) + "\"");
        break;
    }
  }
  return lines;
}

}  // namespace Halvane_Config
