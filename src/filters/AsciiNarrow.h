#pragma once
// A line of UTF-16 units as bytes, when every unit is an ASCII character:
// the form in which the multi-pattern prefilter searches it.

#include <string>
#include <string_view>

namespace filters {

// Writes text into out (reusing its storage) one byte per unit and returns
// true, or returns false as soon as a unit beyond ASCII shows (out then holds
// no useful text).
bool NarrowAscii(std::u16string_view text, std::string& out);

}  // namespace filters
