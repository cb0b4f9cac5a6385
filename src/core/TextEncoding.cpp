#include "core/TextEncoding.h"

#include <algorithm>

#include "core/Utf8Sequence.h"

namespace core {

namespace {
// Enough text to judge; more only costs time.
constexpr std::size_t kDetectionSample = 4096;

// What the code units of a sample look like read as UTF-16LE.
struct UnitCounts {
    std::size_t text = 0;        // units that are not NUL
    std::size_t highNul = 0;     // NUL at the odd offset: the ASCII range and Latin-1
    std::size_t lowNul = 0;      // NUL at the even offset: rare in UTF-16LE text
    std::size_t asciiPairs = 0;  // both bytes printable ASCII: bytes of a single-byte text
    std::size_t controls = 0;    // C0 controls other than TAB, LF and CR
    bool wellFormed = true;      // surrogates paired, no noncharacter U+FFFE or U+FFFF
};

bool IsPrintableAscii(std::uint8_t b) {
    return b >= 0x20 && b <= 0x7E;
}

UnitCounts CountUnits(const std::uint8_t* units, std::size_t count) {
    UnitCounts counts;
    bool expectLow = false;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint8_t low = units[2 * k];
        const std::uint8_t high = units[2 * k + 1];
        const char16_t unit = static_cast<char16_t>(low | high << 8);
        const bool lowSurrogate = unit >= 0xDC00 && unit <= 0xDFFF;
        if (expectLow != lowSurrogate || unit == 0xFFFE || unit == 0xFFFF) {
            counts.wellFormed = false;
        }
        expectLow = unit >= 0xD800 && unit <= 0xDBFF;
        if (unit == 0) continue;
        ++counts.text;
        if (high == 0) ++counts.highNul;
        if (low == 0) ++counts.lowNul;
        if (IsPrintableAscii(low) && IsPrintableAscii(high)) ++counts.asciiPairs;
        if (unit < 0x20 && unit != u'\t' && unit != u'\n' && unit != u'\r') ++counts.controls;
    }
    // A high surrogate cut off by the end of the sample is no fault.
    return counts;
}

// Whether the bytes are UTF-8. A sample may start inside a sequence and be
// cut off inside one: neither is a fault.
bool IsValidUtf8(const std::uint8_t* bytes, std::size_t n) {
    std::size_t i = 0;
    while (i < 3 && i < n && IsUtf8Continuation(bytes[i])) ++i;
    while (i < n) {
        const int length = Utf8SequenceLength(bytes[i]);
        if (length == 0) return false;
        const int valid = Utf8ValidPrefix(bytes + i, length, n - i);
        if (valid < length) return static_cast<std::size_t>(valid) == n - i;
        i += static_cast<std::size_t>(length);
    }
    return true;
}

// Text of another script in UTF-16LE has few NULs; what tells it from a
// single-byte text that is not UTF-8, or from binary data, is that its units
// are well formed, few are controls or have a NUL at the even offset, and
// the two bytes of a unit are seldom both printable ASCII.
bool IsPlausibleUtf16(const UnitCounts& counts) {
    return counts.wellFormed && counts.lowNul * 4 <= counts.text &&
           counts.controls * 8 <= counts.text && counts.asciiPairs * 2 <= counts.text;
}

}  // namespace

std::optional<TextEncoding> DetectEncoding(const std::uint8_t* bytes, std::size_t n,
                                           std::uint64_t offset) {
    // The sample starts at the first whole unit; the file's own length is
    // seen only when the sample is not cut short.
    const std::size_t first = std::min<std::size_t>(offset % 2, n);
    const bool whole = n <= kDetectionSample;
    n = std::min(n, kDetectionSample);
    const std::uint8_t* units = bytes + first;
    std::size_t unitBytes = n - first;
    const bool evenLength = !whole || unitBytes % 2 == 0;
    unitBytes -= unitBytes % 2;
    // NULs a writer preallocated at the end say nothing about the text.
    while (unitBytes >= 2 && units[unitBytes - 1] == 0 && units[unitBytes - 2] == 0) {
        unitBytes -= 2;
    }
    std::size_t textBytes = n;
    while (textBytes > 0 && bytes[textBytes - 1] == 0) --textBytes;

    const UnitCounts counts = CountUnits(units, unitBytes / 2);
    if (counts.text == 0) return std::nullopt;
    if (counts.highNul * 2 > counts.text) return TextEncoding::Utf16Le;
    if (IsValidUtf8(bytes, textBytes)) return TextEncoding::Utf8;
    if (evenLength && IsPlausibleUtf16(counts)) return TextEncoding::Utf16Le;
    return TextEncoding::Utf8;
}

std::size_t ByteOrderMarkLength(const std::uint8_t* head, std::size_t n, TextEncoding encoding) {
    if (encoding == TextEncoding::Utf16Le) {
        return n >= 2 && head[0] == 0xFF && head[1] == 0xFE ? 2 : 0;
    }
    return n >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF ? 3 : 0;
}

}  // namespace core
