#pragma once
// Search of a plain phrase in one line of UTF-16 code units, exactly or with
// the A..Z folding of plain phrases. Lines are short and searched millions of
// times, so the search filters candidate positions on the first and the last
// character of the phrase, eight or sixteen positions at a time, and compares
// the whole phrase only where both agree.

#include <cstddef>
#include <string_view>

namespace filters {

// The column of the first occurrence of phrase in text that starts at or after
// `from`, or std::u16string_view::npos. With foldAscii, A..Z and a..z compare
// equal and nothing else folds. An empty phrase is never found: it would be
// "found" at every position and describes no text to look for.
std::size_t FindPhrase(std::u16string_view text, std::u16string_view phrase, std::size_t from,
                       bool foldAscii);

}  // namespace filters
