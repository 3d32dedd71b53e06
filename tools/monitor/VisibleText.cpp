#include "VisibleText.h"

#include <cstdio>

#include "common/Text1252.h"

namespace {

bool shownAsCode(unsigned char byte) {
  switch (byte) {
    case 0x7F:
    case 0x81:
    case 0x8D:
    case 0x8F:
    case 0x90:
    case 0x9D:
    case 0xFE:
      return true;
    default:
      return byte < 0x20;
  }
}

}  // namespace

std::string visibleText(std::string_view bytes) {
  using Halvane_Common_Procedures::FromWindows1252;
  using Halvane_Common_Procedures::Utf16ToUtf8;
  std::string shown;
  size_t runStart = 0;
  for (size_t i = 0; i <= bytes.size(); ++i) {
    if (i < bytes.size() && !shownAsCode(static_cast<unsigned char>(bytes[i]))) continue;
    shown += Utf16ToUtf8(FromWindows1252(bytes.substr(runStart, i - runStart)));
    if (i < bytes.size()) {
      char code[5];
      std::snprintf(code, sizeof code, "<%02X>", static_cast<unsigned char>(bytes[i]));
      shown += code;
    }
    runStart = i + 1;
  }
  return shown;
}
