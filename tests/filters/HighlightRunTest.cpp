#include "filters/HighlightRun.h"

#include <gtest/gtest.h>

namespace filters {
namespace {

HighlightRun MakeRun(int start, int length, std::uint32_t color = 1) {
    return {start, length, color, color};
}

TEST(HighlightRun, RunsAfterTheLastAreAppended) {
    HighlightRunList runs;
    EXPECT_TRUE(AddHighlightRun(runs, MakeRun(2, 3)));
    EXPECT_TRUE(AddHighlightRun(runs, MakeRun(5, 1)));
    EXPECT_TRUE(AddHighlightRun(runs, MakeRun(9, 2)));
    EXPECT_EQ(runs, (HighlightRunList{MakeRun(2, 3), MakeRun(5, 1), MakeRun(9, 2)}));
}

TEST(HighlightRun, RunsFitIntoGapsKeepingTheOrder) {
    HighlightRunList runs{MakeRun(4, 2), MakeRun(10, 3)};
    EXPECT_TRUE(AddHighlightRun(runs, MakeRun(0, 4, 2)));  // ends where the first starts
    EXPECT_TRUE(AddHighlightRun(runs, MakeRun(6, 4, 3)));  // fills the gap exactly
    EXPECT_EQ(runs, (HighlightRunList{MakeRun(0, 4, 2), MakeRun(4, 2), MakeRun(6, 4, 3),
                                      MakeRun(10, 3)}));
}

TEST(HighlightRun, OverlappingRunsAreDroppedWholeNotClipped) {
    HighlightRunList runs{MakeRun(0, 5), MakeRun(10, 5)};
    const HighlightRunList before = runs;
    EXPECT_FALSE(AddHighlightRun(runs, MakeRun(4, 3)));    // tail of the first
    EXPECT_FALSE(AddHighlightRun(runs, MakeRun(8, 3)));    // head of the second
    EXPECT_FALSE(AddHighlightRun(runs, MakeRun(3, 10)));   // spans a gap and both runs
    EXPECT_FALSE(AddHighlightRun(runs, MakeRun(11, 2)));   // inside the last
    EXPECT_FALSE(AddHighlightRun(runs, MakeRun(12, 10)));  // overlaps the last, reaches past it
    EXPECT_EQ(runs, before);
}

TEST(HighlightRun, EmptyAndNegativeRunsAreIgnored) {
    HighlightRunList runs;
    EXPECT_FALSE(AddHighlightRun(runs, MakeRun(3, 0)));
    EXPECT_FALSE(AddHighlightRun(runs, MakeRun(-2, 4)));
    EXPECT_TRUE(runs.empty());
}

}  // namespace
}  // namespace filters
