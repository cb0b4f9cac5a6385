#include "core/LineBreakScan.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace core {

namespace {

constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';

}  // namespace

std::size_t FindLineBreak(std::u16string_view text, std::size_t from) {
    return CLineBreakCursor(text, false).Next(from);
}

std::size_t FindLf(std::u16string_view text, std::size_t from) {
    return CLineBreakCursor(text, true).Next(from);
}

std::uint64_t CLineBreakCursor::BreaksOfBlock(std::size_t base) const {
    const char16_t* data = text_.data();
    const std::size_t size = text_.size();
    const char16_t second = lfOnly_ ? kLf : kCr;
    std::uint64_t mask = 0;
    std::size_t i = base;
#if defined(__SSE2__)
    const __m128i a = _mm_set1_epi16(static_cast<short>(kLf));
    const __m128i b = _mm_set1_epi16(static_cast<short>(second));
    for (int part = 0; part < 4 && i + 16 <= size; ++part, i += 16) {
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + 8));
        const __m128i lowHits = _mm_or_si128(_mm_cmpeq_epi16(low, a), _mm_cmpeq_epi16(low, b));
        const __m128i highHits = _mm_or_si128(_mm_cmpeq_epi16(high, a), _mm_cmpeq_epi16(high, b));
        const auto bits =
            static_cast<std::uint64_t>(_mm_movemask_epi8(_mm_packs_epi16(lowHits, highHits)));
        mask |= bits << (i - base);
    }
#endif
    for (; i < base + kBlock && i < size; ++i) {
        if (data[i] == kLf || data[i] == second) mask |= std::uint64_t{1} << (i - base);
    }
    return mask;
}

std::size_t CLineBreakCursor::Next(std::size_t from) {
    const std::size_t size = text_.size();
    if (from >= size) return std::u16string_view::npos;
    if (!loaded_ || from >= base_ + kBlock) {
        base_ = from;
        mask_ = BreaksOfBlock(base_);
        loaded_ = true;
    } else {
        // Breaks before `from` are passed.
        mask_ &= ~std::uint64_t{0} << (from - base_);
    }
    while (mask_ == 0) {
        base_ += kBlock;
        if (base_ >= size) return std::u16string_view::npos;
        mask_ = BreaksOfBlock(base_);
    }
    return base_ + static_cast<std::size_t>(std::countr_zero(mask_));
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
