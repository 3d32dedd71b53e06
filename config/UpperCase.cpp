#include "config/UpperCase.h"

namespace Halvane_Config {
namespace {

char16_t UpperOf(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  // à..þ without the division sign ÷.
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  switch (c) {
    case 0xFF:  // ÿ
      return 0x178;
    case 0x161:  // š
      return 0x160;
    case 0x153:  // œ
      return 0x152;
    case 0x17E:  // ž
      return 0x17D;
    default:
      return c;
  }
}

}  // namespace

std::u16string UpperCase(std::u16string_view text) {
  std::u16string upper(text);
  for (char16_t& c : upper)
    c = UpperOf(c);
  return upper;
}

}  // namespace Halvane_Config
