#include "common/Variant.h"

#include <charconv>
#include <cstdio>
#include <string>

#include "common/Numbers.h"
#include "common/RuntimeError.h"

namespace Halvane_Common_Procedures {
namespace {

template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
// Clang 14 does not deduce an aggregate's template arguments by itself.
template <class... F>
Overloaded(F...) -> Overloaded<F...>;

// The numeric value of a number, Boolean or date; nothing for the other kinds.
bool NumericValue(const Variant::Value& value, double* out) {
  return std::visit(
      Overloaded{
          [out](std::int16_t v) { return *out = v, true; },
          [out](std::int32_t v) { return *out = v, true; },
          [out](float v) { return *out = v, true; },
          [out](double v) { return *out = v, true; },
          [out](Currency v) { return *out = static_cast<double>(v.tenThousandths) / 10000, true; },
          [out](DateTime v) { return *out = v.days, true; },
          [out](bool v) { return *out = v ? -1 : 0, true; },
          [out](std::uint8_t v) { return *out = v, true; },
          [](const auto&) { return false; },
      },
      value);
}

std::u16string Ascii(std::string_view text) {
  return std::u16string(text.begin(), text.end());
}

// Shortest general form with the given significant digits and an upper-case exponent of
// at least two digits ("1E+20", "1.5E-07").
template <typename Floating>
std::u16string GeneralForm(Floating value, int digits) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
  std::string text(buffer, result.ptr);
  const std::size_t e = text.find('e');
  if (e != std::string::npos) text[e] = 'E';
  return Ascii(text);
}

std::u16string TwoDigits(int value) {
  return {static_cast<char16_t>(u'0' + value / 10), static_cast<char16_t>(u'0' + value % 10)};
}

std::u16string DateText(DateTime date) {
  const CivilTime t = ToCivilTime(date);
  std::u16string text;
  const bool onZeroDate = date.days > -1 && date.days < 1;
  if (!onZeroDate) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", t.year, t.month, t.day);
    text = Ascii(buffer);
  }
  if (onZeroDate || t.hour != 0 || t.minute != 0 || t.second != 0) {
    if (!text.empty()) text += u' ';
    text += TwoDigits(t.hour) + u":" + TwoDigits(t.minute) + u":" + TwoDigits(t.second);
  }
  return text;
}

std::u16string CurrencyText(Currency value) {
  const bool negative = value.tenThousandths < 0;
  // Unsigned, so the most negative amount has a magnitude too.
  const std::uint64_t magnitude = negative ? 0 - static_cast<std::uint64_t>(value.tenThousandths)
                                           : static_cast<std::uint64_t>(value.tenThousandths);
  std::string text = std::to_string(magnitude / 10000);
  std::string decimals = std::to_string(magnitude % 10000 + 10000).substr(1);
  while (!decimals.empty() && decimals.back() == '0')
    decimals.pop_back();
  if (!decimals.empty()) text += "." + decimals;
  return Ascii((negative ? "-" : "") + text);
}

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r';
}

std::u16string_view Trimmed(std::u16string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

bool EqualsIgnoringCase(std::u16string_view text, std::u16string_view lower) {
  if (text.size() != lower.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i] >= u'A' && text[i] <= u'Z' ? text[i] - u'A' + u'a' : text[i];
    if (c != lower[i]) return false;
  }
  return true;
}

// A text that spells a number as a whole ("12", " -1.5 ", "1e3", "&HFF").
bool TextNumber(std::u16string_view text, double* out) {
  text = Trimmed(text);
  if (text.size() > 2 && text[0] == u'&') {
    *out = LeadingNumber(text);
    const char16_t radix = text[1];
    for (char16_t c : text.substr(2)) {
      const bool octal = c >= u'0' && c <= u'7';
      const bool hex =
          octal || (c >= u'8' && c <= u'9') || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F');
      if (!((radix == u'O' || radix == u'o') ? octal : hex)) return false;
    }
    return radix == u'H' || radix == u'h' || radix == u'O' || radix == u'o';
  }
  std::string ascii;
  for (char16_t c : text) {
    const bool allowed =
        (c >= u'0' && c <= u'9') || c == u'.' || c == u'-' || c == u'+' || c == u'e' || c == u'E';
    if (!allowed) return false;
    ascii += static_cast<char>(c);
  }
  const char* first = ascii.data();
  if (!ascii.empty() && *first == '+') ++first;
  const char* last = ascii.data() + ascii.size();
  const auto result = std::from_chars(first, last, *out);
  return result.ec == std::errc() && result.ptr == last;
}

}  // namespace

VariantType Variant::Type() const {
  static constexpr VariantType kTypes[] = {
      VariantType::Empty,  VariantType::Null,   VariantType::Integer,  VariantType::Long,
      VariantType::Single, VariantType::Double, VariantType::Currency, VariantType::Date,
      VariantType::String, VariantType::Object, VariantType::Boolean,  VariantType::Byte,
  };
  static_assert(std::size(kTypes) == std::variant_size_v<Value>);
  return kTypes[value_.index()];
}

bool Variant::IsNumeric() const {
  double ignored;
  return NumericValue(value_, &ignored);
}

std::u16string ToText(const Variant& value) {
  return std::visit(Overloaded{
                        [](EmptyValue) { return std::u16string(); },
                        [](NullValue) -> std::u16string { throw RuntimeError(kInvalidUseOfNull); },
                        [](std::int16_t v) { return Ascii(std::to_string(v)); },
                        [](std::int32_t v) { return Ascii(std::to_string(v)); },
                        [](float v) { return GeneralForm(v, 7); },
                        [](double v) { return GeneralForm(v, 15); },
                        [](Currency v) { return CurrencyText(v); },
                        [](DateTime v) { return DateText(v); },
                        [](const std::u16string& v) { return v; },
                        [](const ObjectRef&) -> std::u16string {
                          throw RuntimeError(kObjectDoesNotSupportMember);
                        },
                        [](bool v) { return std::u16string(v ? u"True" : u"False"); },
                        [](std::uint8_t v) { return Ascii(std::to_string(v)); },
                    },
                    value.value());
}

double ToDouble(const Variant& value) {
  double number = 0;
  if (value.IsEmpty()) return 0;
  if (value.IsNull()) throw RuntimeError(kInvalidUseOfNull);
  if (NumericValue(value.value(), &number)) return number;
  if (value.IsText() && TextNumber(value.Get<std::u16string>(), &number)) return number;
  throw RuntimeError(kTypeMismatch);
}

bool ToBoolean(const Variant& value) {
  if (value.IsText()) {
    const std::u16string_view text = Trimmed(value.Get<std::u16string>());
    if (EqualsIgnoringCase(text, u"true")) return true;
    if (EqualsIgnoringCase(text, u"false")) return false;
  }
  return ToDouble(value) != 0;
}

bool SettingsEqual(const Variant& a, const Variant& b) {
  if (a.IsNull() || b.IsNull()) return a.IsNull() && b.IsNull();
  if (a.IsObject() || b.IsObject()) return a == b;
  if (a.IsEmpty() && b.IsEmpty()) return true;
  if (a.IsEmpty() || b.IsEmpty()) {
    const Variant& other = a.IsEmpty() ? b : a;
    double number = 0;
    if (NumericValue(other.value(), &number)) return number == 0;
    return other.Get<std::u16string>().empty();
  }
  double x = 0, y = 0;
  const bool numericA = NumericValue(a.value(), &x);
  const bool numericB = NumericValue(b.value(), &y);
  if (numericA && numericB) return x == y;
  if (numericA || numericB) return false;
  return a.Get<std::u16string>() == b.Get<std::u16string>();
}

}  // namespace Halvane_Common_Procedures
