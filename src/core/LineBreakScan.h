#pragma once
// Finding line breaks in UTF-16 text. A break is CR, LF, CR LF or LF CR; each
// pair counts as one break, so CR CR is two breaks.

#include <cstddef>
#include <string_view>

namespace core {

// Index of the first CR or LF at or after `from`, or npos.
std::size_t FindLineBreak(std::u16string_view text, std::size_t from);

// Index of the first LF at or after `from`, or npos; for normalised text,
// whose only break is LF.
std::size_t FindLf(std::u16string_view text, std::size_t from);

// Number of units of the break that starts at `at` (1 or 2).
std::size_t LineBreakLength(std::u16string_view text, std::size_t at);

}  // namespace core
