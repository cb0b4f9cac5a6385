#include "filters/InExFilterList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace filters {
namespace {

InExFilter Filter(std::u16string_view text, bool matchCase = false, bool regularExpression = false,
                  bool enable = true) {
    InExFilter filter;
    filter.phrase.text = text;
    filter.phrase.matchCase = matchCase;
    filter.phrase.regularExpression = regularExpression;
    filter.Enable = enable;
    return filter;
}

InExFilter Expression(std::u16string_view text, bool matchCase = false) {
    return Filter(text, matchCase, true);
}

CInExFilters Lists(std::vector<InExFilter> include, std::vector<InExFilter> exclude) {
    CInExFilters filters;
    filters.Replace(std::move(include), std::move(exclude));
    return filters;
}

TEST(InExFilters, WithoutEnabledFiltersNothingIsActiveAndEveryLinePasses) {
    const CInExFilters none;
    EXPECT_FALSE(none.AnyEnabled());
    EXPECT_FALSE(none.IsActive(true));
    EXPECT_TRUE(none.AcceptLine(u"anything"));
    EXPECT_TRUE(none.AcceptLine(u""));

    const CInExFilters disabled =
        Lists({Filter(u"keep", false, false, false)}, {Filter(u"drop", false, false, false)});
    EXPECT_FALSE(disabled.AnyEnabled());
    EXPECT_FALSE(disabled.AnyIncludeEnabled());
    EXPECT_FALSE(disabled.IsActive(true));
    EXPECT_TRUE(disabled.AcceptLine(u"drop this"));
    EXPECT_TRUE(disabled.AcceptLine(u"unrelated"));

    const CInExFilters enabled = Lists({}, {Filter(u"drop")});
    EXPECT_TRUE(enabled.IsActive(true));
    EXPECT_FALSE(enabled.IsActive(false)) << "the master switch turns filtering off";
}

TEST(InExFilters, OnlyExcludeFiltersDropJustTheLinesTheyMatch) {
    const CInExFilters filters = Lists({}, {Filter(u"debug"), Expression(u"^trace\\b")});
    EXPECT_TRUE(filters.AnyEnabled());
    EXPECT_FALSE(filters.AnyIncludeEnabled());
    EXPECT_FALSE(filters.AcceptLine(u"12:00 DEBUG cache warm"));
    EXPECT_FALSE(filters.AcceptLine(u"Trace x"));
    EXPECT_TRUE(filters.AcceptLine(u"12:00 trace x")) << "the anchor holds at the line start only";
    EXPECT_TRUE(filters.AcceptLine(u"12:00 INFO started"));
    EXPECT_TRUE(filters.AcceptLine(u""));
}

TEST(InExFilters, ExclusionWinsAndIncludeFiltersDecideTheRest) {
    const CInExFilters filters =
        Lists({Filter(u"ERROR", true), Filter(u"warn")}, {Filter(u"heartbeat")});
    EXPECT_FALSE(filters.AcceptLine(u"ERROR heartbeat missed")) << "both match: dropped";
    EXPECT_TRUE(filters.AcceptLine(u"ERROR disk full"));
    EXPECT_TRUE(filters.AcceptLine(u"WARN slow"));
    EXPECT_FALSE(filters.AcceptLine(u"error in lower case")) << "the include filter has match case";
    EXPECT_FALSE(filters.AcceptLine(u"INFO started")) << "no include filter matches";
    EXPECT_FALSE(filters.AcceptLine(u""));

    const CInExFilters withIncludeDisabled =
        Lists({Filter(u"ERROR", true, false, false), Filter(u"warn", false, false, false)},
              {Filter(u"heartbeat")});
    EXPECT_TRUE(withIncludeDisabled.AcceptLine(u"INFO started"));
    EXPECT_FALSE(withIncludeDisabled.AcceptLine(u"INFO heartbeat"));
}

TEST(InExFilters, ReplacePreparesOnlyEnabledFiltersAndDerivesTheFlags) {
    const CInExFilters filters =
        Lists({Filter(u"Plain"), Expression(u"Ab+c", true)},
              {Filter(u"Off", false, false, false), Expression(u"x+", false), Filter(u"C", true)});
    const FilterPhrase& plain = filters.Include()[0].phrase;
    EXPECT_EQ(plain.foldedText, u"plain");
    EXPECT_EQ(plain.expression, nullptr);
    EXPECT_NE(filters.Include()[1].phrase.expression, nullptr);
    EXPECT_TRUE(filters.Exclude()[0].phrase.foldedText.empty());
    EXPECT_EQ(filters.Exclude()[0].phrase.text, u"Off") << "a disabled filter keeps its text";
    EXPECT_NE(filters.Exclude()[1].phrase.expression, nullptr);
    EXPECT_TRUE(filters.NeedsFolding());
    EXPECT_TRUE(filters.AnyIncludeEnabled());

    const CInExFilters noFolding = Lists({Expression(u"a"), Filter(u"b", true)},
                                         {Filter(u"caseless but off", false, false, false)});
    EXPECT_FALSE(noFolding.NeedsFolding());

    CInExFilters reused = Lists({Expression(u"a")}, {});
    reused.Replace({}, {Filter(u"a", true, false)});
    EXPECT_FALSE(reused.AnyIncludeEnabled()) << "replacing recomputes every flag";
    EXPECT_EQ(reused.Exclude()[0].phrase.expression, nullptr) << "now a plain phrase";
}

TEST(InExFilters, CaselessPlainPhrasesFoldOnlyAsciiLettersExpressionsFoldUnicode) {
    const CInExFilters plain = Lists({}, {Filter(u"k"), Filter(u"\u00e4"), Filter(u"zz")});
    EXPECT_FALSE(plain.AcceptLine(u"OK"));
    EXPECT_TRUE(plain.AcceptLine(u"\u212a")) << "the Kelvin sign is not K for a plain phrase";
    EXPECT_TRUE(plain.AcceptLine(u"\u00c4"));
    EXPECT_FALSE(plain.AcceptLine(u"\u00e4"));

    const CInExFilters expression = Lists({}, {Expression(u"k"), Expression(u"\u00e4")});
    EXPECT_FALSE(expression.AcceptLine(u"\u212a"));
    EXPECT_FALSE(expression.AcceptLine(u"\u00c4"));
    EXPECT_TRUE(expression.AcceptLine(u"xyz"));
}

TEST(InExFilters, AnExpressionThatDoesNotCompileStaysButNeverMatches) {
    const CInExFilters filters = Lists({Expression(u"("), Filter(u"keep")}, {Expression(u"[")});
    ASSERT_EQ(filters.Include().size(), 2u);
    EXPECT_EQ(filters.Include()[0].phrase.expression, nullptr);
    EXPECT_TRUE(filters.AnyIncludeEnabled());
    EXPECT_FALSE(filters.AcceptLine(u"( [ )"));
    EXPECT_TRUE(filters.AcceptLine(u"keep ( ["));
}

TEST(InExFilters, EmptyMatchesNeverDecide) {
    const CInExFilters filters = Lists({Expression(u"x*"), Expression(u"\\b")}, {Expression(u"")});
    EXPECT_FALSE(filters.AcceptLine(u"abc")) << "only empty matches of the include filters";
    EXPECT_TRUE(filters.AcceptLine(u"axxb"));
}

TEST(InExFilters, ExpressionsThatCannotJoinOthersStillDecide) {
    const CInExFilters filters =
        Lists({Expression(u"(?<w>o)\\k<w>"), Expression(u"\\Qa|b"), Filter(u"plain")},
              {Expression(u"\\Gskip"), Expression(u"(*UCP)dropme"), Filter(u"x")});
    EXPECT_TRUE(filters.AcceptLine(u"good"));
    EXPECT_TRUE(filters.AcceptLine(u"1 a|b 2"));
    EXPECT_FALSE(filters.AcceptLine(u"1 a 2"));
    EXPECT_TRUE(filters.AcceptLine(u"plain"));
    EXPECT_FALSE(filters.AcceptLine(u"skip good"));
    EXPECT_TRUE(filters.AcceptLine(u"good skip")) << "\\G anchors at the line start";
    EXPECT_TRUE(filters.AcceptLine(u"good plain"));
    EXPECT_FALSE(filters.AcceptLine(u"good dropme"));
}

TEST(InExFilters, AGivenUpCombinedSearchFallsBackToEachFilter) {
    // The first expression backtracks without end on this line: on its own it
    // gives up as "not found", and the plain phrase must still be found.
    const std::u16string line = std::u16string(40, u'a') + u"! tail";
    const CInExFilters filters = Lists({}, {Expression(u"(?:a+)+$"), Filter(u"tail")});
    EXPECT_FALSE(filters.AcceptLine(line));
    const CInExFilters runawayOnly = Lists({}, {Expression(u"(?:a+)+$"), Filter(u"zzz")});
    EXPECT_TRUE(runawayOnly.AcceptLine(line));
}

TEST(InExFilters, LinesWithLoneSurrogatesAreDecidedAsTheMatcherDoes) {
    const std::u16string lone =
        u"ab\xD800"
        u"cd";
    const CInExFilters plain = Lists({}, {Filter(u"\xD800"), Filter(u"zz")});
    EXPECT_FALSE(plain.AcceptLine(lone)) << "a plain phrase compares code units";
    const CInExFilters replaced = Lists({}, {Expression(u"b\uFFFDc"), Filter(u"zz")});
    EXPECT_FALSE(replaced.AcceptLine(lone)) << "expressions see a repaired copy";
    EXPECT_TRUE(replaced.AcceptLine(u"ab\uFFFEcd"));
}

}  // namespace
}  // namespace filters
