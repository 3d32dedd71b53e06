#include "common/Text1252.h"

#include <gtest/gtest.h>

namespace hcp = Halvane_Common_Procedures;

TEST(Windows1252, EveryByteSurvivesARoundTrip) {
  std::string all;
  for (int b = 0; b < 256; ++b)
    all += static_cast<char>(b);
  const std::u16string text = hcp::FromWindows1252(all);
  ASSERT_EQ(text.size(), 256u);
  EXPECT_EQ(hcp::ToWindows1252(text), all);
}

TEST(Windows1252, MapsTheHighControlBlockToItsLetters) {
  EXPECT_EQ(hcp::FromWindows1252("\x80\x8A\x9F\xFE"), u"\u20AC\u0160\u0178\u00FE");
  EXPECT_EQ(hcp::ToWindows1252(u"\u20AC \u2122 \u00E5\u00E4\u00F6"), "\x80 \x99 \xE5\xE4\xF6");
}

TEST(Windows1252, UnmappableUnitsBecomeQuestionMarks) {
  // A C1 control that the code page shows as a letter, a Cyrillic letter, and both
  // halves of a character outside the basic plane.
  EXPECT_EQ(hcp::ToWindows1252(u"\u0080|\u0416|\U0001F600"), "?|?|??");
}

TEST(Utf8, ConvertsBothWaysAndReplacesIllFormedInput) {
  const std::u16string text = u"A\u00E5\u20AC\U0001F600";
  EXPECT_EQ(hcp::Utf16ToUtf8(text), "A\xC3\xA5\xE2\x82\xAC\xF0\x9F\x98\x80");
  EXPECT_EQ(hcp::Utf8ToUtf16(hcp::Utf16ToUtf8(text)), text);
  EXPECT_EQ(hcp::Utf8ToUtf16("a\xFF"
                             "b\xE2\x82"),
            u"a\uFFFDb\uFFFD");
  EXPECT_EQ(hcp::Utf8ToUtf16("\xC0\xAF"), u"\uFFFD");  // overlong "/"
  EXPECT_EQ(hcp::Utf16ToUtf8(u"x\xD800y"), "x\xEF\xBF\xBDy");
}

TEST(Utf8, GoesStraightToWindows1252AsTheUtf16TextWouldAndStopsAtIllFormedInput) {
  const std::string utf8 = "A\xC3\xB6\xE2\x82\xAC\xD0\x96\xF0\x9F\x98\x80";
  std::string bytes;
  std::size_t bad = 99;
  EXPECT_TRUE(hcp::AppendUtf8AsWindows1252(utf8, bytes, &bad));
  EXPECT_EQ(bytes, hcp::ToWindows1252(hcp::Utf8ToUtf16(utf8)));
  EXPECT_EQ(bad, 99u);

  for (const std::string_view illFormed :
       {"ab\xF6l", "ab\xE2\x82", "ab\xC0\xAF", "ab\xED\xA0\x80"}) {
    bytes.clear();
    EXPECT_FALSE(hcp::AppendUtf8AsWindows1252(illFormed, bytes, &bad)) << illFormed;
    EXPECT_EQ(bad, 2u);
    EXPECT_EQ(bytes, "ab");
  }
}
