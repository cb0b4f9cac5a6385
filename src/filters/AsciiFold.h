#pragma once
// The case folding of plain phrases: only A..Z become a..z. Every other
// character, non-ASCII letters included, stays as it is, so a folded text keeps
// the length of the original and positions found in it are positions in it.

#include <string>
#include <string_view>

namespace filters {

constexpr char16_t FoldAsciiLower(char16_t ch) {
    return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + (u'a' - u'A')) : ch;
}

// Folds text in place.
void FoldAsciiLower(std::u16string& text);

// A folded copy of text.
std::u16string FoldedAsciiLower(std::u16string_view text);

}  // namespace filters
