#include "core/TextEncoding.h"

#include <algorithm>

namespace core {

namespace {
// Enough text to judge; more only costs time.
constexpr std::size_t kDetectionSample = 4096;
}  // namespace

std::optional<TextEncoding> DetectEncoding(const std::uint8_t* bytes, std::size_t n,
                                           std::uint64_t offset) {
    n = std::min(n, kDetectionSample);
    // NULs a writer preallocated at the end say nothing about the text.
    while (n > 0 && bytes[n - 1] == 0) --n;

    std::size_t textUnits = 0;
    std::size_t asciiUnits = 0;
    for (std::size_t i = offset % 2; i + 1 < n; i += 2) {
        const std::uint8_t low = bytes[i];
        const std::uint8_t high = bytes[i + 1];
        if (low == 0 && high == 0) continue;
        ++textUnits;
        if (high == 0 && low < 0x80) ++asciiUnits;
    }
    if (textUnits == 0) return std::nullopt;
    return asciiUnits * 2 > textUnits ? TextEncoding::Utf16Le : TextEncoding::Utf8;
}

std::size_t ByteOrderMarkLength(const std::uint8_t* head, std::size_t n, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16Le) {
        return n >= 2 && head[0] == 0xFF && head[1] == 0xFE ? 2 : 0;
    }
    return n >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF ? 3 : 0;
}

}  // namespace core
