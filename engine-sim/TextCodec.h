#pragma once
#include <string>
#include <string_view>

// The boundary carries UTF-16; files, paths and the tool use UTF-8. Malformed
// input becomes U+FFFD rather than an error: a bad byte must not stop a download.
namespace marlow {

std::u16string toUtf16(std::string_view utf8);
std::string toUtf8(std::u16string_view utf16);

// A NUL-terminated UTF-16 text the host handed over, read at most maxUnits far.
std::u16string readHostText(const char16_t* text, std::size_t maxUnits = 32768);

} // namespace marlow
