#include "filters/AsciiNarrow.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace filters {

bool NarrowAscii(std::u16string_view text, std::string& out) {
    out.resize(text.size());
    const char16_t* in = text.data();
    char* to = out.data();
    std::size_t pos = 0;
#if defined(__SSE2__)
    // Sixteen units at a time: any bit above the lowest seven tells a unit
    // beyond ASCII; otherwise the units pack into sixteen bytes.
    const __m128i high = _mm_set1_epi16(static_cast<short>(0xFF80));
    for (; pos + 16 <= text.size(); pos += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + pos));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + pos + 8));
        const __m128i beyond = _mm_and_si128(_mm_or_si128(a, b), high);
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(beyond, _mm_setzero_si128())) != 0xFFFF) {
            return false;
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to + pos), _mm_packus_epi16(a, b));
    }
#endif
    for (; pos < text.size(); ++pos) {
        if (in[pos] >= 0x80) return false;
        to[pos] = static_cast<char>(in[pos]);
    }
    return true;
}

}  // namespace filters
