#pragma once
// Lines may carry binary junk that decodes to surrogate code units without
// their partner. The expression engine works on well-formed UTF-16, so such a
// line is searched in a repaired copy in which each lone surrogate is U+FFFD:
// one unit for one, so every column of the copy is the column of the line.

#include <string>
#include <string_view>

namespace filters {

// True when text holds any surrogate unit, paired or not: a cheap test that
// clears a whole block of lines at once.
bool HasAnySurrogate(std::u16string_view text);

// True when text holds a surrogate that is not part of a high-low pair.
bool HasLoneSurrogate(std::u16string_view text);

// Copies text into out (reusing its storage) with every lone surrogate
// replaced by U+FFFD.
void CopyReplacingLoneSurrogates(std::u16string_view text, std::u16string& out);

}  // namespace filters
