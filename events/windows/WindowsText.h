// Texts between the programs' UTF-8 and what Windows takes and gives: UTF-16 for paths,
// arguments and the system's messages, a code page for a console.
#pragma once

#include <string>
#include <string_view>

namespace FauxlarmEvents::windows {

std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);
// UTF-8 in a code page; what it cannot show becomes '?'.
std::string InCodePage(std::string_view utf8, unsigned codePage);
// The system's words for an error number ("The system cannot find the file specified"),
// without the final period and line end; "error N" when the system has none.
std::string ErrorText(unsigned long error);

}  // namespace FauxlarmEvents::windows
