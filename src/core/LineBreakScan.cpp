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
// Skips eight units at a time while none of them is CR or LF; returns the
// index of the first block that may hold one (or the start of the last,
// partial block).
std::size_t SkipPlainBlocks(const char16_t* data, std::size_t from, std::size_t size) {
    const __m128i cr = _mm_set1_epi16(static_cast<short>(kCr));
    const __m128i lf = _mm_set1_epi16(static_cast<short>(kLf));
    std::size_t i = from;
    for (; i + 8 <= size; i += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i hits = _mm_or_si128(_mm_cmpeq_epi16(units, cr), _mm_cmpeq_epi16(units, lf));
        if (_mm_movemask_epi8(hits) != 0) break;
    }
    return i;
}
#else
std::size_t SkipPlainBlocks(const char16_t*, std::size_t from, std::size_t) {
    return from;
}
#endif

}  // namespace

std::size_t FindLineBreak(std::u16string_view text, std::size_t from) {
    const std::size_t size = text.size();
    for (std::size_t i = SkipPlainBlocks(text.data(), from, size); i < size; ++i) {
        if (IsBreakUnit(text[i])) return i;
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
