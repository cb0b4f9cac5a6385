#include "filters/FilterExpression.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "filters/ExpressionValidation.h"

namespace filters {
namespace {

using Occurrences = std::vector<PhraseOccurrence>;

Occurrences ScanAll(std::u16string_view pattern, std::u16string_view line, bool matchCase = true) {
    const auto expression = CompileFilterExpression(pattern, matchCase);
    EXPECT_NE(expression, nullptr) << "pattern did not compile";
    return expression ? expression->SearchAll(line) : Occurrences{};
}

bool Found(std::u16string_view pattern, std::u16string_view line, bool matchCase) {
    const auto expression = CompileFilterExpression(pattern, matchCase);
    return SearchFilterExpression(expression.get(), line).has_value();
}

TEST(FilterExpression, CaselessExpressionsFoldUnicodeLetters) {
    EXPECT_TRUE(Found(u"\u00e4rger", u"viel \u00c4RGER", false));
    EXPECT_TRUE(Found(u"\u03c3\u03bf\u03c6\u03af\u03b1", u"\u03a3\u039f\u03a6\u038a\u0391", false));
    EXPECT_TRUE(Found(u"error", u"an ERROR", false));
    EXPECT_FALSE(Found(u"\u00e4rger", u"viel \u00c4RGER", true));
    EXPECT_FALSE(Found(u"error", u"an ERROR", true));
}

TEST(FilterExpression, LineStartAnchorMatchesOnlyAtColumnZeroAcrossScans) {
    EXPECT_EQ(ScanAll(u"^abc", u"abcabc abc"), (Occurrences{{0, 3}}));
    EXPECT_EQ(ScanAll(u"^abc", u"xabc abc"), Occurrences{});
}

TEST(FilterExpression, WordBoundarySeesTheCharacterBeforeTheContinuation) {
    EXPECT_EQ(ScanAll(u"\\bcat", u"cat concat cat"), (Occurrences{{0, 3}, {11, 3}}));
    EXPECT_EQ(ScanAll(u"cat\\b", u"catcat cat"), (Occurrences{{3, 3}, {7, 3}}));
    EXPECT_EQ(ScanAll(u"(?<=x)a", u"xaxa"), (Occurrences{{1, 1}, {3, 1}}));
}

TEST(FilterExpression, EmptyMatchesAreNeverReported) {
    EXPECT_EQ(ScanAll(u"a*", u"aaa"), (Occurrences{{0, 3}}));
    EXPECT_EQ(ScanAll(u"a*", u"bbb"), Occurrences{});
    EXPECT_EQ(ScanAll(u"a*", u"aabaa"), (Occurrences{{0, 2}, {3, 2}}));
    EXPECT_EQ(ScanAll(u"x?|b", u"abc"), (Occurrences{{1, 1}}));
    EXPECT_FALSE(Found(u".*", u"", true));
    EXPECT_FALSE(Found(u"^$", u"", true));
}

TEST(FilterExpression, SearchFromAColumnReportsLineColumns) {
    const auto expression = CompileFilterExpression(u"[0-9]+", true);
    ASSERT_NE(expression, nullptr);
    EXPECT_EQ(expression->Search(u"a12 b345", 2), (PhraseOccurrence{2, 1}));
    EXPECT_EQ(expression->Search(u"a12 b345", 3), (PhraseOccurrence{5, 3}));
    EXPECT_EQ(expression->Search(u"a12 b345", 8), std::nullopt);
    EXPECT_EQ(expression->Search(u"a12 b345", 99), std::nullopt);
    EXPECT_EQ(SearchFilterExpression(nullptr, u"a12", 0), std::nullopt);
}

TEST(FilterExpression, GroupsDoNotLimitTheWholeMatch) {
    EXPECT_EQ(ScanAll(u"(a)(b)(?<third>c)", u"xxabc"), (Occurrences{{2, 3}}));
}

TEST(FilterExpression, RefusedPatternsGiveNoExpressionAndTheMessage) {
    EXPECT_EQ(CompileFilterExpression(u"(", true), nullptr);
    EXPECT_FALSE(IsSupportedExpression(u"(", false));
    EXPECT_FALSE(IsSupportedExpression(u"a{2,1}", true));
    EXPECT_TRUE(IsSupportedExpression(u"session [0-9a-f]{8} expired", false));
    EXPECT_EQ(UnsupportedExpressionMessage(u"("),
              u"The program doesn't support the following regular expression.\n\n(");
    EXPECT_EQ(UnsupportedExpressionMessage(u"%s[%d"),
              u"The program doesn't support the following regular expression.\n\n%s[%d");
}

TEST(FilterExpression, RunawayPatternEndsAsNotFound) {
    const std::u16string line = std::u16string(10000, u'a') + u"b";
    for (std::u16string_view pattern : {u"(a+)+$", u"(*NO_JIT)(a+)+$", u"(?:a|aa)+$"}) {
        const auto expression = CompileFilterExpression(pattern, true);
        ASSERT_NE(expression, nullptr);
        EXPECT_EQ(expression->Search(line, 0), std::nullopt) << "pattern " << pattern.size();
        EXPECT_EQ(expression->Search(u"aaa", 0), (PhraseOccurrence{0, 3}));
    }
}

TEST(FilterExpression, DeepBacktrackingOnLongLinesStillMatches) {
    std::u16string line;
    for (int i = 0; i < 50000; ++i) line += u"ab";
    line += u"c";
    EXPECT_EQ(ScanAll(u"(?:a|b)*c", line), (Occurrences{{0, line.size()}}));
}

TEST(FilterExpression, LinesWithLoneSurrogatesAreSearchedColumnForColumn) {
    const std::u16string line = u"ERROR \xd800 timeout \xdc00";
    EXPECT_EQ(ScanAll(u"timeout", line), (Occurrences{{8, 7}}));
    EXPECT_EQ(ScanAll(u"ERROR.*timeout", line), (Occurrences{{0, 15}}));
    EXPECT_EQ(ScanAll(u"\\S+", line), (Occurrences{{0, 5}, {6, 1}, {8, 7}, {16, 1}}));
    EXPECT_TRUE(Found(u"TIMEOUT", line, false));
    EXPECT_EQ(ScanAll(u"x", u"\xdc00x\xd800"), (Occurrences{{1, 1}}));
}

TEST(FilterExpression, SurrogatePairsCountAsTwoColumns) {
    const std::u16string line = u"\U0001F600a\U0001F600a";
    EXPECT_EQ(ScanAll(u"a", line), (Occurrences{{2, 1}, {5, 1}}));
    EXPECT_EQ(ScanAll(u".", line), (Occurrences{{0, 2}, {2, 1}, {3, 2}, {5, 1}}));
    const auto any = CompileFilterExpression(u".", true);
    EXPECT_EQ(any->Search(line, 1), (PhraseOccurrence{2, 1}));
}

TEST(FilterExpression, OneExpressionServesSeveralThreads) {
    const auto expression = CompileFilterExpression(u"status=5[0-9]{2}", true);
    ASSERT_NE(expression, nullptr);
    const std::u16string line = u"GET status=200 status=503 status=\xd800 status=599";
    const Occurrences expected{{15, 10}, {35, 10}};
    std::vector<int> agreed(4, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 500; ++i) agreed[t] += expression->SearchAll(line) == expected;
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_THAT(agreed, testing::Each(500));
}

}  // namespace
}  // namespace filters
