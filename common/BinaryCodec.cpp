#include "common/BinaryCodec.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#include "common/RuntimeError.h"
#include "common/Text1252.h"

namespace Halvane_Common_Procedures {
namespace {

template <typename Unsigned>
void PutLittleEndian(std::string& out, Unsigned value) {
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
    out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

template <typename Unsigned>
Unsigned GetLittleEndian(ByteInput& in) {
  std::array<unsigned char, sizeof(Unsigned)> bytes;
  in.ReadBytes(reinterpret_cast<char*>(bytes.data()), bytes.size());
  Unsigned value = 0;
  for (std::size_t i = 0; i < sizeof(Unsigned); ++i)
    value |= static_cast<Unsigned>(bytes[i]) << (8 * i);
  return value;
}

}  // namespace

void PutInt16(std::string& out, std::int16_t value) {
  PutLittleEndian(out, static_cast<std::uint16_t>(value));
}

void PutInt32(std::string& out, std::int32_t value) {
  PutLittleEndian(out, static_cast<std::uint32_t>(value));
}

void PutFlag(std::string& out, bool value) {
  PutInt16(out, value ? -1 : 0);
}

void PutSingle(std::string& out, float value) {
  PutLittleEndian(out, std::bit_cast<std::uint32_t>(value));
}

void PutDouble(std::string& out, double value) {
  PutLittleEndian(out, std::bit_cast<std::uint64_t>(value));
}

void PutCurrency(std::string& out, Currency value) {
  PutLittleEndian(out, static_cast<std::uint64_t>(value.tenThousandths));
}

void PutDateTime(std::string& out, DateTime value) {
  PutDouble(out, value.days);
}

void PutText(std::string& out, std::u16string_view text) {
  if (text.size() > kMaxTextBytes) {
    throw RuntimeError(kOverflow, "Text of " + std::to_string(text.size()) +
                                      " characters is longer than a stored text can be");
  }
  PutLittleEndian(out, static_cast<std::uint16_t>(text.size()));
  AppendWindows1252(text, out);
}

void PutVariant(std::string& out, const Variant& value) {
  if (value.IsObject()) throw RuntimeError(kTypeMismatch);
  std::string encoded;
  PutInt16(encoded, static_cast<std::int16_t>(value.Type()));
  std::visit(
      [&encoded](const auto& v) {
        using T = std::decay_t<decltype(v)>;
        if constexpr (std::is_same_v<T, std::int16_t>) PutInt16(encoded, v);
        if constexpr (std::is_same_v<T, std::int32_t>) PutInt32(encoded, v);
        if constexpr (std::is_same_v<T, float>) PutSingle(encoded, v);
        if constexpr (std::is_same_v<T, double>) PutDouble(encoded, v);
        if constexpr (std::is_same_v<T, Currency>) PutCurrency(encoded, v);
        if constexpr (std::is_same_v<T, DateTime>) PutDateTime(encoded, v);
        if constexpr (std::is_same_v<T, std::u16string>) PutText(encoded, v);
        if constexpr (std::is_same_v<T, bool>) PutFlag(encoded, v);
        if constexpr (std::is_same_v<T, std::uint8_t>) encoded += static_cast<char>(v);
      },
      value.value());
  out += encoded;
}

void PutZeros(std::string& out, std::size_t count) {
  out.append(count, '\0');
}

void ByteInput::Skip(std::uint64_t count) {
  if (count > Remaining()) throw RuntimeError(kInputPastEndOfFile);
  char discard[512];
  while (count > 0) {
    const std::size_t step =
        static_cast<std::size_t>(std::min<std::uint64_t>(count, sizeof discard));
    ReadBytes(discard, step);
    count -= step;
  }
}

void ByteReader::ReadBytes(char* destination, std::size_t count) {
  if (count > Remaining()) throw RuntimeError(kInputPastEndOfFile);
  if (count > 0) std::memcpy(destination, bytes_.data() + position_, count);
  position_ += count;
}

std::int16_t GetInt16(ByteInput& in) {
  return static_cast<std::int16_t>(GetLittleEndian<std::uint16_t>(in));
}

std::int32_t GetInt32(ByteInput& in) {
  return static_cast<std::int32_t>(GetLittleEndian<std::uint32_t>(in));
}

bool GetFlag(ByteInput& in) {
  return GetInt16(in) != 0;
}

float GetSingle(ByteInput& in) {
  return std::bit_cast<float>(GetLittleEndian<std::uint32_t>(in));
}

double GetDouble(ByteInput& in) {
  return std::bit_cast<double>(GetLittleEndian<std::uint64_t>(in));
}

Currency GetCurrency(ByteInput& in) {
  return {static_cast<std::int64_t>(GetLittleEndian<std::uint64_t>(in))};
}

DateTime GetDateTime(ByteInput& in) {
  return {GetDouble(in)};
}

std::u16string GetText(ByteInput& in) {
  const std::uint16_t length = GetLittleEndian<std::uint16_t>(in);
  if (length > in.Remaining()) throw RuntimeError(kInputPastEndOfFile);
  std::string bytes(length, '\0');
  in.ReadBytes(bytes.data(), length);
  return FromWindows1252(bytes);
}

Variant GetVariant(ByteInput& in) {
  const std::int16_t code = GetInt16(in);
  switch (static_cast<VariantType>(code)) {
    case VariantType::Empty:
      return {};
    case VariantType::Null:
      return Variant::Null();
    case VariantType::Integer:
      return GetInt16(in);
    case VariantType::Long:
      return GetInt32(in);
    case VariantType::Single:
      return GetSingle(in);
    case VariantType::Double:
      return GetDouble(in);
    case VariantType::Currency:
      return GetCurrency(in);
    case VariantType::Date:
      return GetDateTime(in);
    case VariantType::String:
      return GetText(in);
    case VariantType::Boolean:
      return GetFlag(in);
    case VariantType::Byte: {
      char byte = 0;
      in.ReadBytes(&byte, 1);
      return static_cast<std::uint8_t>(byte);
    }
    case VariantType::Object:
      break;
  }
  throw RuntimeError(kInvalidFileFormat,
                     "Invalid file format: unknown variant type " + std::to_string(code));
}

}  // namespace Halvane_Common_Procedures
