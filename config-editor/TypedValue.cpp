#include "config-editor/TypedValue.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <cmath>
#include <limits>

#include "common/Halvane_Common_Procedures.h"

namespace ConfigEditor {

namespace hcp = Halvane_Common_Procedures;

namespace {

QString Tr(const char* text) {
  return QCoreApplication::translate("ConfigEditor", text);
}

// The largest Currency amount, in whole units.
constexpr double kCurrencyLimit = 922337203685477.5807;

std::optional<hcp::DateTime> ParseDate(const QString& text) {
  static const QRegularExpression kDate(QStringLiteral(
      R"(^\s*(?:(\d{1,4})-(\d{1,2})-(\d{1,2}))?\s*(?:(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
  const QRegularExpressionMatch match = kDate.match(text);
  if (!match.hasMatch() || text.trimmed().isEmpty()) return std::nullopt;
  const auto part = [&match](int n) { return match.captured(n).toInt(); };
  const bool hasDate = match.hasCaptured(1) && !match.captured(1).isEmpty();
  const bool hasTime = match.hasCaptured(4) && !match.captured(4).isEmpty();
  const hcp::CivilTime time{hasDate ? part(1) : 1899, hasDate ? part(2) : 12,
                            hasDate ? part(3) : 30,   hasTime ? part(4) : 0,
                            hasTime ? part(5) : 0,    hasTime ? part(6) : 0};
  if (time.hour > 23 || time.minute > 59 || time.second > 59) return std::nullopt;
  try {
    const hcp::DateTime date = hcp::ToDateTime(time);
    // A day that rolled over (31 April) is no date.
    if (hasDate && !(hcp::ToCivilTime(date) == time)) return std::nullopt;
    return date;
  } catch (const hcp::RuntimeError&) {
    return std::nullopt;
  }
}

Variant Read(VariantType type, const QString& text) {
  const Variant typed = text.toStdU16String();
  switch (type) {
    case VariantType::Empty:
      return {};
    case VariantType::Null:
      return Variant::Null();
    case VariantType::String:
      return typed;
    case VariantType::Boolean:
      return hcp::ToBoolean(typed);
    case VariantType::Date: {
      const std::optional<hcp::DateTime> date = ParseDate(text);
      if (!date) throw hcp::RuntimeError(hcp::kTypeMismatch);
      return *date;
    }
    default:
      break;
  }
  const double number = hcp::ToDouble(typed);
  switch (type) {
    case VariantType::Integer:
      return hcp::ToInt16(number);
    case VariantType::Long:
      return hcp::ToInt32(number);
    case VariantType::Byte: {
      const double whole = hcp::RoundHalfEven(number);
      if (!(whole >= 0 && whole <= 255)) throw hcp::RuntimeError(hcp::kOverflow);
      return static_cast<std::uint8_t>(whole);
    }
    case VariantType::Single:
      if (!(std::abs(number) <= std::numeric_limits<float>::max())) {
        throw hcp::RuntimeError(hcp::kOverflow);
      }
      return static_cast<float>(number);
    case VariantType::Currency:
      if (!(std::abs(number) <= kCurrencyLimit)) throw hcp::RuntimeError(hcp::kOverflow);
      return hcp::Currency{static_cast<std::int64_t>(hcp::RoundHalfEven(number * 10000))};
    default:
      return number;
  }
}

}  // namespace

const std::vector<VariantType>& SettingTypes() {
  static const std::vector<VariantType> kTypes = {
      VariantType::Empty,  VariantType::String, VariantType::Integer,  VariantType::Long,
      VariantType::Single, VariantType::Double, VariantType::Currency, VariantType::Boolean,
      VariantType::Date,   VariantType::Byte,   VariantType::Null,
  };
  return kTypes;
}

QString TypeName(VariantType type) {
  switch (type) {
    case VariantType::Empty:
      return Tr("Empty");
    case VariantType::Null:
      return Tr("Null");
    case VariantType::Integer:
      return Tr("Integer");
    case VariantType::Long:
      return Tr("Long");
    case VariantType::Single:
      return Tr("Single");
    case VariantType::Double:
      return Tr("Double");
    case VariantType::Currency:
      return Tr("Currency");
    case VariantType::Date:
      return Tr("Date");
    case VariantType::String:
      return Tr("String");
    case VariantType::Object:
      return Tr("Object");
    case VariantType::Boolean:
      return Tr("Boolean");
    case VariantType::Byte:
      return Tr("Byte");
  }
  return {};
}

bool HasText(VariantType type) {
  return type != VariantType::Empty && type != VariantType::Null;
}

QString EditText(const Variant& value) {
  if (!HasText(value.Type()) || value.IsObject()) return {};
  return QString::fromStdU16String(hcp::ToText(value));
}

ParsedValue ParseTypedValue(VariantType type, const QString& text) {
  try {
    return {Read(type, text), {}};
  } catch (const hcp::RuntimeError& e) {
    if (e.Number() == hcp::kOverflow)
      return {std::nullopt, Tr("too large for %1").arg(TypeName(type))};
    if (type == VariantType::Date) {
      return {std::nullopt, Tr("not a date: write yyyy-mm-dd, yyyy-mm-dd hh:mm:ss or hh:mm:ss")};
    }
    if (type == VariantType::Boolean) return {std::nullopt, Tr("not True, False or a number")};
    return {std::nullopt, Tr("not a number")};
  }
}

}  // namespace ConfigEditor
