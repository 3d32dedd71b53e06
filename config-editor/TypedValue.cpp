#include "config-editor/TypedValue.h"

#include <QCoreApplication>
#include <QDate>
#include <QLocale>
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

// The values a number of the kind can take, as a user reads them.
QString Range(VariantType type) {
  switch (type) {
    case VariantType::Integer:
      return QStringLiteral("-32,768..32,767");
    case VariantType::Long:
      return QStringLiteral("-2,147,483,648..2,147,483,647");
    case VariantType::Byte:
      return QStringLiteral("0..255");
    case VariantType::Single:
      return Tr("up to about 3.4E38 either way");
    case VariantType::Currency:
      return Tr("up to 922,337,203,685,477.5807 either way");
    default:
      return Tr("up to about 1.8E308 either way");
  }
}

// Reads "yyyy-mm-dd", "d.m.yyyy", either with " hh:mm[:ss]", or "hh:mm[:ss]" alone;
// problem says what is wrong with a text that has none of these forms or names no date.
std::optional<hcp::DateTime> ParseDate(const QString& text, QString* problem) {
  static const QRegularExpression kDate(
      QStringLiteral(R"(^\s*(?:(\d{1,4})-(\d{1,2})-(\d{1,2})|(\d{1,2})\.(\d{1,2})\.(\d{1,4}))?)"
                     R"(\s*(?:(\d{1,2}):(\d{2})(?::(\d{2}))?)?\s*$)"));
  const QRegularExpressionMatch match = kDate.match(text);
  if (!match.hasMatch() || text.trimmed().isEmpty()) {
    *problem =
        Tr("not a date: write yyyy-mm-dd or dd.mm.yyyy, with hh:mm:ss or without, or "
           "hh:mm:ss alone");
    return std::nullopt;
  }
  const auto part = [&match](int n) { return match.captured(n).toInt(); };
  const auto has = [&match](int n) { return !match.captured(n).isEmpty(); };
  const bool iso = has(1);
  const bool hasDate = iso || has(4);
  const bool hasTime = has(7);
  const hcp::CivilTime time{hasDate ? part(iso ? 1 : 6) : 1899,
                            hasDate ? part(iso ? 2 : 5) : 12,
                            hasDate ? part(iso ? 3 : 4) : 30,
                            hasTime ? part(7) : 0,
                            hasTime ? part(8) : 0,
                            hasTime ? part(9) : 0};
  if (time.hour > 23 || time.minute > 59 || time.second > 59) {
    *problem = Tr("not a time of day: %1:%2:%3 is past 23:59:59")
                   .arg(time.hour, 2, 10, QChar(u'0'))
                   .arg(time.minute, 2, 10, QChar(u'0'))
                   .arg(time.second, 2, 10, QChar(u'0'));
    return std::nullopt;
  }
  if (time.month < 1 || time.month > 12) {
    *problem = Tr("not a date: there is no month %1").arg(time.month);
    return std::nullopt;
  }
  if (time.year < 100) {
    *problem = Tr("not a date: years start at 100 (write all four digits)");
    return std::nullopt;
  }
  if (time.day < 1 || time.day > QDate(time.year, time.month, 1).daysInMonth()) {
    *problem = Tr("not a date: there is no %1 %2 %3")
                   .arg(time.day)
                   .arg(QLocale().standaloneMonthName(time.month))
                   .arg(time.year);
    return std::nullopt;
  }
  return hcp::ToDateTime(time);
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
    case VariantType::Boolean: {
      const QString word = text.trimmed();
      if (word.compare(QStringLiteral("yes"), Qt::CaseInsensitive) == 0) return true;
      if (word.compare(QStringLiteral("no"), Qt::CaseInsensitive) == 0) return false;
      return hcp::ToBoolean(typed);
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
  if (type == VariantType::Date) {
    QString problem;
    const std::optional<hcp::DateTime> date = ParseDate(text, &problem);
    return {date ? std::optional<Variant>(*date) : std::nullopt, problem};
  }
  try {
    return {Read(type, text), {}};
  } catch (const hcp::RuntimeError& e) {
    if (e.Number() == hcp::kOverflow) {
      return {std::nullopt, Tr("out of range for %1 (%2)").arg(TypeName(type), Range(type))};
    }
    if (type == VariantType::Boolean) {
      return {std::nullopt, Tr("not True or False: write True, False, Yes, No or a number (0 is "
                               "False, any other True)")};
    }
    return {std::nullopt, Tr("not a number")};
  }
}

}  // namespace ConfigEditor
