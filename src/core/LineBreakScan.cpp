#include "core/LineBreakScan.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace core {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

bool IsBreakUnit(char16_t unit) {
    return unit == kCr || unit == kLf;
}

#if defined(__SSE2__)
// Skips eight units at a time while none of them is `first` or `second`;
// returns the index of the first block that may hold one (or the start of
// the last, partial block).
std::size_t SkipBlocksWithout(const char16_t* data, std::size_t from, std::size_t size,
                              char16_t first, char16_t second) {
    const __m128i a = _mm_set1_epi16(static_cast<short>(first));
    const __m128i b = _mm_set1_epi16(static_cast<short>(second));
    std::size_t i = from;
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi16(units, a), _mm_cmpeq_epi16(units, b));
        if (_mm_movemask_epi8(hits) != 0) break;
    }
    return i;
}
#else
std::size_t SkipBlocksWithout(const char16_t*, std::size_t from, std::size_t, char16_t, char16_t) {
    return from;
}
#endif

}  // namespace

std::size_t FindLineBreak(std::u16string_view text, std::size_t from) {
    const std::size_t size = text.size();
    for (std::size_t i = SkipBlocksWithout(text.data(), from, size, kCr, kLf); i < size; ++i) {
        if (IsBreakUnit(text[i])) return i;
    }
    return std::u16string_view::npos;
}

std::size_t FindLf(std::u16string_view text, std::size_t from) {
    const std::size_t size = text.size();
    for (std::size_t i = SkipBlocksWithout(text.data(), from, size, kLf, kLf); i < size; ++i) {
        if (text[i] == kLf) return i;
    }
    return std::u16string_view::npos;
}

std::size_t LineBreakLength(std::u16string_view text, std::size_t at) {
    const char16_t first = text[at];
    if (at + 1 < text.size()) {
        const char16_t second = text[at + 1];
        if ((first == kCr && second == kLf) || (first == kLf && second == kCr)) return 2;
    }
    return 1;
}

}  // namespace core
