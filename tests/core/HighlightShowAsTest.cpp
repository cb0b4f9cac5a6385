#include "core/HighlightShowAs.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/LineFlagBits.h"
#include "filters/HighlightTestFilters.h"

namespace core {
namespace {

using filters::CHighlightFilters;
using filters::HighlightFilter;
using filters::highlight_test::Filter;
using filters::highlight_test::Kind;
using filters::highlight_test::ShowAs;

class HighlightShowAsTest : public ::testing::Test {
protected:
    void SetUp() override { buffer_.ResetEmpty(); }

    void Append(std::u16string_view text) {
        TextPos end{buffer_.LineLength(buffer_.LineCount() - 1), buffer_.LineCount() - 1};
        ASSERT_TRUE(buffer_.InsertTextAt(nullptr, end, text, end, 0, false));
    }

    std::vector<int> Apply(std::vector<HighlightFilter> list, int first = 0, int last = 1000) {
        CHighlightFilters filters;
        filters.Replace(std::move(list));
        std::vector<int> redrawn;
        ApplyShowAs(filters, buffer_, first, last, [&](int line) { redrawn.push_back(line); });
        return redrawn;
    }

    std::u16string Line(int line) const { return std::u16string(buffer_.LineText(line)); }

    CCrystalTextBuffer buffer_;
};

TEST_F(HighlightShowAsTest, EveryOccurrenceIsReplacedAndOnlyChangedLinesAreRedrawn) {
    Append(u"ERROR one Error two\nfine\nerror");
    EXPECT_EQ(Apply({ShowAs(u"error", u"E!", 1)}), (std::vector<int>{0, 2}));
    EXPECT_EQ(Line(0), u"E! one E! two");
    EXPECT_EQ(Line(1), u"fine");
    EXPECT_EQ(Line(2), u"E!");
}

TEST_F(HighlightShowAsTest, LaterFiltersSeeTheLineAsEarlierOnesLeftIt) {
    Append(u"user=alice id=7 user=bob");
    Apply({ShowAs(u"user=", u"U:", 1, Kind::MatchCase),
           ShowAs(u"U:[a-z]+", u"<who>", 2, Kind::Expression)});
    EXPECT_EQ(Line(0), u"<who> id=7 <who>");
}

TEST_F(HighlightShowAsTest, ReplacementContainingItsPhraseIsNotReplacedAgain) {
    Append(u"ab ab");
    Apply({ShowAs(u"ab", u"abab", 1, Kind::MatchCase)});
    EXPECT_EQ(Line(0), u"abab abab");
}

TEST_F(HighlightShowAsTest, ExpressionsKeepAnchorsAcrossOccurrences) {
    Append(u"aaa baa");
    Apply({ShowAs(u"^a", u"X", 1, Kind::Expression)});
    EXPECT_EQ(Line(0), u"Xaa baa");
}

TEST_F(HighlightShowAsTest, OnlyTheGivenRangeChangesAndOutOfRangeLimitsAreClamped) {
    Append(u"x\nx\nx\nx");
    EXPECT_EQ(Apply({ShowAs(u"x", u"y", 1)}, 1, 2), (std::vector<int>{1, 2}));
    EXPECT_EQ(Line(0), u"x");
    EXPECT_EQ(Line(3), u"x");
    EXPECT_EQ(Apply({ShowAs(u"x", u"y", 1)}, -5, 99), (std::vector<int>{0, 3}));
}

TEST_F(HighlightShowAsTest, DisabledPlainAndEmptyTextFiltersChangeNothing) {
    Append(u"error");
    HighlightFilter disabled = ShowAs(u"error", u"E!", 1);
    disabled.Enable = false;
    HighlightFilter emptyText = ShowAs(u"error", u"", 2);
    EXPECT_TRUE(Apply({disabled, emptyText, Filter(u"error", 3)}).empty());
    EXPECT_EQ(Line(0), u"error");
}

TEST_F(HighlightShowAsTest, LineBreaksInTheShownTextDoNotSplitTheLine) {
    Append(u"a error b\nnext");
    Apply({ShowAs(u"error", u"E\r\n!", 1)});
    ASSERT_EQ(buffer_.LineCount(), 2);
    EXPECT_EQ(Line(0), u"a E  ! b");
    EXPECT_EQ(Line(1), u"next");
}

TEST_F(HighlightShowAsTest, ReplacedLinesKeepTheirFlagsAndRecordNoUndo) {
    Append(u"one error\ntwo");
    buffer_.SetLineFlag(0, kBookmarkFlag, true);
    Apply({ShowAs(u"error", u"E!", 1)});
    EXPECT_EQ(Line(0), u"one E!");
    EXPECT_TRUE(buffer_.LineFlags(0) & kBookmarkFlag);
    EXPECT_FALSE(buffer_.CanUndo());
}

TEST_F(HighlightShowAsTest, WithoutARedrawFunctionLinesStillChange) {
    Append(u"error");
    CHighlightFilters filters;
    filters.Replace({ShowAs(u"error", u"E!", 1)});
    ApplyShowAs(filters, buffer_, 0, 0, {});
    EXPECT_EQ(Line(0), u"E!");
}

}  // namespace
}  // namespace core
