#include "common/Numbers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>

#include "common/RuntimeError.h"
#include "common/Text1252.h"

namespace hcp = Halvane_Common_Procedures;

TEST(LeadingNumber, ReadsTheNumberAtTheStartOfATextLikeAUserTypedIt) {
  const struct {
    const char16_t* text;
    double value;
  } cases[] = {
      {u"", 0},       {u"abc", 0},    {u"42", 42},         {u"  4 2 ", 42}, {u"\t-7\n", -7},
      {u"+3", 3},     {u"2.5", 2.5},  {u".5", 0.5},        {u"5.", 5},      {u"1.2.3", 1.2},
      {u"12abc", 12}, {u"1e3", 1000}, {u"1E-2", 0.01},     {u"1e", 1},      {u"2e+", 2},
      {u"--5", 0},    {u"- 5", -5},   {u"&H1F", 31},       {u"&hff", 255},  {u"&O17", 15},
      {u"&H", 0},     {u"&X1", 0},    {u"60 seconds", 60}, {u"3,5", 3},     {u"1e-400", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(hcp::LeadingNumber(c.text), c.value) << hcp::Utf16ToUtf8(c.text);
  }
  EXPECT_TRUE(std::isinf(hcp::LeadingNumber(u"1e400")));
  EXPECT_LT(hcp::LeadingNumber(u"-1e400"), 0);
}

TEST(LeadingNumber, IgnoresTheProcessLocale) {
  // A desktop program runs in the user's locale, where "," may be the decimal point.
  const char* previous = std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
  EXPECT_EQ(hcp::LeadingNumber(u"2.5"), 2.5);
  if (previous != nullptr) std::setlocale(LC_NUMERIC, "C");
}

TEST(RoundHalfEven, TakesHalvesToTheEvenNeighbour) {
  EXPECT_EQ(hcp::RoundHalfEven(2.5), 2);
  EXPECT_EQ(hcp::RoundHalfEven(3.5), 4);
  EXPECT_EQ(hcp::RoundHalfEven(-2.5), -2);
  EXPECT_EQ(hcp::RoundHalfEven(-3.5), -4);
  EXPECT_EQ(hcp::RoundHalfEven(0.49999), 0);
  EXPECT_EQ(hcp::RoundHalfEven(255.5), 256);
  EXPECT_EQ(hcp::RoundHalfEven(-0.2), 0);
}

TEST(RangeChecks, RaiseOverflowOutsideTheIntegerWidth) {
  EXPECT_EQ(hcp::ToInt16(32767.4), 32767);
  EXPECT_EQ(hcp::ToInt16(-32768.5), -32768);
  EXPECT_EQ(hcp::ToInt32(2147483647.0), 2147483647);
  for (double bad : {32767.5, -32769.0, double(NAN), double(INFINITY)}) {
    try {
      hcp::ToInt16(bad);
      ADD_FAILURE() << bad;
    } catch (const hcp::RuntimeError& e) {
      EXPECT_EQ(e.Number(), hcp::kOverflow);
    }
  }
  EXPECT_THROW(hcp::ToInt32(2147483647.5), hcp::RuntimeError);
  EXPECT_THROW(hcp::ToInt32(-2147483649.0), hcp::RuntimeError);
}
