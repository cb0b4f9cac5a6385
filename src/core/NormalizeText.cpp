#include "core/NormalizeText.h"

#include <bit>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace core {

namespace {

constexpr bool NeedsAttention(char16_t ch) {
    return ch < 0x20 || ch == 0x7F;
}

#if defined(__SSE2__)
// Copies units that stay as they are eight at a time, from text[in] down to
// text[out] (out <= in), and stops at the first unit needing attention or
// when fewer than nine units are left. An LF stays as it is unless a CR
// follows it, so the lines of a log with LF breaks are copied without a stop
// at each: a CR is looked at unit by unit, and so is the LF before it.
void CopyPlainRun(char16_t* text, std::size_t& in, std::size_t& out, std::size_t n) {
    const __m128i below = _mm_set1_epi16(0x1F);
    const __m128i del = _mm_set1_epi16(0x7F);
    const __m128i lf = _mm_set1_epi16(0x0A);
    const __m128i cr = _mm_set1_epi16(0x0D);
    const __m128i zero = _mm_setzero_si128();
    for (; in + 9 <= n; in += 8, out += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + in));
        const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + in + 1));
        // units <= 0x1F exactly when subtracting 0x1F with unsigned saturation gives 0.
        const __m128i control = _mm_cmpeq_epi16(_mm_subs_epu16(units, below), zero);
        const __m128i isLf = _mm_cmpeq_epi16(units, lf);
        const __m128i plainLf = _mm_andnot_si128(_mm_cmpeq_epi16(next, cr), isLf);
        const __m128i attention =
            _mm_or_si128(_mm_andnot_si128(plainLf, control), _mm_cmpeq_epi16(units, del));
        const unsigned hits = static_cast<unsigned>(_mm_movemask_epi8(attention));
        if (hits != 0) {
            const std::size_t plain = static_cast<std::size_t>(std::countr_zero(hits)) / 2;
            for (std::size_t k = 0; k < plain; ++k) text[out + k] = text[in + k];
            in += plain;
            out += plain;
            return;
        }
        if (out != in) _mm_storeu_si128(reinterpret_cast<__m128i*>(text + out), units);
    }
}
#else
void CopyPlainRun(char16_t*, std::size_t&, std::size_t&, std::size_t) {}
#endif

}  // namespace

std::size_t NormalizeText(char16_t* text, std::size_t n, bool showSpaceForBadChar) {
    std::size_t in = 0;
    std::size_t out = 0;
    while (in < n) {
        CopyPlainRun(text, in, out, n);
        if (in >= n) break;
        const char16_t ch = text[in];
        if (!NeedsAttention(ch)) {
            text[out++] = ch;
            ++in;
            continue;
        }
        if (ch == u'\r' || ch == u'\n') {
            const char16_t partner = ch == u'\r' ? u'\n' : u'\r';
            const bool pair = in + 1 < n && text[in + 1] == partner;
            text[out++] = u'\n';
            in += pair ? 2 : 1;
            continue;
        }
        text[out++] = ch != u'\t' && showSpaceForBadChar ? u' ' : ch;
        ++in;
    }
    text[out] = 0;
    return out;
}

}  // namespace core
