#include "filters/PhraseSearch.h"

#include <cstring>

#include "filters/AsciiFold.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace filters {

namespace {

constexpr std::size_t kNotFound = std::u16string_view::npos;

// One character of the phrase as a filter: a text character c passes when
// (c | mask) == value. For a folded letter the mask 0x20 lets exactly its
// upper- and lower-case forms pass; every other character must be equal.
struct Anchor {
    char16_t value;
    char16_t mask;
};

Anchor MakeAnchor(char16_t ch, bool foldAscii) {
    const char16_t lower = FoldAsciiLower(ch);
    if (foldAscii && lower >= u'a' && lower <= u'z') return {lower, 0x20};
    return {ch, 0};
}

bool Passes(Anchor anchor, char16_t ch) {
    return (ch | anchor.mask) == anchor.value;
}

bool PhraseAt(const char16_t* at, std::u16string_view phrase, bool foldAscii) {
    if (!foldAscii) return std::memcmp(at, phrase.data(), phrase.size() * sizeof(char16_t)) == 0;
    for (std::size_t k = 0; k < phrase.size(); ++k) {
        if (FoldAsciiLower(at[k]) != FoldAsciiLower(phrase[k])) return false;
    }
    return true;
}

// The parameters of one search: candidate starts run from a position up to
// and including lastStart.
struct Search {
    const char16_t* text;
    std::u16string_view phrase;
    bool foldAscii;
    Anchor first;
    Anchor last;
    std::size_t lastStart;

    bool CandidateAt(std::size_t pos) const {
        return Passes(first, text[pos]) && Passes(last, text[pos + phrase.size() - 1]) &&
               PhraseAt(text + pos, phrase, foldAscii);
    }
};

std::size_t ScanScalar(const Search& s, std::size_t pos) {
    for (; pos <= s.lastStart; ++pos) {
        if (s.CandidateAt(pos)) return pos;
    }
    return kNotFound;
}

#if defined(__SSE2__)

// Sixteen candidate starts at once: one mask bit per start whose first and
// last characters pass their anchors (bit 2k for start pos + k).
class WideFilter {
public:
    explicit WideFilter(const Search& s)
        : firstValue_(Broadcast(s.first.value)),
          firstMask_(Broadcast(s.first.mask)),
          lastValue_(Broadcast(s.last.value)),
          lastMask_(Broadcast(s.last.mask)),
          lastOffset_(s.phrase.size() - 1) {}

    unsigned Candidates(const char16_t* at) const {
        const unsigned low = Block(at);
        const unsigned high = Block(at + 8);
        return (low | (high << 16)) & 0x55555555u;
    }

private:
    static __m128i Broadcast(char16_t ch) { return _mm_set1_epi16(static_cast<short>(ch)); }

    static __m128i Load(const char16_t* at) {
        return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
    }

    unsigned Block(const char16_t* at) const {
        const __m128i first = _mm_cmpeq_epi16(_mm_or_si128(Load(at), firstMask_), firstValue_);
        const __m128i last =
            _mm_cmpeq_epi16(_mm_or_si128(Load(at + lastOffset_), lastMask_), lastValue_);
        return static_cast<unsigned>(_mm_movemask_epi8(_mm_and_si128(first, last)));
    }

    __m128i firstValue_;
    __m128i firstMask_;
    __m128i lastValue_;
    __m128i lastMask_;
    std::size_t lastOffset_;
};

std::size_t ScanWide(const Search& s, std::size_t pos) {
    constexpr std::size_t kWidth = 16;
    const WideFilter filter(s);
    for (; s.lastStart >= kWidth - 1 && pos <= s.lastStart - (kWidth - 1); pos += kWidth) {
        for (unsigned bits = filter.Candidates(s.text + pos); bits != 0; bits &= bits - 1) {
            const std::size_t candidate = pos + static_cast<unsigned>(__builtin_ctz(bits)) / 2;
            if (PhraseAt(s.text + candidate, s.phrase, s.foldAscii)) return candidate;
        }
    }
    return ScanScalar(s, pos);
}

#else

std::size_t ScanWide(const Search& s, std::size_t pos) {
    return ScanScalar(s, pos);
}

#endif

}  // namespace

std::size_t FindPhrase(std::u16string_view text, std::u16string_view phrase, std::size_t from,
                       bool foldAscii) {
    if (phrase.empty() || from > text.size() || text.size() - from < phrase.size()) {
        return kNotFound;
    }
    const Search search{text.data(),
                        phrase,
                        foldAscii,
                        MakeAnchor(phrase.front(), foldAscii),
                        MakeAnchor(phrase.back(), foldAscii),
                        text.size() - phrase.size()};
    return ScanWide(search, from);
}

}  // namespace filters
