// A receiver's setting as typed: each kind's texts, the values refused, and every value's
// text reading back as the same value.
#include <gtest/gtest.h>

#include "config-editor/TypedValue.h"

namespace ConfigEditor {
namespace {

std::optional<Variant> Parse(VariantType type, const char* text) {
  return ParseTypedValue(type, QString::fromUtf8(text)).value;
}

TEST(TypedValueTest, ReadsEachKind) {
  EXPECT_EQ(Parse(VariantType::Integer, "42"), Variant(std::int16_t{42}));
  EXPECT_EQ(Parse(VariantType::Integer, "2.5"), Variant(std::int16_t{2}));  // half to even
  EXPECT_EQ(Parse(VariantType::Long, "&HFF"), Variant(std::int32_t{255}));
  EXPECT_EQ(Parse(VariantType::Double, "1e3"), Variant(1000.0));
  EXPECT_EQ(Parse(VariantType::String, " a b "), Variant(u" a b "));
  EXPECT_EQ(Parse(VariantType::Boolean, "True"), Variant(true));
  for (const char* yes : {"true", "YES", " yes", "1", "-1"})
    EXPECT_EQ(Parse(VariantType::Boolean, yes), Variant(true)) << yes;
  for (const char* no : {"FALSE", "No", "0"})
    EXPECT_EQ(Parse(VariantType::Boolean, no), Variant(false)) << no;
  EXPECT_EQ(Parse(VariantType::Date, "8.12.2026 14:30"),
            Parse(VariantType::Date, "2026-12-08 14:30"));
  EXPECT_EQ(Parse(VariantType::Byte, "255"), Variant(std::uint8_t{255}));
  EXPECT_EQ(Parse(VariantType::Empty, "ignored"), Variant());
  EXPECT_EQ(Parse(VariantType::Null, ""), Variant::Null());
}

TEST(TypedValueTest, RefusesWhatIsNoValueOfTheKind) {
  EXPECT_FALSE(Parse(VariantType::Integer, "32768"));
  EXPECT_FALSE(Parse(VariantType::Integer, "abc"));
  EXPECT_FALSE(Parse(VariantType::Byte, "-1"));
  EXPECT_FALSE(Parse(VariantType::Boolean, "maybe"));
  EXPECT_FALSE(Parse(VariantType::Date, "2026-04-31"));
  EXPECT_FALSE(Parse(VariantType::Date, "25:00"));
  EXPECT_TRUE(ParseTypedValue(VariantType::Integer, QStringLiteral("99999"))
                  .error.contains(QStringLiteral("-32,768..32,767")));
  EXPECT_TRUE(ParseTypedValue(VariantType::Date, QStringLiteral("31.04.2026"))
                  .error.contains(QStringLiteral("no 31 April 2026")));
}

TEST(TypedValueTest, EveryValuesTextReadsBackAsTheSameValue) {
  const std::pair<VariantType, const char*> values[] = {
      {VariantType::Integer, "-32768"},   {VariantType::Long, "2147483647"},
      {VariantType::Single, "0.1"},       {VariantType::Double, "3.14159265358979"},
      {VariantType::Currency, "12.3456"}, {VariantType::Boolean, "False"},
      {VariantType::Date, "2026-12-08"},  {VariantType::Date, "2026-12-08 14:30:05"},
      {VariantType::Date, "07:45"},       {VariantType::String, "COM3"},
      {VariantType::Byte, "7"},
  };
  for (const auto& [type, text] : values) {
    SCOPED_TRACE(text);
    const std::optional<Variant> value = Parse(type, text);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->Type(), type);
    EXPECT_EQ(ParseTypedValue(type, EditText(*value)).value, value);
  }
}

}  // namespace
}  // namespace ConfigEditor
