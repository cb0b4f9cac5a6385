#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/TextDecoder.h"
#include "core/TextEncoding.h"

namespace {

using core::CTextDecoder;
using core::DecodedChunk;
using core::TextEncoding;

struct Decoded {
    std::u16string text;
    DecodedChunk chunk;
};

Decoded DecodeBytes(CTextDecoder& decoder, std::string_view bytes, bool dropNuls = true,
                    std::uint64_t offset = 0) {
    std::vector<char16_t> out(bytes.size() + 1);
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const DecodedChunk chunk = decoder.Decode(data, bytes.size(), offset, out.data(), dropNuls);
    return {std::u16string(out.data(), chunk.units), chunk};
}

TEST(DecoderTest, Utf8SequencesSplitBetweenReadsWaitForTheirRest) {
    CTextDecoder decoder(TextEncoding::Utf8);
    const std::string euro = "\xE2\x82\xAC";  // U+20AC
    for (std::size_t cut = 1; cut < euro.size(); ++cut) {
        const Decoded first = DecodeBytes(decoder, "a" + euro.substr(0, cut));
        EXPECT_EQ(first.text, u"a");
        EXPECT_EQ(first.chunk.bytesUsed, 1u) << "the unfinished sequence is not consumed";
        const Decoded again = DecodeBytes(decoder, euro + "b");
        EXPECT_EQ(again.text, u"\u20ACb");
        EXPECT_EQ(again.chunk.bytesUsed, 4u);
    }
    const Decoded emoji = DecodeBytes(decoder, "\xF0\x9F\x98\x80");
    EXPECT_EQ(emoji.text, u"\U0001F600");
}

TEST(DecoderTest, InvalidUtf8BecomesReplacementCharacters) {
    CTextDecoder decoder(TextEncoding::Utf8);
    EXPECT_EQ(DecodeBytes(decoder, "bad \xFF\xFE byte").text, u"bad \uFFFD\uFFFD byte");
    // A lead without its continuation, then text: one replacement for the lead.
    EXPECT_EQ(DecodeBytes(decoder, "\xE2\x82x").text, u"\uFFFDx");
    // Overlong forms, surrogates and stray continuation bytes.
    EXPECT_EQ(DecodeBytes(decoder, "\xC0\xAF").text, u"\uFFFD\uFFFD");
    EXPECT_EQ(DecodeBytes(decoder, "\xED\xA0\x80").text, u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(DecodeBytes(decoder, "\x80z").text, u"\uFFFDz");
    // An invalid tail at the end is not an unfinished sequence: it is used up.
    const Decoded tail = DecodeBytes(decoder, "q\xF4\x90");
    EXPECT_EQ(tail.text, u"q\uFFFD\uFFFD");
    EXPECT_EQ(tail.chunk.bytesUsed, 3u);
}

TEST(DecoderTest, TrailingNulsAreLeftUnreadInBothEncodings) {
    CTextDecoder utf8(TextEncoding::Utf8);
    const Decoded eight = DecodeBytes(utf8, std::string("ab\0c\0\0\0", 7));
    EXPECT_EQ(eight.text, std::u16string(u"ab\0c", 4));
    EXPECT_EQ(eight.chunk.bytesUsed, 4u);
    EXPECT_EQ(eight.chunk.nulsDropped, 3u);

    CTextDecoder utf16(TextEncoding::Utf16Le);
    const Decoded sixteen = DecodeBytes(utf16, std::string("a\0b\0\0\0\0\0x", 9));
    EXPECT_EQ(sixteen.text, u"ab");
    EXPECT_EQ(sixteen.chunk.bytesUsed, 4u);
    EXPECT_EQ(sixteen.chunk.nulsDropped, 2u);

    const Decoded kept = DecodeBytes(utf16, std::string("a\0\0\0", 4), false);
    EXPECT_EQ(kept.text, std::u16string(u"a\0", 2));
}

TEST(DecoderTest, Utf16OddByteWaitsForItsPartner) {
    CTextDecoder decoder(TextEncoding::Utf16Le);
    const Decoded odd = DecodeBytes(decoder, std::string("h\0\xE9", 3));
    EXPECT_EQ(odd.text, u"h");
    EXPECT_EQ(odd.chunk.bytesUsed, 2u);
}

TEST(DecoderTest, DecodingInPlaceGivesTheSameUnits) {
    const std::string text = "line \xE2\x82\xAC \xF0\x9F\x98\x80 \xFF end\n";
    CTextDecoder decoder(TextEncoding::Utf8);
    const std::u16string expected = DecodeBytes(decoder, text).text;

    const std::size_t capacity = 64;
    std::vector<char16_t> buffer(capacity + 4);
    const core::ReadPlacement placement = decoder.PlacementFor(capacity);
    ASSERT_GE(placement.maxBytes, text.size());
    auto* bytes = reinterpret_cast<std::uint8_t*>(buffer.data()) + placement.byteOffset;
    std::memcpy(bytes, text.data(), text.size());
    const DecodedChunk chunk = decoder.Decode(bytes, text.size(), 0, buffer.data(), true);
    EXPECT_EQ(std::u16string(buffer.data(), chunk.units), expected);
}

TEST(DecoderTest, AutomaticDecidesFromTheFirstBytesWithText) {
    CTextDecoder decoder;
    EXPECT_FALSE(decoder.IsDecided());
    // NULs alone and a single byte tell nothing yet; nothing is used.
    EXPECT_EQ(DecodeBytes(decoder, std::string("\0\0\0\0", 4)).chunk.bytesUsed, 0u);
    EXPECT_EQ(DecodeBytes(decoder, "a").chunk.bytesUsed, 0u);
    EXPECT_FALSE(decoder.IsDecided());
    EXPECT_EQ(DecodeBytes(decoder, std::string("h\0i\0", 4)).text, u"hi");
    EXPECT_EQ(decoder.Encoding(), TextEncoding::Utf16Le);

    decoder.Reset(std::nullopt);
    EXPECT_EQ(DecodeBytes(decoder, "gr\xC3\xBC\xC3\x9F").text, u"grüß");
    EXPECT_EQ(decoder.Encoding(), TextEncoding::Utf8);
}

TEST(DecoderTest, DetectionJudgesTextNotPreallocatedNuls) {
    const auto detect = [](std::string_view bytes, std::uint64_t offset = 0) {
        return core::DetectEncoding(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    bytes.size(), offset);
    };
    EXPECT_EQ(detect(std::string("first\n\0\0\0\0\0\0", 12)), TextEncoding::Utf8);
    EXPECT_EQ(detect(std::string("p\0l\0a\0i\0n\0", 10)), TextEncoding::Utf16Le);
    // The same units seen from an odd file offset start with a high byte.
    EXPECT_EQ(detect(std::string("\0p\0l\0a\0", 7), 1), TextEncoding::Utf16Le);
    EXPECT_EQ(detect(std::string("\0\0\0\0", 4)), std::nullopt);
}

// Without NULs for the ASCII range, invalid UTF-8 of whole, well-formed
// UTF-16 units is UTF-16LE; text that reads as UTF-8 stays UTF-8.
TEST(DecoderTest, DetectionTellsMostlyNonAsciiUtf16FromUtf8) {
    const auto detect = [](std::string_view bytes) {
        return core::DetectEncoding(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                    bytes.size(), 0);
    };
    const auto utf16 = [](std::u16string_view text) {
        std::string bytes;
        for (char16_t unit : text) {
            bytes.push_back(static_cast<char>(unit & 0xFF));
            bytes.push_back(static_cast<char>(unit >> 8));
        }
        return bytes;
    };
    std::u16string chinese;
    for (int i = 0; i < 100; ++i) chinese += u"日本語のログ 12\n";
    EXPECT_EQ(detect(utf16(chinese)), TextEncoding::Utf16Le);
    EXPECT_EQ(detect(utf16(u"日本")), TextEncoding::Utf16Le);
    EXPECT_EQ(detect(utf16(u"日😀\n")), TextEncoding::Utf16Le);
    // A sample cut inside a unit or a sequence is judged on what it holds.
    EXPECT_EQ(detect(utf16(chinese + chinese + chinese).substr(0, 5001)), TextEncoding::Utf16Le);
    EXPECT_EQ(detect("\xE6\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E\n\xE6"), TextEncoding::Utf8);
    EXPECT_EQ(detect("\x97\xA5\xE6\x9C\xAC\xE8\xAA\x9E"), TextEncoding::Utf8);

    // Mostly ASCII with a few bytes of another code page: not UTF-16.
    EXPECT_EQ(detect("caf\xE9 au lait!\n"), TextEncoding::Utf8);
    // An odd length, a lone surrogate, a noncharacter: not UTF-16 either.
    EXPECT_EQ(detect(utf16(u"日本").substr(0, 3)), TextEncoding::Utf8);
    EXPECT_EQ(detect(utf16(std::u16string{0x65E5, 0xD800, 0x672C, 0x8A9E})), TextEncoding::Utf8);
    EXPECT_EQ(detect(utf16(std::u16string{0x65E5, 0xFFFE})), TextEncoding::Utf8);
}

TEST(DecoderTest, ByteOrderMarksAndSequenceStarts) {
    const auto mark = [](std::string_view head, TextEncoding encoding) {
        return core::ByteOrderMarkLength(reinterpret_cast<const std::uint8_t*>(head.data()),
                                         head.size(), encoding);
    };
    EXPECT_EQ(mark("\xFF\xFEx", TextEncoding::Utf16Le), 2u);
    EXPECT_EQ(mark("\xFF", TextEncoding::Utf16Le), 0u);
    EXPECT_EQ(mark("\xEF\xBB\xBF", TextEncoding::Utf8), 3u);
    EXPECT_EQ(mark("\xFF\xFE", TextEncoding::Utf8), 0u);

    CTextDecoder decoder(TextEncoding::Utf8);
    const std::string inside = "\x82\xAC rest";
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(inside.data());
    EXPECT_EQ(decoder.SequenceStartSkip(bytes, inside.size()), 2u);
    decoder.Reset(TextEncoding::Utf16Le);
    EXPECT_EQ(decoder.SequenceStartSkip(bytes, inside.size()), 0u);
}

}  // namespace
