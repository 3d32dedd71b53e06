// Bytes of the family's files built by hand, field by field, for golden files: from hex
// digits, or little-endian numbers and texts appended one after another.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <string_view>

namespace Halvane_Config {

// Bytes from hex digits; blanks are ignored.
inline std::string Hex(std::string_view digits) {
  std::string bytes;
  std::string pair;
  for (char c : digits) {
    if (c == ' ') continue;
    pair += c;
    if (pair.size() == 2) {
      bytes += static_cast<char>(std::stoi(pair, nullptr, 16));
      pair.clear();
    }
  }
  return bytes;
}

inline std::string Repeat(std::string_view hex, int times) {
  std::string bytes;
  for (int i = 0; i < times; ++i)
    bytes += Hex(hex);
  return bytes;
}

class Bytes {
 public:
  Bytes& Int16(int value) { return Little(static_cast<std::uint16_t>(value), 2); }
  Bytes& Int32(std::int32_t value) { return Little(static_cast<std::uint32_t>(value), 4); }
  Bytes& Flag(bool value) { return Int16(value ? -1 : 0); }
  Bytes& Double(double value) { return Little(std::bit_cast<std::uint64_t>(value), 8); }
  // A 16-bit length, then the Windows-1252 bytes (written here as \xNN where not ASCII).
  Bytes& Text(std::string_view windows1252) {
    Int16(static_cast<int>(windows1252.size()));
    bytes_ += windows1252;
    return *this;
  }
  Bytes& Zeros(std::size_t count) {
    bytes_.append(count, '\0');
    return *this;
  }
  Bytes& Raw(std::string_view bytes) {
    bytes_ += bytes;
    return *this;
  }
  operator std::string() const { return bytes_; }
  const std::string& str() const { return bytes_; }

 private:
  Bytes& Little(std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
      bytes_ += static_cast<char>((value >> (8 * i)) & 0xFF);
    return *this;
  }

  std::string bytes_;
};

}  // namespace Halvane_Config
