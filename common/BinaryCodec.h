// The binary encodings of the family's files, written and read as matching pairs.
// Everything is little-endian and without padding:
//
//   int16      2 bytes, two's complement
//   int32      4 bytes, two's complement
//   flag       an int16: -1 for true, 0 for false (read: every value but 0 is true)
//   single     4 bytes, IEEE 754
//   double     8 bytes, IEEE 754
//   currency   8 bytes: the amount in ten-thousandths, two's complement
//   date-time  a double: days since 30 December 1899, the time of day as the fraction
//   text       an unsigned 16-bit length n, then n Windows-1252 bytes, no terminator
//   variant    an int16 type code, then the value in the encoding of its kind:
//                empty (0), null (1)     nothing
//                int16 (2)               int16
//                int32 (3)               int32
//                single (4)              single
//                double (5)              double
//                currency (6)            currency
//                date (7)                date-time
//                text (8)                text
//                Boolean (11)            flag
//                byte (17)               1 byte
//
// Writing appends to a byte string. Reading takes from a ByteInput (a byte string or an
// open file) and never trusts what it reads: a value, length or count that runs past the
// data raises error 62 (input past end of file) before anything is allocated for it, and
// an unknown variant type code raises error 321 (invalid file format).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "common/DateTime.h"
#include "common/Variant.h"

namespace Halvane_Common_Procedures {

// The longest text the 16-bit length can announce.
inline constexpr std::size_t kMaxTextBytes = 65535;

void PutInt16(std::string& out, std::int16_t value);
void PutInt32(std::string& out, std::int32_t value);
void PutFlag(std::string& out, bool value);
void PutSingle(std::string& out, float value);
void PutDouble(std::string& out, double value);
void PutCurrency(std::string& out, Currency value);
void PutDateTime(std::string& out, DateTime value);
// A text longer than kMaxTextBytes raises error 6 and appends nothing.
void PutText(std::string& out, std::u16string_view text);
// An object raises error 13 (it has no stored form) and appends nothing.
void PutVariant(std::string& out, const Variant& value);
void PutZeros(std::string& out, std::size_t count);

// Where decoding takes its bytes from.
class ByteInput {
 public:
  virtual ~ByteInput() = default;

  // Copies the next count bytes and moves past them. When fewer remain, raises error 62
  // and moves nothing.
  virtual void ReadBytes(char* destination, std::size_t count) = 0;
  virtual std::uint64_t Remaining() const = 0;

  // Moves past count bytes (a reserved field), error 62 when fewer remain.
  void Skip(std::uint64_t count);
};

// Decodes from a byte string that the caller keeps alive.
class ByteReader : public ByteInput {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  void ReadBytes(char* destination, std::size_t count) override;
  std::uint64_t Remaining() const override { return bytes_.size() - position_; }
  std::size_t Position() const { return position_; }

 private:
  std::string_view bytes_;
  std::size_t position_ = 0;
};

std::int16_t GetInt16(ByteInput& in);
std::int32_t GetInt32(ByteInput& in);
bool GetFlag(ByteInput& in);
float GetSingle(ByteInput& in);
double GetDouble(ByteInput& in);
Currency GetCurrency(ByteInput& in);
DateTime GetDateTime(ByteInput& in);
std::u16string GetText(ByteInput& in);
Variant GetVariant(ByteInput& in);

}  // namespace Halvane_Common_Procedures
