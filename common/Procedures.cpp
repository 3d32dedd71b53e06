#include <dirent.h>
#include <sys/stat.h>

#include <memory>

#include "common/Halvane_Common_Procedures.h"

namespace Halvane_Common_Procedures {

std::u16string TextStore;
std::vector<TextIndexRow> TextIndex;
std::int32_t TextCount = 0;

namespace {

constexpr std::u16string_view kTimeSeparators = u":., -+";

std::int16_t ClampToDay(double minutes) {
  const std::int32_t whole = ToInt32(minutes);
  return static_cast<std::int16_t>(whole < 0 ? 0 : (whole > 1440 ? 1440 : whole));
}

bool HasWildcard(std::string_view s) {
  return s.find_first_of("*?") != std::string_view::npos;
}

// "*" matches any run of characters, "?" any one; nothing else is special.
bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  std::size_t p = 0, n = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
      ++p, ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      starP = p++, starN = n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1, n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*')
    ++p;
  return p == pattern.size();
}

bool IsNormalFile(const std::string& path, std::string_view name) {
  struct stat info {};
  return !name.empty() && name[0] != '.' && ::stat(path.c_str(), &info) == 0 &&
         S_ISREG(info.st_mode);
}

std::u16string NumberedForm(const char16_t* prefix, std::int32_t number) {
  std::u16string text = prefix;
  for (char c : std::to_string(number))
    text += static_cast<char16_t>(c);
  return text + u")";
}

}  // namespace

std::int16_t TimeTextToMinutes(std::u16string_view text) {
  for (char16_t separator : kTimeSeparators) {
    const std::size_t p = text.find(separator);
    if (p != std::u16string_view::npos) {
      return ClampToDay(LeadingNumber(text.substr(0, p)) * 60 + LeadingNumber(text.substr(p + 1)));
    }
  }
  std::u16string digits(text);
  if (digits.size() < 3 && (digits.empty() || digits[0] != u'0')) digits += u"00";
  digits = u"0000" + digits;
  const std::u16string_view hhmm = std::u16string_view(digits).substr(digits.size() - 4);
  return ClampToDay(LeadingNumber(hhmm.substr(0, 2)) * 60 + LeadingNumber(hhmm.substr(2)));
}

std::u16string IntegerToChars(std::int16_t value) {
  const auto u = static_cast<std::uint16_t>(value);
  return {Windows1252Char(static_cast<unsigned char>(u >> 8)),
          Windows1252Char(static_cast<unsigned char>(u & 0xFF))};
}

std::int16_t CharsToInteger(std::u16string_view text) {
  if (text.size() < 2) throw RuntimeError(kInvalidProcedureCall);
  const int x = Windows1252Code(text[0]) * 256 + Windows1252Code(text[1]);
  return static_cast<std::int16_t>(x >= 32768 ? x - 65536 : x);
}

bool FileExists(std::u16string_view path) {
  const std::string utf8 = Utf16ToUtf8(path);
  const std::size_t slash = utf8.rfind('/');
  const std::string folder =
      slash == std::string::npos ? "." : (slash == 0 ? "/" : utf8.substr(0, slash));
  const std::string_view name = slash == std::string::npos
                                    ? std::string_view(utf8)
                                    : std::string_view(utf8).substr(slash + 1);
  if (name.empty() || HasWildcard(folder)) return false;
  if (!HasWildcard(name)) return IsNormalFile(utf8, name);

  const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(folder.c_str()), &::closedir);
  if (!dir) return false;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view entryName = entry->d_name;
    if (MatchesWildcard(name, entryName) &&
        IsNormalFile(folder + "/" + std::string(entryName), entryName)) {
      return true;
    }
  }
  return false;
}

std::u16string GetTextByNumber(std::int32_t number) {
  for (std::int32_t row = 0; row < TextCount && row < static_cast<std::int32_t>(TextIndex.size());
       ++row) {
    const TextIndexRow& entry = TextIndex[row];
    if (entry.number != number) continue;
    if (entry.length <= 0 || entry.start < 1 ||
        static_cast<std::size_t>(entry.start) > TextStore.size()) {
      return NumberedForm(u"*** Missing text (", number);
    }
    return TextStore.substr(entry.start - 1, entry.length);
  }
  return NumberedForm(u"*** Invalid Text (", number);
}

}  // namespace Halvane_Common_Procedures
