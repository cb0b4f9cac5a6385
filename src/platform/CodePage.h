#pragma once
// Conversion between the program's UTF-16 text and the UTF-8 of the system
// (file names, terminals, the store's key names). Invalid input never fails:
// each bad sequence becomes U+FFFD.

#include <string>
#include <string_view>

namespace platform {

std::u16string Utf8ToUtf16(std::string_view utf8);
// The same into out, which has room for utf8.size() units (never more are
// needed); returns the number of units written. Allocates nothing.
std::size_t Utf8ToUtf16Into(std::string_view utf8, char16_t* out);
std::string Utf16ToUtf8(std::u16string_view utf16);
// The same, appended to out.
void AppendUtf8(std::string& out, std::u16string_view utf16);

}  // namespace platform
