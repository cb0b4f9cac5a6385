#include "mail/SplitRecipients.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using mail::FirstRecipientsPiece;
using mail::SplitRecipients;
using List = std::vector<std::string>;

TEST(SplitRecipients, TrimsBlanksAndDropsEmptyPieces) {
    EXPECT_EQ(SplitRecipients("  a@x.org , ,b@y.org  "), (List{"a@x.org", "b@y.org"}));
    EXPECT_EQ(SplitRecipients("one@x.org"), (List{"one@x.org"}));
    EXPECT_EQ(SplitRecipients(",,a@x.org,,"), (List{"a@x.org"}));
}

TEST(SplitRecipients, EmptyOrBlankTextGivesNoList) {
    EXPECT_TRUE(SplitRecipients("").empty());
    EXPECT_TRUE(SplitRecipients(" , ,  ").empty());
    EXPECT_TRUE(SplitRecipients("a@x.org", '\0').empty());
}

TEST(SplitRecipients, OnlySpaceCountsAsBlankAndPiecesAreNotExamined) {
    EXPECT_EQ(SplitRecipients("\ta@x.org\t, John Doe <j@d.org>"),
              (List{"\ta@x.org\t", "John Doe <j@d.org>"}));
    EXPECT_EQ(SplitRecipients("a@x.org;b@y.org", ';'), (List{"a@x.org", "b@y.org"}));
}

TEST(SplitRecipients, FirstPieceNamesTheJobInMessages) {
    EXPECT_EQ(FirstRecipientsPiece("a@x.org  , b@y.org"), "a@x.org");
    EXPECT_EQ(FirstRecipientsPiece("solo@x.org"), "solo@x.org");
    EXPECT_EQ(FirstRecipientsPiece(""), "");
}
