#include "filters/FilterPhrase.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "filters/AsciiFold.h"

namespace filters {
namespace {

using Occurrences = std::vector<PhraseOccurrence>;

FilterPhrase Phrase(std::u16string_view text, bool matchCase, bool regularExpression) {
    FilterPhrase phrase;
    phrase.Assign(text, matchCase, regularExpression);
    return phrase;
}

TEST(FilterPhrase, CaselessPlainPhrasesFoldOnlyAToZ) {
    const FilterPhrase error = Phrase(u"error", false, false);
    EXPECT_TRUE(MatchPhrase(error, u"12:00 ERROR disk"));
    EXPECT_TRUE(MatchPhrase(error, u"12:00 Error disk"));
    EXPECT_FALSE(MatchPhrase(error, u"12:00 err or"));
    EXPECT_FALSE(MatchPhrase(Phrase(u"\u00e4", false, false), u"\u00c4"));
    EXPECT_TRUE(MatchPhrase(Phrase(u"\u00e4", false, true), u"\u00c4"));
}

TEST(FilterPhrase, MatchCaseComparesExactly) {
    const FilterPhrase error = Phrase(u"ERROR", true, false);
    EXPECT_TRUE(MatchPhrase(error, u"an ERROR"));
    EXPECT_FALSE(MatchPhrase(error, u"an Error"));
    EXPECT_FALSE(MatchPhrase(Phrase(u"ERR.R", true, false), u"an ERROR"));
    EXPECT_TRUE(MatchPhrase(Phrase(u"ERR.R", true, true), u"an ERROR"));
}

TEST(FilterPhrase, PlainScanGivesNonOverlappingOccurrences) {
    EXPECT_EQ(ScanOccurrences(Phrase(u"aa", true, false), u"aaaaa"), (Occurrences{{0, 2}, {2, 2}}));
    EXPECT_EQ(ScanOccurrences(Phrase(u"Cat", false, false), u"cat concat CAT"),
              (Occurrences{{0, 3}, {7, 3}, {11, 3}}));
}

TEST(FilterPhrase, CaselessScanAgreesOnTheLineAndItsFoldedCopy) {
    const FilterPhrase error = Phrase(u"ErRoR", false, false);
    const std::u16string line = u"ERROR: error while handling Error";
    EXPECT_EQ(ScanOccurrences(error, line), ScanOccurrences(error, FoldedAsciiLower(line)));
    EXPECT_EQ(ScanOccurrences(error, line).size(), 3u);
}

TEST(FilterPhrase, ExpressionScanHonoursAnchorsAndEmptyMatches) {
    EXPECT_EQ(ScanOccurrences(Phrase(u"^abc", true, true), u"abc abc"), (Occurrences{{0, 3}}));
    EXPECT_EQ(ScanOccurrences(Phrase(u"a*", true, true), u"bbb"), Occurrences{});
    EXPECT_FALSE(MatchPhrase(Phrase(u"a*", true, true), u"bbb"));
    EXPECT_FALSE(MatchPhrase(Phrase(u"x*", false, true), u""));
}

TEST(FilterPhrase, PhrasesThatCannotMatchNeverDo) {
    const FilterPhrase refused = Phrase(u"(", true, true);
    EXPECT_EQ(refused.expression, nullptr);
    EXPECT_FALSE(MatchPhrase(refused, u"a ( b"));
    EXPECT_TRUE(ScanOccurrences(refused, u"a ( b").empty());
    const FilterPhrase empty = Phrase(u"", false, false);
    EXPECT_FALSE(MatchPhrase(empty, u"any line"));
    EXPECT_TRUE(ScanOccurrences(empty, u"any line").empty());
}

TEST(FilterPhrase, AssignRefreshesFoldedTextAndExpression) {
    FilterPhrase phrase = Phrase(u"Disk [0-9]+%", false, true);
    EXPECT_EQ(phrase.foldedText, u"disk [0-9]+%");
    EXPECT_TRUE(MatchPhrase(phrase, u"DISK 97%"));
    phrase.Assign(u"Disk [0-9]+%", false, false);
    EXPECT_EQ(phrase.expression, nullptr);
    EXPECT_FALSE(MatchPhrase(phrase, u"DISK 97%"));
    EXPECT_TRUE(MatchPhrase(phrase, u"DISK [0-9]+%"));
}

}  // namespace
}  // namespace filters
