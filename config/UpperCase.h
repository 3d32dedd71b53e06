// Upper case as the configuration classes compare and derive names (a profile's parent
// name, a receiver type's system code).
#pragma once

#include <string>
#include <string_view>

namespace Halvane_Config {

// The letters of the Windows-1252 repertoire (what a stored name can hold) in upper case,
// "ÿ" to "Ÿ" included; "ß" and every other character stay as they are.
std::u16string UpperCase(std::u16string_view text);

}  // namespace Halvane_Config
