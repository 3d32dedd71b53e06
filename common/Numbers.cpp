#include "common/Numbers.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

#include "common/RuntimeError.h"

namespace Halvane_Common_Procedures {
namespace {

bool IsIgnoredBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n';
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

int DigitValue(char16_t c, int radix) {
  int value = radix;
  if (c >= u'0' && c <= u'9') value = c - u'0';
  if (c >= u'a' && c <= u'f') value = c - u'a' + 10;
  if (c >= u'A' && c <= u'F') value = c - u'A' + 10;
  return value < radix ? value : -1;
}

double ReadRadix(std::u16string_view digits, int radix) {
  double value = 0;
  for (char16_t c : digits) {
    const int digit = DigitValue(c, radix);
    if (digit < 0) break;
    value = value * radix + digit;
  }
  return value;
}

// Collects the longest prefix that forms a decimal number, as ASCII for from_chars
// (which, unlike strtod, ignores the process locale's decimal separator).
std::string DecimalPrefix(std::u16string_view s) {
  std::string out;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) out += static_cast<char>(s[i++]);
  bool digits = false;
  while (i < s.size() && IsDigit(s[i]))
    out += static_cast<char>(s[i++]), digits = true;
  if (i < s.size() && s[i] == u'.') {
    out += '.';
    ++i;
    while (i < s.size() && IsDigit(s[i]))
      out += static_cast<char>(s[i++]), digits = true;
  }
  if (!digits) return {};
  if (i < s.size() && (s[i] == u'e' || s[i] == u'E')) {
    std::size_t j = i + 1;
    std::string exponent = "e";
    if (j < s.size() && (s[j] == u'+' || s[j] == u'-')) exponent += static_cast<char>(s[j++]);
    if (j < s.size() && IsDigit(s[j])) {
      while (j < s.size() && IsDigit(s[j]))
        exponent += static_cast<char>(s[j++]);
      out += exponent;
    }
  }
  return out;
}

// For a decimal prefix that a double cannot hold: true when it is too large (rather
// than too close to zero), judged by the position of its first significant digit.
bool BeyondLargest(const std::string& prefix) {
  std::size_t i = (prefix[0] == '+' || prefix[0] == '-') ? 1 : 0;
  long long magnitude = 0;
  while (i < prefix.size() && prefix[i] == '0')
    ++i;
  while (i < prefix.size() && std::isdigit(static_cast<unsigned char>(prefix[i])))
    ++magnitude, ++i;
  if (magnitude == 0 && i < prefix.size() && prefix[i] == '.') {
    ++i;
    while (i < prefix.size() && prefix[i] == '0')
      --magnitude, ++i;
  }
  const std::size_t e = prefix.find('e');
  if (e != std::string::npos) {
    long long exponent = 0;
    const bool negative = prefix[e + 1] == '-';
    for (std::size_t j = e + 1; j < prefix.size(); ++j) {
      if (std::isdigit(static_cast<unsigned char>(prefix[j])) && exponent < 1'000'000'000) {
        exponent = exponent * 10 + (prefix[j] - '0');
      }
    }
    magnitude += negative ? -exponent : exponent;
  }
  return magnitude > 0;
}

}  // namespace

double LeadingNumber(std::u16string_view text) {
  std::u16string s;
  s.reserve(text.size());
  for (char16_t c : text) {
    if (!IsIgnoredBlank(c)) s += c;
  }
  if (s.size() >= 2 && s[0] == u'&') {
    if (s[1] == u'H' || s[1] == u'h') return ReadRadix(std::u16string_view(s).substr(2), 16);
    if (s[1] == u'O' || s[1] == u'o') return ReadRadix(std::u16string_view(s).substr(2), 8);
  }
  const std::string prefix = DecimalPrefix(s);
  if (prefix.empty()) return 0;
  const char* first = prefix.data();
  if (*first == '+') ++first;
  double value = 0;
  const auto [end, error] = std::from_chars(first, prefix.data() + prefix.size(), value);
  (void)end;
  if (error == std::errc::result_out_of_range) {
    // Overflow stays visible as an infinity (callers then raise their overflow error);
    // an underflow is as good as zero.
    if (!BeyondLargest(prefix)) return 0;
    const double infinity = std::numeric_limits<double>::infinity();
    return prefix[0] == '-' ? -infinity : infinity;
  }
  return value;
}

double RoundHalfEven(double value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

std::int16_t ToInt16(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw RuntimeError(kOverflow);
  return static_cast<std::int16_t>(rounded);
}

std::int32_t ToInt32(double value) {
  const double rounded = RoundHalfEven(value);
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) throw RuntimeError(kOverflow);
  return static_cast<std::int32_t>(rounded);
}

}  // namespace Halvane_Common_Procedures
