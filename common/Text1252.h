// Text conversions. Inside the programs texts are UTF-16 (std::u16string); wherever a text
// leaves a program (socket, file, exchange library) it is Windows-1252 bytes, on every
// platform, so the bytes match what the family's Windows processes write and read.
#pragma once

#include <string>
#include <string_view>

namespace Halvane_Common_Procedures {

// Each UTF-16 unit becomes one byte; a unit that Windows-1252 cannot show becomes '?'.
// The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for
// U+0081 and so on, so every byte survives a round trip.
std::string ToWindows1252(std::u16string_view text);
void AppendWindows1252(std::u16string_view text, std::string& out);
std::u16string FromWindows1252(std::string_view bytes);

// The Windows-1252 code of one UTF-16 unit, or '?' when it has none.
unsigned char Windows1252Code(char16_t unit);
char16_t Windows1252Char(unsigned char code);

// UTF-8 straight to Windows-1252, as ToWindows1252 would make it of the UTF-16 text (a
// character beyond U+FFFF, two UTF-16 units, becomes "??"). False at the first ill-formed
// sequence, with its offset in badOffset; what came before it is appended.
bool AppendUtf8AsWindows1252(std::string_view utf8, std::string& out, std::size_t* badOffset);

// UTF-8 is the file system's and the terminal's encoding here. Ill-formed input
// becomes U+FFFD rather than being dropped.
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

}  // namespace Halvane_Common_Procedures
