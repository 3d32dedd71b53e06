// Reading numbers that users type into text fields, and fitting them into the 16- and
// 32-bit integers the family's programs use.
#pragma once

#include <cstdint>
#include <string_view>

namespace Halvane_Common_Procedures {

// The number at the start of a text: blanks, tabs and line feeds anywhere in it are
// ignored; then an optional sign, digits with at most one "." and an optional exponent
// ("1e3"), or "&H" / "&O" followed by hexadecimal / octal digits. A text that does not
// start with a number gives 0. Hexadecimal and octal numbers are read as unsigned values.
double LeadingNumber(std::u16string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);

// Round half to even, then check the range; out of range (or NaN) raises error 6.
std::int16_t ToInt16(double value);
std::int32_t ToInt32(double value);

}  // namespace Halvane_Common_Procedures
