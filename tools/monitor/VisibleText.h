// How the monitor shows a single-byte text of the region on a UTF-8 terminal.
#pragma once

#include <string>
#include <string_view>

// Control bytes (and the bytes Windows-1252 leaves undefined) become <XX>, as does 0xFE,
// which separates receiver and text in message commands; the rest is read as Windows-1252.
std::string visibleText(std::string_view bytes);
