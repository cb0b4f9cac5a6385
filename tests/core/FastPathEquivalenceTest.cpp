// The vectorised scans (ASCII widening, plain-run copying, LF search, the
// block-wide surrogate check) must give exactly what the unit-by-unit code
// gives. Random input mixes the cases at every offset around the 8- and
// 16-unit steps.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/LineBreakScan.h"
#include "core/LineFilterStage.h"
#include "core/NormalizeText.h"
#include "core/TextDecoder.h"
#include "filters/InExFilterList.h"

namespace {

using core::CTextDecoder;
using core::DecodedChunk;
using core::TextEncoding;

struct Decoded {
    std::u16string text;
    std::size_t bytesUsed = 0;
};

// Pieces shorter than sixteen bytes never reach the wide path, so decoding in
// such pieces is the unit-by-unit reference.
Decoded DecodeInSmallPieces(const std::vector<std::uint8_t>& bytes) {
    CTextDecoder decoder(TextEncoding::Utf8);
    Decoded result;
    std::vector<char16_t> out(16);
    while (result.bytesUsed < bytes.size()) {
        const std::size_t length = std::min<std::size_t>(15, bytes.size() - result.bytesUsed);
        const DecodedChunk chunk =
            decoder.Decode(bytes.data() + result.bytesUsed, length, 0, out.data(), false);
        result.text.append(out.data(), chunk.units);
        result.bytesUsed += chunk.bytesUsed;
        if (chunk.bytesUsed == 0) break;  // an unfinished sequence at the end
    }
    return result;
}

Decoded DecodeWhole(const std::vector<std::uint8_t>& bytes) {
    CTextDecoder decoder(TextEncoding::Utf8);
    std::vector<char16_t> out(bytes.size() + 1);
    const DecodedChunk chunk = decoder.Decode(bytes.data(), bytes.size(), 0, out.data(), false);
    return {std::u16string(out.data(), chunk.units), chunk.bytesUsed};
}

// The document's own layout: the bytes in the second half of one buffer, the
// units written from its start towards them.
Decoded DecodeInPlace(const std::vector<std::uint8_t>& bytes) {
    CTextDecoder decoder(TextEncoding::Utf8);
    const std::size_t capacity = bytes.size() + 1;
    std::vector<char16_t> buffer(capacity);
    const core::ReadPlacement placement = decoder.PlacementFor(capacity);
    auto* start = reinterpret_cast<std::uint8_t*>(buffer.data()) + placement.byteOffset;
    if (!bytes.empty()) std::memcpy(start, bytes.data(), bytes.size());
    const DecodedChunk chunk = decoder.Decode(start, bytes.size(), 0, buffer.data(), false);
    return {std::u16string(buffer.data(), chunk.units), chunk.bytesUsed};
}

std::vector<std::uint8_t> RandomUtf8(std::mt19937& random, std::size_t length) {
    static const std::vector<std::string> kPieces = {"a",
                                                     "Z",
                                                     "0",
                                                     " ",
                                                     "\n",
                                                     "\r",
                                                     "\t",
                                                     "\x7F",
                                                     "\xC3\xA9",
                                                     "\xE2\x82\xAC",
                                                     "\xF0\x9F\x98\x80",
                                                     "\xED\xA0\x80",
                                                     "\xC0\xAF",
                                                     "\x80",
                                                     "\xFF",
                                                     "\xE2\x82",
                                                     "\xF4\x90\x80\x80"};
    std::vector<std::uint8_t> bytes;
    while (bytes.size() < length) {
        // Mostly ASCII, with runs long enough to take the wide path.
        const bool ascii = random() % 4 != 0;
        const std::string& piece =
            ascii ? kPieces[random() % 4] : kPieces[random() % kPieces.size()];
        bytes.insert(bytes.end(), piece.begin(), piece.end());
    }
    bytes.resize(length);
    return bytes;
}

TEST(FastPathEquivalence, Utf8DecodingMatchesTheUnitByUnitDecoder) {
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        const std::vector<std::uint8_t> bytes = RandomUtf8(random, random() % 90);
        const Decoded reference = DecodeInSmallPieces(bytes);
        const Decoded whole = DecodeWhole(bytes);
        const Decoded inPlace = DecodeInPlace(bytes);
        ASSERT_EQ(whole.text, reference.text) << "round " << round;
        ASSERT_EQ(whole.bytesUsed, reference.bytesUsed) << "round " << round;
        ASSERT_EQ(inPlace.text, reference.text) << "round " << round;
        ASSERT_EQ(inPlace.bytesUsed, reference.bytesUsed) << "round " << round;
    }
}

TEST(FastPathEquivalence, AsciiRunsOfEveryLengthAroundTheWideStep) {
    for (std::size_t length = 0; length <= 40; ++length) {
        for (std::size_t at = 0; at <= length; ++at) {
            std::vector<std::uint8_t> bytes(length, 'x');
            const std::string euro = "\xE2\x82\xAC";
            bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), euro.begin(), euro.end());
            std::u16string expected(length, u'x');
            expected.insert(at, 1, u'\u20AC');
            EXPECT_EQ(DecodeWhole(bytes).text, expected) << length << " " << at;
            EXPECT_EQ(DecodeInPlace(bytes).text, expected) << length << " " << at;
        }
    }
}

// The plain unit-by-unit normalisation.
std::u16string ReferenceNormalize(std::u16string text, bool showSpaceForBadChar) {
    std::u16string out;
    for (std::size_t in = 0; in < text.size(); ++in) {
        const char16_t ch = text[in];
        if (ch == u'\r' || ch == u'\n') {
            const char16_t partner = ch == u'\r' ? u'\n' : u'\r';
            if (in + 1 < text.size() && text[in + 1] == partner) ++in;
            out += u'\n';
        } else if ((ch < 0x20 && ch != u'\t') || ch == 0x7F) {
            out += showSpaceForBadChar ? u' ' : ch;
        } else {
            out += ch;
        }
    }
    return out;
}

std::u16string RandomUnits(std::mt19937& random, std::size_t length) {
    static const char16_t kUnits[] = {u'a', u'a', u'a', u'a', u'~',   u' ',   u'\r',  u'\n', u'\t',
                                      0x01, 0x1F, 0x7F, 0x80, 0xD800, 0xDC00, 0xFFFF, 0x2020};
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) {
        // Runs of plain units make the copy of untouched stretches matter.
        const std::size_t pick = random() % 3 ? random() % 5 : random() % std::size(kUnits);
        text += kUnits[pick];
    }
    return text;
}

TEST(FastPathEquivalence, NormalizingMatchesTheUnitByUnitRule) {
    std::mt19937 random(11);
    for (int round = 0; round < 3000; ++round) {
        const std::u16string text = RandomUnits(random, random() % 70);
        for (const bool spaces : {true, false}) {
            std::u16string buffer = text + u'#';
            const std::size_t length = core::NormalizeText(buffer.data(), text.size(), spaces);
            ASSERT_EQ(buffer.substr(0, length), ReferenceNormalize(text, spaces)) << round;
            ASSERT_EQ(buffer[length], 0) << "the result is terminated";
        }
    }
}

TEST(FastPathEquivalence, LfSearchMatchesFind) {
    std::mt19937 random(13);
    for (int round = 0; round < 500; ++round) {
        const std::u16string text = RandomUnits(random, random() % 40);
        const std::u16string_view view(text);
        for (std::size_t from = 0; from <= text.size() + 1; ++from) {
            ASSERT_EQ(core::FindLf(view, from), view.find(u'\n', from)) << round << " " << from;
        }
    }
}

// A walk from break to break, as an insertion splits its text, sees every
// break once whatever the 64-unit blocks it crosses.
TEST(FastPathEquivalence, BreakWalkMatchesFind) {
    std::mt19937 random(19);
    for (int round = 0; round < 500; ++round) {
        const std::u16string text = RandomUnits(random, random() % 300);
        const std::u16string_view view(text);
        for (const bool lfOnly : {false, true}) {
            const std::u16string_view units = lfOnly ? u"\n" : u"\r\n";
            core::CLineBreakCursor cursor(view, lfOnly);
            std::size_t from = random() % 3;
            for (;;) {
                const std::size_t expected = view.find_first_of(units, from);
                ASSERT_EQ(cursor.Next(from), expected) << round << " " << from;
                if (expected == std::u16string_view::npos) break;
                // Sometimes a piece is skipped, as a walk that jumps ahead.
                from = expected + 1 + (random() % 4 == 0 ? random() % 90 : 0);
            }
        }
    }
}

filters::CInExFilters ExcludingExpression(std::u16string_view pattern) {
    std::vector<filters::InExFilter> exclude(2);
    exclude[0].phrase.Assign(std::u16string(pattern), true, true);
    exclude[1].phrase.Assign(u"d\\x{1F600}", true, true);
    filters::CInExFilters filters;
    filters.Replace({}, std::move(exclude));
    return filters;
}

// A pair split between two blocks is whole in the joined line; a lone
// surrogate in one block does not make the other block's lines suspect.
TEST(FastPathEquivalence, FilterStageDecidesLinesWithSurrogatesAsEachLineAlone) {
    const filters::CInExFilters filters = ExcludingExpression(u"x.y");
    std::mt19937 random(17);
    static const char16_t kUnits[] = {u'x', u'y', u'z', u'\n', 0xD83D, 0xDE00, u'd'};
    for (int round = 0; round < 400; ++round) {
        std::u16string all;
        std::u16string shown;
        core::CLineFilterStage stage;
        for (int block = 0; block < 4; ++block) {
            std::u16string text;
            const std::size_t length = random() % 12;
            for (std::size_t i = 0; i < length; ++i) text += kUnits[random() % std::size(kUnits)];
            all += text;
            const core::CLineFilterStage::Output output = stage.Filter(text, filters);
            if (output.removesShownPartial) shown.erase(shown.rfind(u'\n') + 1);
            shown.append(output.text);
        }
        std::u16string expected;
        std::size_t pos = 0;
        while (pos <= all.size()) {
            const std::size_t lf = all.find(u'\n', pos);
            const std::size_t end = lf == std::u16string::npos ? all.size() : lf;
            const std::u16string_view line = std::u16string_view(all).substr(pos, end - pos);
            const bool complete = lf != std::u16string::npos;
            if ((complete || !line.empty()) && filters.AcceptLine(line)) {
                expected.append(line);
                if (complete) expected += u'\n';
            }
            if (!complete) break;
            pos = lf + 1;
        }
        ASSERT_EQ(shown, expected) << "round " << round;
    }
}

}  // namespace
