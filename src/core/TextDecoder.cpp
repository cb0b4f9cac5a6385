#include "core/TextDecoder.h"

#include <bit>
#include <cstdint>
#include <cstring>

#include "core/Utf8Sequence.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace core {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

char32_t CodePointOf(const std::uint8_t* b, int length) {
    switch (length) {
        case 2:
            return (char32_t{b[0] & 0x1Fu} << 6) | (b[1] & 0x3Fu);
        case 3:
            return (char32_t{b[0] & 0x0Fu} << 12) | (char32_t{b[1] & 0x3Fu} << 6) | (b[2] & 0x3Fu);
        default:
            return (char32_t{b[0] & 0x07u} << 18) | (char32_t{b[1] & 0x3Fu} << 12) |
                   (char32_t{b[2] & 0x3Fu} << 6) | (b[3] & 0x3Fu);
    }
}

#if defined(__SSE2__)
// Whether sixteen units may be stored at out[u] while bytes[i..n) are still
// to be decoded: the store must end before the first byte not yet decoded,
// or miss the input entirely (decoding into a separate buffer).
bool WideStoreSafe(const std::uint8_t* bytes, std::size_t i, std::size_t n, const char16_t* out,
                   std::size_t u) {
    const auto storeStart = reinterpret_cast<std::uintptr_t>(out + u);
    const auto storeEnd = storeStart + 16 * sizeof(char16_t);
    const auto pending = reinterpret_cast<std::uintptr_t>(bytes + i);
    const auto inputStart = reinterpret_cast<std::uintptr_t>(bytes);
    const auto inputEnd = reinterpret_cast<std::uintptr_t>(bytes + n);
    return storeEnd <= pending || storeEnd <= inputStart || storeStart >= inputEnd;
}

// Widens the ASCII bytes from bytes[i] on sixteen at a time and stops at the
// first byte >= 0x80 (or fewer than sixteen bytes left), which the exact
// decoder takes on. Units past the ASCII ones may be written as scratch;
// they lie in the region the next units go to.
void WidenAscii(const std::uint8_t* bytes, std::size_t& i, std::size_t n, char16_t* out,
                std::size_t& u) {
    const __m128i zero = _mm_setzero_si128();
    while (i + 16 <= n && WideStoreSafe(bytes, i, n, out, u)) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + u), _mm_unpacklo_epi8(chunk, zero));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + u + 8), _mm_unpackhi_epi8(chunk, zero));
        const unsigned high = static_cast<unsigned>(_mm_movemask_epi8(chunk));
        if (high != 0) {
            const auto ascii = static_cast<std::size_t>(std::countr_zero(high));
            i += ascii;
            u += ascii;
            return;
        }
        i += 16;
        u += 16;
    }
}
#else
void WidenAscii(const std::uint8_t*, std::size_t&, std::size_t, char16_t*, std::size_t&) {}
#endif

// Each input byte gives at most one unit and a unit is written only after
// the bytes it comes from were read, so out may trail bytes in one buffer.
DecodedChunk DecodeUtf8(const std::uint8_t* bytes, std::size_t n, char16_t* out) {
    DecodedChunk chunk;
    std::size_t i = 0;
    std::size_t u = 0;
    while (i < n) {
        const std::uint8_t lead = bytes[i];
        if (lead < 0x80) {
            out[u++] = lead;
            ++i;
            WidenAscii(bytes, i, n, out, u);
            continue;
        }
        const int length = Utf8SequenceLength(lead);
        if (length == 0) {
            out[u++] = kReplacement;
            ++i;
            continue;
        }
        const std::size_t available = n - i;
        const int valid = Utf8ValidPrefix(bytes + i, length, available);
        if (valid == length) {
            const char32_t cp = CodePointOf(bytes + i, length);
            i += static_cast<std::size_t>(length);
            if (cp >= 0x10000) {
                out[u++] = static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
                out[u++] = static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
            } else {
                out[u++] = static_cast<char16_t>(cp);
            }
            continue;
        }
        if (static_cast<std::size_t>(valid) == available) break;  // the rest comes later
        out[u++] = kReplacement;
        i += static_cast<std::size_t>(valid);
    }
    chunk.units = u;
    chunk.bytesUsed = i;
    return chunk;
}

DecodedChunk DecodeUtf16(const std::uint8_t* bytes, std::size_t n, char16_t* out) {
    DecodedChunk chunk;
    const std::size_t units = n / 2;
    if (static_cast<const void*>(out) != static_cast<const void*>(bytes)) {
        std::memmove(out, bytes, units * 2);
    }
    if constexpr (std::endian::native == std::endian::big) {
        for (std::size_t k = 0; k < units; ++k) {
            out[k] = static_cast<char16_t>((out[k] << 8) | (out[k] >> 8));
        }
    }
    chunk.units = units;
    chunk.bytesUsed = units * 2;
    return chunk;
}

}  // namespace

bool CTextDecoder::DecideFrom(const std::uint8_t* bytes, std::size_t n, std::uint64_t offset) {
    if (!encoding_) encoding_ = DetectEncoding(bytes, n, offset);
    return encoding_.has_value();
}

ReadPlacement CTextDecoder::PlacementFor(std::size_t capacityUnits) const {
    if (encoding_ == TextEncoding::Utf16Le) return {0, capacityUnits * 2};
    // UTF-8 (or not known yet): the bytes go to the second half, the units
    // are written from the start of the buffer towards them.
    return {capacityUnits, capacityUnits};
}

DecodedChunk CTextDecoder::Decode(const std::uint8_t* bytes, std::size_t n, std::uint64_t offset,
                                  char16_t* out, bool dropTrailingNuls) {
    if (!DecideFrom(bytes, n, offset)) return {};
    std::size_t nuls = 0;
    if (dropTrailingNuls) {
        const TextBytes text = WithoutTrailingNuls(bytes, n);
        n = text.bytes;
        nuls = text.nulsDropped;
    }
    DecodedChunk chunk = *encoding_ == TextEncoding::Utf16Le ? DecodeUtf16(bytes, n, out)
                                                             : DecodeUtf8(bytes, n, out);
    chunk.nulsDropped = nuls;
    return chunk;
}

CTextDecoder::TextBytes CTextDecoder::WithoutTrailingNuls(const std::uint8_t* bytes,
                                                          std::size_t n) const {
    TextBytes text;
    if (encoding_ == TextEncoding::Utf16Le) {
        std::size_t units = n / 2;
        while (units > 0 && bytes[2 * units - 1] == 0 && bytes[2 * units - 2] == 0) {
            --units;
            ++text.nulsDropped;
        }
        text.bytes = 2 * units;
        return text;
    }
    while (n > 0 && bytes[n - 1] == 0) {
        --n;
        ++text.nulsDropped;
    }
    text.bytes = n;
    return text;
}

std::size_t CTextDecoder::SequenceStartSkip(const std::uint8_t* bytes, std::size_t n) const {
    if (encoding_ != TextEncoding::Utf8) return 0;
    std::size_t skip = 0;
    while (skip < 3 && skip < n && IsUtf8Continuation(bytes[skip])) ++skip;
    return skip;
}

}  // namespace core
