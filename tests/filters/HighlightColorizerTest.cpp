#include "filters/HighlightColorizer.h"

#include <gtest/gtest.h>

#include <vector>

#include "filters/HighlightTestFilters.h"

namespace filters {
namespace {

using highlight_test::EntireLine;
using highlight_test::Filter;
using highlight_test::Kind;
using highlight_test::ShowAs;

constexpr std::uint32_t kNormalText = 0x000000;
constexpr std::uint32_t kNormalBkg = 0xFFFFFF;

struct Colored {
    LineColors colors{kNormalText, kNormalBkg};
    HighlightRunList runs;
};

Colored Colorize(std::vector<HighlightFilter> list, std::u16string_view line,
                 ColorizeMode mode = ColorizeMode::Drawing, HighlightOptions options = {}) {
    CHighlightFilters filters;
    filters.Replace(std::move(list));
    Colored result;
    ColorizeLine(filters, line, options, mode, result.colors, result.runs);
    return result;
}

HighlightRun RunOf(const HighlightFilter& filter, int start, int length) {
    return {start, length, filter.TextColor, filter.BkgColor};
}

TEST(HighlightColorizer, EarlierFilterWinsAndOverlapsAreNotColouredAtAll) {
    const HighlightFilter error = Filter(u"error", 1);
    const HighlightFilter orr = Filter(u"or", 2);
    const Colored result = Colorize({error, orr}, u"error");
    EXPECT_EQ(result.runs, (HighlightRunList{RunOf(error, 0, 5)}));

    // Reversed, the short phrase claims first and the long one loses whole.
    EXPECT_EQ(Colorize({orr, error}, u"error").runs, (HighlightRunList{RunOf(orr, 3, 2)}));
}

TEST(HighlightColorizer, LaterFilterKeepsItsOccurrencesOutsideEarlierClaims) {
    const HighlightFilter disk = Filter(u"disk full", 1);
    const HighlightFilter full = Filter(u"full", 2);
    const Colored result = Colorize({disk, full}, u"full: disk full, full");
    EXPECT_EQ(result.runs,
              (HighlightRunList{RunOf(full, 0, 4), RunOf(disk, 6, 9), RunOf(full, 17, 4)}));
    EXPECT_EQ(result.colors.bkgColor, kNormalBkg);
}

TEST(HighlightColorizer, EachKindOfPhraseFindsItsOccurrences) {
    const HighlightFilter caseless = Filter(u"warn", 1);
    const HighlightFilter exact = Filter(u"Id", 2, Kind::MatchCase);
    const HighlightFilter expression = Filter(u"\\d+ms", 3, Kind::Expression);
    const Colored result = Colorize({caseless, exact, expression}, u"WARN id Id 250ms Warn");
    EXPECT_EQ(result.runs, (HighlightRunList{RunOf(caseless, 0, 4), RunOf(exact, 8, 2),
                                             RunOf(expression, 11, 5), RunOf(caseless, 17, 4)}));
}

TEST(HighlightColorizer, DisabledFiltersAndEmptyLinesColourNothing) {
    HighlightFilter disabled = Filter(u"error", 1);
    disabled.Enable = false;
    EXPECT_TRUE(Colorize({disabled}, u"error").runs.empty());

    const Colored empty = Colorize({EntireLine(u"a*", 5, Kind::Expression)}, u"");
    EXPECT_TRUE(empty.runs.empty());
    EXPECT_EQ(empty.colors.bkgColor, kNormalBkg);
}

TEST(HighlightColorizer, EntireLineFiltersSetLineColoursAndTheLastOneWins) {
    const HighlightFilter first = EntireLine(u"error", 1);
    const HighlightFilter second = EntireLine(u"disk", 2);
    const Colored result = Colorize({first, second}, u"error: disk error");
    EXPECT_TRUE(result.runs.empty());
    EXPECT_EQ(result.colors.textColor, second.TextColor);
    EXPECT_EQ(result.colors.bkgColor, second.BkgColor);

    const Colored onlyFirst = Colorize({first, second}, u"error: cpu");
    EXPECT_EQ(onlyFirst.colors.bkgColor, first.BkgColor);
}

TEST(HighlightColorizer, NavigationModeGivesRunsForEntireLineFilters) {
    const HighlightFilter line = EntireLine(u"error", 1);
    const Colored result = Colorize({line}, u"error, error", ColorizeMode::Navigation);
    EXPECT_EQ(result.runs, (HighlightRunList{RunOf(line, 0, 5), RunOf(line, 7, 5)}));
    EXPECT_EQ(result.colors.bkgColor, line.BkgColor);
}

TEST(HighlightColorizer, NavigationModeCanPassOverShowAsAndEntireLineFilters) {
    const HighlightFilter shown = ShowAs(u"ERROR", u"E!", 1);
    const HighlightFilter line = EntireLine(u"disk", 2);
    const HighlightFilter plain = Filter(u"cpu", 3);
    const std::u16string_view text = u"E! disk cpu";

    HighlightOptions ignoreShowAs;
    ignoreShowAs.IgnoreReplaceTextForGotoHFilter = true;
    EXPECT_EQ(Colorize({shown, line, plain}, text, ColorizeMode::Navigation, ignoreShowAs).runs,
              (HighlightRunList{RunOf(line, 3, 4), RunOf(plain, 8, 3)}));

    HighlightOptions ignoreEntireLine;
    ignoreEntireLine.IgnoreHighlightEntireLineForGotoHFilter = true;
    const Colored skipped =
        Colorize({shown, line, plain}, text, ColorizeMode::Navigation, ignoreEntireLine);
    EXPECT_EQ(skipped.runs, (HighlightRunList{RunOf(shown, 0, 2), RunOf(plain, 8, 3)}));
    EXPECT_EQ(skipped.colors.bkgColor, kNormalBkg);

    // The options only concern navigation: drawing colours every filter.
    const Colored drawn = Colorize({shown, line, plain}, text, ColorizeMode::Drawing,
                                   HighlightOptions{true, 0, false, true, true, false});
    EXPECT_EQ(drawn.runs, (HighlightRunList{RunOf(shown, 0, 2), RunOf(plain, 8, 3)}));
    EXPECT_EQ(drawn.colors.bkgColor, line.BkgColor);
}

TEST(HighlightColorizer, ShowAsFiltersColourTheShownTextWithCaseNotThePhrase) {
    const HighlightFilter shown = ShowAs(u"ERROR", u"E!", 1);
    // A line that already held E! is coloured there too; e! and ERROR are not.
    EXPECT_EQ(Colorize({shown}, u"E! and E! e! ERROR").runs,
              (HighlightRunList{RunOf(shown, 0, 2), RunOf(shown, 7, 2)}));

    // An expression "Show as" filter is searched for its text, not as an expression.
    const HighlightFilter expression = ShowAs(u"\\d+", u"N.", 2, Kind::Expression);
    EXPECT_EQ(Colorize({expression}, u"N. 12 Nx").runs,
              (HighlightRunList{RunOf(expression, 0, 2)}));
}

TEST(HighlightColorizer, UncompilableExpressionsNeverMatch) {
    EXPECT_TRUE(Colorize({Filter(u"(", 1, Kind::Expression)}, u"a ( b").runs.empty());
}

TEST(HighlightColorizer, HighlightLineBackgroundAppliesOnlyToLinesWithRunsAndNormalBackground) {
    HighlightOptions options;
    options.HighlightLine = true;
    options.HLLineBkgColor = 0xC0FFFF;

    const Colored phrase = Colorize({Filter(u"error", 1)}, u"an error");
    EXPECT_EQ(FinalLineBackground(options, phrase.runs, phrase.colors.bkgColor, kNormalBkg),
              0xC0FFFFu);

    // An entire-line filter matching too keeps its own background.
    const HighlightFilter line = EntireLine(u"an", 2);
    const Colored both = Colorize({Filter(u"error", 1), line}, u"an error");
    EXPECT_EQ(FinalLineBackground(options, both.runs, both.colors.bkgColor, kNormalBkg),
              line.BkgColor);

    // A line matched only by an entire-line filter has no runs.
    const Colored lineOnly = Colorize({line}, u"an entry");
    EXPECT_EQ(FinalLineBackground(options, lineOnly.runs, lineOnly.colors.bkgColor, kNormalBkg),
              line.BkgColor);

    options.HighlightLine = false;
    EXPECT_EQ(FinalLineBackground(options, phrase.runs, phrase.colors.bkgColor, kNormalBkg),
              kNormalBkg);
}

TEST(HighlightColorizer, RowBlankUsesTheLineBackgroundOnlyWhenFilling) {
    HighlightOptions options;
    EXPECT_EQ(RowBlankColor(options, 0x123456, kNormalBkg), kNormalBkg);
    options.FillLineBlankInBkgColor = true;
    EXPECT_EQ(RowBlankColor(options, 0x123456, kNormalBkg), 0x123456u);
}

}  // namespace
}  // namespace filters
