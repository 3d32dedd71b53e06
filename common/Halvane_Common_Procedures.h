// The procedures the alarm server's programs share: the SCADA system catalogue, time texts,
// packing a 16-bit integer into two characters, file existence and numbered texts.
// Texts are UTF-16; errors are RuntimeError with the error number.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/Halvane_Common_Constants.h"
#include "common/Numbers.h"
#include "common/ProgramServices.h"
#include "common/Random.h"
#include "common/RuntimeError.h"
#include "common/Text1252.h"

namespace Halvane_Common_Procedures {

// The catalogue, indexed by system number. Empty until InitScadaSystems has run; a row
// is a listed system exactly when its code is not empty.
extern std::array<std::u16string, Halvane_Common_Constants::kScadaSystemSlots> ScadaSystemCodes;
extern std::array<std::u16string, Halvane_Common_Constants::kScadaSystemSlots> ScadaSystemNames;

// Fills every catalogue row; returns the number of slots (64).
std::int16_t InitScadaSystems();

// Stores one row. A system number outside 0..63 raises error 9 and stores nothing.
void SetScadaSystem(std::int16_t systemNumber, std::u16string_view code, std::u16string_view name);

// Minutes since midnight (0..1440) of a time of day as users type it: "7", "730", "7:30",
// "7.30", "7 30", "25:00" ... Raises error 6 only for numbers beyond the 32-bit range.
std::int16_t TimeTextToMinutes(std::u16string_view text);

// A 16-bit value as two characters (high byte first) whose Windows-1252 codes are its
// bytes, and back. CharsToInteger needs at least two characters (else error 5).
std::u16string IntegerToChars(std::int16_t value);
std::int16_t CharsToInteger(std::u16string_view text);

// True when a normal file matches the path; the last path component may hold the
// wildcards "*" and "?". Folders and hidden files (names starting with ".") do not count.
// Any error gives false.
bool FileExists(std::u16string_view path);

// The program's table of numbered texts: all texts one after the other in TextStore, and
// per text its number, 1-based start in TextStore and length. A host program that has
// texts fills it; this one leaves it empty.
struct TextIndexRow {
  std::int32_t number;
  std::int32_t start;
  std::int32_t length;
};
extern std::u16string TextStore;
extern std::vector<TextIndexRow> TextIndex;
extern std::int32_t TextCount;

// The text with the given number, or "*** Invalid Text (n)" when the table has no such
// row and "*** Missing text (n)" when its text is empty.
std::u16string GetTextByNumber(std::int32_t number);

}  // namespace Halvane_Common_Procedures
