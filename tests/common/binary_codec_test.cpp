#include <gtest/gtest.h>

#include <limits>
#include <string>

#include "ErrorNumber.h"
#include "common/BinaryCodec.h"
#include "common/RuntimeError.h"

namespace hcp = Halvane_Common_Procedures;

namespace {

std::string Bytes(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values)
    bytes += static_cast<char>(v);
  return bytes;
}

// One value of every kind, back to back.
std::string EveryKind() {
  std::string out;
  hcp::PutInt16(out, -2);
  hcp::PutInt32(out, 74565);
  hcp::PutFlag(out, true);
  hcp::PutSingle(out, 1.5f);
  hcp::PutDouble(out, -0.25);
  hcp::PutCurrency(out, {-12345});
  hcp::PutDateTime(out, {36526.5});
  hcp::PutText(out, u"Åsa €");
  hcp::PutVariant(out, hcp::Variant(u"Hi"));
  hcp::PutVariant(out, hcp::Variant(std::int16_t{7}));
  return out;
}

}  // namespace

TEST(BinaryCodec, WritesTheFamilysGoldenBytes) {
  std::string out;
  hcp::PutInt16(out, -2);
  hcp::PutInt16(out, 258);
  hcp::PutInt32(out, 74565);
  hcp::PutFlag(out, true);
  hcp::PutFlag(out, false);
  EXPECT_EQ(out, Bytes({0xFE, 0xFF, 0x02, 0x01, 0x45, 0x23, 0x01, 0x00, 0xFF, 0xFF, 0, 0}));

  out.clear();
  hcp::PutSingle(out, 1.5f);
  hcp::PutDouble(out, 1.0);
  hcp::PutDateTime(out, {36526.25});  // 2000-01-01 06:00
  EXPECT_EQ(out, Bytes({0,    0,    0xC0, 0x3F, 0, 0, 0,    0,    0,    0,
                        0xF0, 0x3F, 0,    0,    0, 0, 0xC8, 0xD5, 0xE1, 0x40}));

  out.clear();
  hcp::PutText(out, u"");
  hcp::PutText(out, u"Å€");  // Windows-1252 0xC5 0x80
  EXPECT_EQ(out, Bytes({0, 0, 2, 0, 0xC5, 0x80}));
}

TEST(BinaryCodec, WritesVariantsAsTypeCodeAndValue) {
  const struct {
    hcp::Variant value;
    std::string bytes;
  } cases[] = {
      {hcp::Variant(), Bytes({0, 0})},
      {hcp::Variant::Null(), Bytes({1, 0})},
      {hcp::Variant(std::int16_t{-1}), Bytes({2, 0, 0xFF, 0xFF})},
      {hcp::Variant(std::int32_t{65536}), Bytes({3, 0, 0, 0, 1, 0})},
      {hcp::Variant(1.5f), Bytes({4, 0, 0, 0, 0xC0, 0x3F})},
      {hcp::Variant(1.0), Bytes({5, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
      {hcp::Variant(hcp::Currency{10000}), Bytes({6, 0, 0x10, 0x27, 0, 0, 0, 0, 0, 0})},
      {hcp::Variant(hcp::DateTime{1.0}), Bytes({7, 0, 0, 0, 0, 0, 0, 0, 0xF0, 0x3F})},
      {hcp::Variant(u"ab"), Bytes({8, 0, 2, 0, 'a', 'b'})},
      {hcp::Variant(true), Bytes({11, 0, 0xFF, 0xFF})},
      {hcp::Variant(std::uint8_t{200}), Bytes({17, 0, 200})},
  };
  for (const auto& c : cases) {
    std::string out;
    hcp::PutVariant(out, c.value);
    EXPECT_EQ(out, c.bytes) << static_cast<int>(c.value.Type());
    hcp::ByteReader in(out);
    const hcp::Variant back = hcp::GetVariant(in);
    EXPECT_EQ(back, c.value);
    EXPECT_EQ(in.Remaining(), 0u);
  }
}

TEST(BinaryCodec, EveryIntegerSurvivesARoundTrip) {
  std::string out;
  for (int v = -32768; v <= 32767; ++v)
    hcp::PutInt16(out, static_cast<std::int16_t>(v));
  const std::int32_t longs[] = {0,
                                -1,
                                1,
                                std::numeric_limits<std::int32_t>::min(),
                                std::numeric_limits<std::int32_t>::max(),
                                74565};
  for (std::int32_t v : longs)
    hcp::PutInt32(out, v);
  hcp::ByteReader in(out);
  for (int v = -32768; v <= 32767; ++v)
    ASSERT_EQ(hcp::GetInt16(in), v);
  for (std::int32_t v : longs)
    EXPECT_EQ(hcp::GetInt32(in), v);
}

TEST(BinaryCodec, EveryKindReadsBackAsWritten) {
  const std::string bytes = EveryKind();
  hcp::ByteReader in(bytes);
  EXPECT_EQ(hcp::GetInt16(in), -2);
  EXPECT_EQ(hcp::GetInt32(in), 74565);
  EXPECT_TRUE(hcp::GetFlag(in));
  EXPECT_EQ(hcp::GetSingle(in), 1.5f);
  EXPECT_EQ(hcp::GetDouble(in), -0.25);
  EXPECT_EQ(hcp::GetCurrency(in), hcp::Currency{-12345});
  EXPECT_EQ(hcp::GetDateTime(in), hcp::DateTime{36526.5});
  EXPECT_EQ(hcp::GetText(in), u"Åsa €");
  EXPECT_EQ(hcp::GetVariant(in), hcp::Variant(u"Hi"));
  EXPECT_EQ(hcp::GetVariant(in), hcp::Variant(std::int16_t{7}));
  EXPECT_EQ(in.Remaining(), 0u);
}

TEST(BinaryCodec, EveryTruncatedPrefixFailsAsInputPastEnd) {
  const std::string bytes = EveryKind();
  for (std::size_t length = 0; length < bytes.size(); ++length) {
    hcp::ByteReader in(std::string_view(bytes).substr(0, length));
    const int error = ErrorNumberOf([&in] {
      hcp::GetInt16(in), hcp::GetInt32(in), hcp::GetFlag(in), hcp::GetSingle(in);
      hcp::GetDouble(in), hcp::GetCurrency(in), hcp::GetDateTime(in), hcp::GetText(in);
      hcp::GetVariant(in), hcp::GetVariant(in);
    });
    EXPECT_EQ(error, hcp::kInputPastEndOfFile) << "prefix of " << length << " bytes";
  }
}

TEST(BinaryCodec, DistrustsLengthsAndTypeCodes) {
  // A text announcing 65535 bytes with two present: refused before it is read.
  const std::string shortText = Bytes({0xFF, 0xFF, 'a', 'b'});
  hcp::ByteReader in(shortText);
  EXPECT_EQ(ErrorNumberOf([&in] { hcp::GetText(in); }), hcp::kInputPastEndOfFile);
  EXPECT_EQ(in.Position(), 2u);  // the length was read, nothing after it

  const std::string unknownType = Bytes({9, 0});
  hcp::ByteReader object(unknownType);
  EXPECT_EQ(ErrorNumberOf([&object] { hcp::GetVariant(object); }), hcp::kInvalidFileFormat);

  const std::string oddFlag = Bytes({1, 0});
  hcp::ByteReader flag(oddFlag);
  EXPECT_TRUE(hcp::GetFlag(flag));

  hcp::ByteReader skip(shortText);
  EXPECT_EQ(ErrorNumberOf([&skip] { skip.Skip(5); }), hcp::kInputPastEndOfFile);
  skip.Skip(4);
  EXPECT_EQ(skip.Remaining(), 0u);
}

TEST(BinaryCodec, RefusesWhatHasNoStoredForm) {
  std::string out = "x";
  const std::u16string longest(hcp::kMaxTextBytes, u'a');
  hcp::PutText(out, longest);
  EXPECT_EQ(out.size(), 1 + 2 + hcp::kMaxTextBytes);

  out = "x";
  EXPECT_EQ(ErrorNumberOf([&out] { hcp::PutText(out, std::u16string(65536, u'a')); }),
            hcp::kOverflow);
  EXPECT_EQ(ErrorNumberOf([&out] {
              hcp::PutVariant(out, hcp::Variant(hcp::ObjectRef{std::make_shared<int>(1)}));
            }),
            hcp::kTypeMismatch);
  EXPECT_EQ(out, "x");
}
