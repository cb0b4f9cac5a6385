#include "settings/BoundPairs.h"

#include <gtest/gtest.h>

#include <string>

#include "app/TarvikApp.h"
#include "settings/Options.h"

namespace {

using settings::BoundPairs;
using settings::BoundPairsText;
using settings::ParseBoundPairs;

TEST(BoundPairsTest, DefaultPairsShowAsThreeLinesAndReadBack) {
    const settings::Options defaults;
    const std::u16string text = BoundPairsText(defaults.LeftBounds, defaults.RightBounds);
    EXPECT_EQ(text, u"\"\"\r\n[]\r\n()\r\n");
    EXPECT_EQ(ParseBoundPairs(text), (BoundPairs{defaults.LeftBounds, defaults.RightBounds}));
}

TEST(BoundPairsTest, LinesWithFewerThanTwoCharactersAreSkipped) {
    EXPECT_EQ(ParseBoundPairs(u"ab\r\nc"), (BoundPairs{u"a", u"b"}));
    EXPECT_EQ(ParseBoundPairs(u"ab\nc\n"), (BoundPairs{u"a", u"b"}));
    EXPECT_EQ(ParseBoundPairs(u"a\r\n\r\n\n{}"), (BoundPairs{u"{", u"}"}));
    EXPECT_EQ(ParseBoundPairs(u"\rx\n<>"), (BoundPairs{u"<", u">"}));
    EXPECT_EQ(ParseBoundPairs(u""), BoundPairs{});
}

TEST(BoundPairsTest, RestOfALineIsIgnored) {
    EXPECT_EQ(ParseBoundPairs(u"[]extra text\r\n()  \n<>"), (BoundPairs{u"[(<", u"])>"}));
}

TEST(BoundPairsTest, AtMost511PairsAreKept) {
    std::u16string text;
    for (int i = 0; i < 600; ++i) text += u"ab\r\n";
    const BoundPairs pairs = ParseBoundPairs(text);
    EXPECT_EQ(pairs.left.size(), settings::kMaxBoundChars);
    EXPECT_EQ(pairs.right.size(), settings::kMaxBoundChars);
}

TEST(BoundPairsTest, TextStopsWhereEitherSideEnds) {
    EXPECT_EQ(BoundPairsText(u"abc", u"xy"), u"ax\r\nby\r\n");
    EXPECT_EQ(BoundPairsText(u"", u"xy"), u"");
}

TEST(BoundPairsTest, ApplicationTakesBothStrings) {
    app::CTarvikApp tarvikApp;
    tarvikApp.ParseBoundPairs(u"ab\r\nc\r\n'`");
    EXPECT_EQ(tarvikApp.GetOptions().LeftBounds, u"a'");
    EXPECT_EQ(tarvikApp.GetOptions().RightBounds, u"b`");
}

}  // namespace
