#include "filters/PhraseSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "filters/AsciiFold.h"

namespace filters {
namespace {

constexpr std::size_t npos = std::u16string_view::npos;

std::size_t NaiveFind(std::u16string_view text, std::u16string_view phrase, std::size_t from,
                      bool foldAscii) {
    if (phrase.empty()) return npos;
    for (std::size_t at = from; at + phrase.size() <= text.size(); ++at) {
        bool equal = true;
        for (std::size_t k = 0; k < phrase.size() && equal; ++k) {
            equal = foldAscii ? FoldAsciiLower(text[at + k]) == FoldAsciiLower(phrase[k])
                              : text[at + k] == phrase[k];
        }
        if (equal) return at;
    }
    return npos;
}

// Characters chosen to trip a careless fold: letters in both cases, the
// neighbours of A..Z and a..z, and non-ASCII units whose low byte or
// (unit | 0x20) looks like a letter.
const std::u16string kAlphabet = u"aAbBzZ@[`{\u0145\u0165\u00c4\u00e4\u0141 ";

std::u16string RandomText(std::mt19937& random, std::size_t length) {
    std::uniform_int_distribution<std::size_t> pick(0, kAlphabet.size() - 1);
    std::u16string text;
    for (std::size_t i = 0; i < length; ++i) text += kAlphabet[pick(random)];
    return text;
}

TEST(PhraseSearch, AgreesWithNaiveSearchOnRandomText) {
    std::mt19937 random(7);
    std::uniform_int_distribution<std::size_t> textLength(0, 70), phraseLength(1, 4);
    for (int round = 0; round < 20000; ++round) {
        const std::u16string text = RandomText(random, textLength(random));
        const std::u16string phrase = RandomText(random, phraseLength(random));
        const std::size_t from = text.empty() ? 0 : random() % (text.size() + 1);
        for (bool fold : {false, true}) {
            ASSERT_EQ(FindPhrase(text, phrase, from, fold), NaiveFind(text, phrase, from, fold))
                << "fold " << fold << " round " << round;
        }
    }
}

TEST(PhraseSearch, FindsPhraseAtEveryPositionOfLongLines) {
    const std::u16string phrase = u"needle";
    for (std::size_t at = 0; at <= 60; ++at) {
        std::u16string text(66, u'x');
        text.replace(at, phrase.size(), phrase);
        EXPECT_EQ(FindPhrase(text, phrase, 0, false), at);
        EXPECT_EQ(FindPhrase(text, u"NEEDLE", 0, true), at);
        EXPECT_EQ(FindPhrase(text, phrase, at + 1, false), npos);
    }
}

TEST(PhraseSearch, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(FindPhrase(u"an ERROR", u"error", 0, true), 3u);
    EXPECT_EQ(FindPhrase(u"an Error", u"eRROR", 0, true), 3u);
    EXPECT_EQ(FindPhrase(u"an ERROR", u"error", 0, false), npos);
    EXPECT_EQ(FindPhrase(u"\u00c4rger", u"\u00e4rger", 0, true), npos);
    EXPECT_EQ(FindPhrase(u"x@y", u"x`y", 0, true), npos);
    EXPECT_EQ(FindPhrase(u"x[y", u"x{y", 0, true), npos);
    EXPECT_EQ(FindPhrase(u"\u0145", u"e", 0, true), npos);
}

TEST(PhraseSearch, EmptyPhraseAndOutOfRangeStartsAreNeverFound) {
    EXPECT_EQ(FindPhrase(u"abc", u"", 0, false), npos);
    EXPECT_EQ(FindPhrase(u"", u"", 0, true), npos);
    EXPECT_EQ(FindPhrase(u"abc", u"c", 4, false), npos);
    EXPECT_EQ(FindPhrase(u"abc", u"abcd", 0, false), npos);
    EXPECT_EQ(FindPhrase(u"abc", u"c", 2, false), 2u);
}

TEST(AsciiFold, LowersOnlyAToZ) {
    std::u16string text = u"@AZ[`az{\u00c4\u0130";
    FoldAsciiLower(text);
    EXPECT_EQ(text, u"@az[`az{\u00c4\u0130");
    EXPECT_EQ(FoldedAsciiLower(u"ERROR Error"), u"error error");
}

}  // namespace
}  // namespace filters
