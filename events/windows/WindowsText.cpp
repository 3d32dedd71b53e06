#define WIN32_LEAN_AND_MEAN
#include "events/windows/WindowsText.h"

#include <windows.h>

#include "common/Text1252.h"

namespace FauxlarmEvents::windows {

namespace hcp = Halvane_Common_Procedures;

std::wstring Wide(std::string_view utf8) {
  const std::u16string units = hcp::Utf8ToUtf16(utf8);
  return {units.begin(), units.end()};
}

std::string Utf8(std::wstring_view wide) {
  return hcp::Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
}

std::string InCodePage(std::string_view utf8, unsigned codePage) {
  if (codePage == CP_UTF8) return std::string(utf8);
  const std::wstring wide = Wide(utf8);
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
  WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

std::string ErrorText(unsigned long error) {
  wchar_t* message = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&message), 0, nullptr);
  std::wstring text(message != nullptr ? message : L"", length);
  if (message != nullptr) LocalFree(message);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ' ||
                           text.back() == L'.'))
    text.pop_back();
  return text.empty() ? "error " + std::to_string(error) : Utf8(text);
}

}  // namespace FauxlarmEvents::windows
