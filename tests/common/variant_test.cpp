#include "common/Variant.h"

#include <gtest/gtest.h>

#include "ErrorNumber.h"
#include "common/RuntimeError.h"
#include "common/Text1252.h"

namespace hcp = Halvane_Common_Procedures;

namespace {

const hcp::ObjectRef kItem{std::make_shared<int>(1)};

}  // namespace

TEST(Variant, TextFormAsTheFamilyPrintsValues) {
  const struct {
    hcp::Variant value;
    std::u16string text;
  } cases[] = {
      {hcp::Variant(), u""},
      {hcp::Variant(std::int16_t{-7}), u"-7"},
      {hcp::Variant(74565), u"74565"},
      {hcp::Variant(0.1f), u"0.1"},
      {hcp::Variant(2.5), u"2.5"},
      {hcp::Variant(1.0 / 3), u"0.333333333333333"},
      {hcp::Variant(1e20), u"1E+20"},
      {hcp::Variant(1.5e-7), u"1.5E-07"},
      {hcp::Variant(hcp::Currency{-125000}), u"-12.5"},
      {hcp::Variant(hcp::Currency{30000}), u"3"},
      {hcp::Variant(hcp::DateTime{36526}), u"2000-01-01"},
      {hcp::Variant(hcp::DateTime{36526.5}), u"2000-01-01 12:00:00"},
      {hcp::Variant(hcp::DateTime{0.75}), u"18:00:00"},
      {hcp::Variant(hcp::DateTime{0}), u"00:00:00"},
      {hcp::Variant(u"Hi there"), u"Hi there"},
      {hcp::Variant(true), u"True"},
      {hcp::Variant(false), u"False"},
      {hcp::Variant(std::uint8_t{255}), u"255"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(hcp::ToText(c.value), c.text);
  EXPECT_EQ(ErrorNumberOf([] { hcp::ToText(hcp::Variant::Null()); }), hcp::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumberOf([] { hcp::ToText(hcp::Variant(kItem)); }),
            hcp::kObjectDoesNotSupportMember);
}

TEST(Variant, ConvertsToNumbersAndBooleans) {
  EXPECT_EQ(hcp::ToDouble(hcp::Variant()), 0);
  EXPECT_EQ(hcp::ToDouble(hcp::Variant(true)), -1);
  EXPECT_EQ(hcp::ToDouble(hcp::Variant(hcp::Currency{15000})), 1.5);
  EXPECT_EQ(hcp::ToDouble(hcp::Variant(u" -1.5 ")), -1.5);
  EXPECT_EQ(hcp::ToDouble(hcp::Variant(u"1e3")), 1000);
  EXPECT_EQ(hcp::ToDouble(hcp::Variant(u"&HFF")), 255);
  for (const char16_t* text : {u"", u"12abc", u"inf", u"&H", u"&O9", u"1 2"}) {
    EXPECT_EQ(ErrorNumberOf([text] { hcp::ToDouble(hcp::Variant(text)); }), hcp::kTypeMismatch)
        << hcp::Utf16ToUtf8(text);
  }
  EXPECT_EQ(ErrorNumberOf([] { hcp::ToDouble(hcp::Variant::Null()); }), hcp::kInvalidUseOfNull);
  EXPECT_EQ(ErrorNumberOf([] { hcp::ToDouble(hcp::Variant(kItem)); }), hcp::kTypeMismatch);

  EXPECT_TRUE(hcp::ToBoolean(hcp::Variant(std::int16_t{1})));  // a ticked check box
  EXPECT_FALSE(hcp::ToBoolean(hcp::Variant(0)));
  EXPECT_TRUE(hcp::ToBoolean(hcp::Variant(u"TRUE")));
  EXPECT_FALSE(hcp::ToBoolean(hcp::Variant(u"false")));
  EXPECT_TRUE(hcp::ToBoolean(hcp::Variant(u"-1")));
  EXPECT_EQ(ErrorNumberOf([] { hcp::ToBoolean(hcp::Variant(u"yes")); }), hcp::kTypeMismatch);
}

TEST(Variant, SettingsEqualFollowsTheChangeRule) {
  const hcp::Variant empty;
  const struct {
    hcp::Variant a;
    hcp::Variant b;
    bool equal;
  } cases[] = {
      {empty, empty, true},
      {hcp::Variant(std::int16_t{5}), hcp::Variant(5.0), true},  // widths do not count
      {hcp::Variant(std::uint8_t{5}), hcp::Variant(hcp::Currency{50000}), true},
      {hcp::Variant(true), hcp::Variant(std::int16_t{-1}), true},
      {hcp::Variant(hcp::DateTime{2}), hcp::Variant(2), true},
      {hcp::Variant(0.1f), hcp::Variant(0.1), false},  // a single's value is not 0.1
      {hcp::Variant(u"Abc"), hcp::Variant(u"Abc"), true},
      {hcp::Variant(u"Abc"), hcp::Variant(u"abc"), false},
      {empty, hcp::Variant(0), true},
      {empty, hcp::Variant(false), true},
      {empty, hcp::Variant(u""), true},
      {empty, hcp::Variant(u" "), false},
      {empty, hcp::Variant(1), false},
      {hcp::Variant(5), hcp::Variant(u"5"), false},  // a number never equals a text
      {hcp::Variant(u""), hcp::Variant(0), false},
      {hcp::Variant::Null(), hcp::Variant::Null(), true},
      {hcp::Variant::Null(), empty, false},
      {hcp::Variant(kItem), hcp::Variant(kItem), true},
      {hcp::Variant(kItem), hcp::Variant::Nothing(), false},
  };
  for (const auto& c : cases) {
    const std::size_t row = &c - cases;
    EXPECT_EQ(hcp::SettingsEqual(c.a, c.b), c.equal) << "row " << row;
    EXPECT_EQ(hcp::SettingsEqual(c.b, c.a), c.equal) << "row " << row;
  }
}
