#include "common/Text1252.h"

#include <array>
#include <optional>

namespace Halvane_Common_Procedures {
namespace {

// Windows-1252 bytes 0x80..0x9F. The undefined bytes keep their own code point.
constexpr std::array<char16_t, 32> kHighControlBlock = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr char16_t kReplacement = u'\uFFFD';

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

void AppendUtf16(char32_t cp, std::u16string& out) {
  if (cp < 0x10000) {
    out += static_cast<char16_t>(cp);
  } else {
    cp -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (cp >> 10));
    out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
  }
}

bool IsHighSurrogate(char16_t u) {
  return u >= 0xD800 && u <= 0xDBFF;
}
bool IsLowSurrogate(char16_t u) {
  return u >= 0xDC00 && u <= 0xDFFF;
}

// The character whose UTF-8 sequence starts at text[i], and how many bytes to step over.
// An ill-formed sequence gives no character and steps over its lead byte and the
// continuation bytes that follow it, at most as many as the lead byte announced.
struct Utf8Step {
  std::optional<char32_t> cp;
  std::size_t length = 1;
};

Utf8Step NextUtf8(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  if (lead < 0x80) return {lead, 1};
  std::size_t extra = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if ((lead & 0xE0) == 0xC0) {
    extra = 1, cp = lead & 0x1F, minimum = 0x80;
  } else if ((lead & 0xF0) == 0xE0) {
    extra = 2, cp = lead & 0x0F, minimum = 0x800;
  } else if ((lead & 0xF8) == 0xF0) {
    extra = 3, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return {std::nullopt, 1};
  }
  std::size_t j = i + 1;
  for (; j < text.size() && j <= i + extra; ++j) {
    const auto next = static_cast<unsigned char>(text[j]);
    if ((next & 0xC0) != 0x80) break;
    cp = (cp << 6) | (next & 0x3F);
  }
  const bool valid =
      j == i + 1 + extra && cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
  return {valid ? std::optional<char32_t>(cp) : std::nullopt, j - i};
}

}  // namespace

unsigned char Windows1252Code(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<unsigned char>(unit);
  for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
    if (kHighControlBlock[i] == unit) return static_cast<unsigned char>(0x80 + i);
  }
  return '?';
}

char16_t Windows1252Char(unsigned char code) {
  if (code >= 0x80 && code <= 0x9F) return kHighControlBlock[code - 0x80];
  return code;
}

void AppendWindows1252(std::u16string_view text, std::string& out) {
  const std::size_t base = out.size();
  out.resize(base + text.size());
  char* dest = out.data() + base;
  for (char16_t unit : text) {
    *dest++ = static_cast<char>(unit < 0x80 ? unit : Windows1252Code(unit));
  }
}

std::string ToWindows1252(std::u16string_view text) {
  std::string out;
  AppendWindows1252(text, out);
  return out;
}

std::u16string FromWindows1252(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char byte : bytes)
    out += Windows1252Char(static_cast<unsigned char>(byte));
  return out;
}

bool AppendUtf8AsWindows1252(std::string_view utf8, std::string& out, std::size_t* badOffset) {
  for (std::size_t i = 0; i < utf8.size();) {
    const Utf8Step step = NextUtf8(utf8, i);
    if (!step.cp) {
      *badOffset = i;
      return false;
    }
    if (*step.cp < 0x10000) {
      out += static_cast<char>(Windows1252Code(static_cast<char16_t>(*step.cp)));
    } else {
      out += "??";
    }
    i += step.length;
  }
  return true;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i];
    if (IsHighSurrogate(unit) && i + 1 < text.size() && IsLowSurrogate(text[i + 1])) {
      AppendUtf8(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00), out);
      ++i;
    } else if (IsHighSurrogate(unit) || IsLowSurrogate(unit)) {
      AppendUtf8(kReplacement, out);
    } else {
      AppendUtf8(unit, out);
    }
  }
  return out;
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Step step = NextUtf8(text, i);
    if (step.cp) {
      AppendUtf16(*step.cp, out);
    } else {
      out += kReplacement;
    }
    i += step.length;
  }
  return out;
}

}  // namespace Halvane_Common_Procedures
