#include "filters/LoneSurrogates.h"

namespace filters {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

constexpr bool IsSurrogate(char16_t ch) {
    return (ch & 0xF800) == 0xD800;
}
constexpr bool IsHigh(char16_t ch) {
    return (ch & 0xFC00) == 0xD800;
}
constexpr bool IsLow(char16_t ch) {
    return (ch & 0xFC00) == 0xDC00;
}

// The length of the well-formed unit at pos: 2 for a pair, 1 for any other
// non-surrogate, 0 for a lone surrogate.
std::size_t UnitLength(std::u16string_view text, std::size_t pos) {
    const char16_t ch = text[pos];
    if (!IsSurrogate(ch)) return 1;
    if (IsHigh(ch) && pos + 1 < text.size() && IsLow(text[pos + 1])) return 2;
    return 0;
}

}  // namespace

// Almost all text holds no surrogate at all; this loop has no early exit so
// the compiler can vectorise it.
bool HasAnySurrogate(std::u16string_view text) {
    unsigned any = 0;
    for (char16_t ch : text) any |= IsSurrogate(ch) ? 1u : 0u;
    return any != 0;
}

bool HasLoneSurrogate(std::u16string_view text) {
    if (!HasAnySurrogate(text)) return false;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t length = UnitLength(text, pos);
        if (length == 0) return true;
        pos += length;
    }
    return false;
}

void CopyReplacingLoneSurrogates(std::u16string_view text, std::u16string& out) {
    out.assign(text);
    for (std::size_t pos = 0; pos < out.size();) {
        const std::size_t length = UnitLength(out, pos);
        if (length == 0) out[pos] = kReplacement;
        pos += length == 0 ? 1 : length;
    }
}

}  // namespace filters
