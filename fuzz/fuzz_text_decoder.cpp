// The decoder of log file bytes and its encoding detection.
//
// The first byte chooses the encoding (fixed UTF-8, fixed UTF-16LE, or
// detected), whether trailing NULs are dropped and the sizes of the reads;
// the rest is the file. Any bytes: read in pieces of any size, in place as
// the document reads them, they give the same text as read at once into a
// separate buffer, and UTF-8 gives well-formed text that reads the same
// when written as UTF-8 again. Valid text: the same bytes seen as code
// points are written as UTF-8 and as UTF-16LE, and each reads back as
// exactly those code points, from the start or from inside the file.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "FuzzCheck.h"
#include "core/TextDecoder.h"
#include "platform/CodePage.h"

namespace {

using core::CTextDecoder;
using core::TextEncoding;

struct Decoded {
    std::u16string text;
    std::size_t bytesUsed = 0;
    std::optional<TextEncoding> encoding;
};

// Reads the bytes as a poll does: each read brings the bytes left over
// from the one before and some more, into the document's buffer, in place.
Decoded ReadInPieces(const std::vector<std::uint8_t>& file, std::optional<TextEncoding> fixed,
                     bool dropNuls, std::uint32_t seed) {
    CTextDecoder decoder(fixed);
    Decoded result;
    std::size_t end = 0;
    std::uint32_t state = seed;
    while (end < file.size()) {
        state = state * 1103515245u + 12345u;
        end = std::min(file.size(), end + 1 + (state >> 16) % 23);
        const std::size_t n = end - result.bytesUsed;
        // A buffer just large enough, so a write past it is caught.
        const std::size_t capacity = n + (state >> 8) % 3;
        const std::unique_ptr<char16_t[]> buffer(new char16_t[capacity]);
        const core::ReadPlacement placement = decoder.PlacementFor(capacity);
        FUZZ_CHECK(placement.maxBytes >= n);
        std::uint8_t* bytes = placement.In(buffer.get());
        std::copy(file.begin() + result.bytesUsed, file.begin() + end, bytes);
        const core::DecodedChunk chunk =
            decoder.Decode(bytes, n, result.bytesUsed, buffer.get(), dropNuls);
        FUZZ_CHECK(chunk.bytesUsed <= n && chunk.units <= n);
        result.text.append(buffer.get(), chunk.units);
        result.bytesUsed += chunk.bytesUsed;
    }
    if (decoder.IsDecided()) result.encoding = decoder.Encoding();
    return result;
}

Decoded ReadAtOnce(const std::vector<std::uint8_t>& file, std::optional<TextEncoding> fixed,
                   bool dropNuls) {
    CTextDecoder decoder(fixed);
    std::vector<char16_t> out(file.size() + 1);
    // A file's bytes always lie in a buffer, even when there are none.
    const std::uint8_t none = 0;
    const core::DecodedChunk chunk =
        decoder.Decode(file.empty() ? &none : file.data(), file.size(), 0, out.data(), dropNuls);
    Decoded result;
    result.text.assign(out.data(), chunk.units);
    result.bytesUsed = chunk.bytesUsed;
    if (decoder.IsDecided()) result.encoding = decoder.Encoding();
    return result;
}

bool WellFormed(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

void CheckAnyBytes(const std::vector<std::uint8_t>& file, std::optional<TextEncoding> fixed,
                   bool dropNuls, std::uint32_t seed) {
    const Decoded pieces = ReadInPieces(file, fixed, dropNuls, seed);
    if (!pieces.encoding) {
        FUZZ_CHECK(!fixed && pieces.text.empty() && pieces.bytesUsed == 0);
        return;
    }
    const Decoded whole = ReadAtOnce(file, pieces.encoding, dropNuls);
    FUZZ_CHECK(pieces.text == whole.text);
    FUZZ_CHECK(pieces.bytesUsed == whole.bytesUsed);
    const std::size_t left = file.size() - whole.bytesUsed;
    if (*pieces.encoding == TextEncoding::Utf16Le) {
        FUZZ_CHECK(whole.text.size() * 2 == whole.bytesUsed);
        if (!dropNuls) FUZZ_CHECK(left == file.size() % 2);
        return;
    }
    // Only an unfinished last sequence (and dropped NULs) stays unread.
    std::size_t nuls = 0;
    while (dropNuls && nuls < file.size() && file[file.size() - 1 - nuls] == 0) ++nuls;
    FUZZ_CHECK(left <= nuls + 3);
    FUZZ_CHECK(WellFormed(whole.text));
    const std::string again = platform::Utf16ToUtf8(whole.text);
    const std::vector<std::uint8_t> rewritten(again.begin(), again.end());
    const Decoded reread = ReadAtOnce(rewritten, TextEncoding::Utf8, false);
    FUZZ_CHECK(reread.text == whole.text && reread.bytesUsed == rewritten.size());
}

// Code points from the bytes: a byte below 0x80 is itself (NUL becomes a
// space, so the text holds no NUL), a higher one takes the next two bytes
// along to name any code point outside the surrogates.
std::u16string CodePointsFrom(const std::uint8_t* data, std::size_t size) {
    std::u16string text;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] < 0x80) {
            text += data[i] == 0 ? u' ' : static_cast<char16_t>(data[i]);
            continue;
        }
        std::uint32_t cp = data[i] & 0x7F;
        for (int k = 0; k < 2 && i + 1 < size; ++k) cp = cp << 8 | data[++i];
        cp %= 0x110000;
        if (cp >= 0xD800 && cp <= 0xDFFF) cp += 0x800;
        if (cp == 0) cp = 0x80;
        if (cp >= 0x10000) {
            text += static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10));
            text += static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            text += static_cast<char16_t>(cp);
        }
    }
    return text;
}

void CheckValidText(const std::u16string& text, bool dropNuls, std::uint32_t seed) {
    const std::string utf8 = platform::Utf16ToUtf8(text);
    const std::vector<std::uint8_t> utf8Bytes(utf8.begin(), utf8.end());
    // Without NUL bytes valid UTF-8 is never taken for UTF-16LE. A single
    // byte is no whole UTF-16 unit yet, so it waits for the next.
    const Decoded detected = ReadInPieces(utf8Bytes, std::nullopt, dropNuls, seed);
    if (utf8Bytes.size() < 2) {
        FUZZ_CHECK(!detected.encoding && detected.text.empty());
        return;
    }
    FUZZ_CHECK(detected.encoding == TextEncoding::Utf8);
    FUZZ_CHECK(detected.text == text && detected.bytesUsed == utf8Bytes.size());

    std::vector<std::uint8_t> utf16Bytes;
    std::size_t latin = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        utf16Bytes.push_back(static_cast<std::uint8_t>(text[i] & 0xFF));
        utf16Bytes.push_back(static_cast<std::uint8_t>(text[i] >> 8));
        if (i < 2048 && text[i] < 0x100) ++latin;
    }
    const Decoded wide = ReadInPieces(utf16Bytes, TextEncoding::Utf16Le, dropNuls, seed);
    FUZZ_CHECK(wide.text == text && wide.bytesUsed == utf16Bytes.size());
    // Mostly ASCII and Latin-1, UTF-16LE shows its NUL high halves.
    if (latin * 2 > std::min<std::size_t>(text.size(), 2048)) {
        CTextDecoder decoder;
        FUZZ_CHECK(decoder.DecideFrom(utf16Bytes.data(), utf16Bytes.size(), 0));
        FUZZ_CHECK(decoder.Encoding() == TextEncoding::Utf16Le);
    }

    // Opened somewhere inside, the text starts at the next whole character
    // and nothing after it is lost.
    if (utf8Bytes.empty()) return;
    const std::size_t start = seed % utf8Bytes.size();
    CTextDecoder decoder(TextEncoding::Utf8);
    const std::size_t skip =
        decoder.SequenceStartSkip(utf8Bytes.data() + start, utf8Bytes.size() - start);
    const std::string rest = utf8.substr(start + skip);
    FUZZ_CHECK(rest.empty() || (static_cast<std::uint8_t>(rest[0]) & 0xC0) != 0x80);
    std::vector<char16_t> out(rest.size() + 1);
    const core::DecodedChunk chunk =
        decoder.Decode(reinterpret_cast<const std::uint8_t*>(rest.data()), rest.size(),
                       start + skip, out.data(), false);
    const std::u16string tail(out.data(), chunk.units);
    FUZZ_CHECK(chunk.bytesUsed == rest.size() && platform::Utf16ToUtf8(tail) == rest);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t control = data[0];
    const std::vector<std::uint8_t> file(data + 1, data + size);
    const bool dropNuls = (control & 4) != 0;
    const std::uint32_t seed = control >> 3 | static_cast<std::uint32_t>(size) << 5;
    std::optional<TextEncoding> fixed;
    if ((control & 3) == 1) fixed = TextEncoding::Utf8;
    if ((control & 3) == 2) fixed = TextEncoding::Utf16Le;
    CheckAnyBytes(file, fixed, dropNuls, seed);
    CheckValidText(CodePointsFrom(file.data(), file.size()), dropNuls, seed);
    return 0;
}
