#include <gtest/gtest.h>

#include "BufferTestHelpers.h"

namespace core::test {
namespace {

using ::testing::ElementsAre;

class BufferDeleteTest : public ::testing::Test {
protected:
    void SetUp() override { Fill(buffer, u"zero\none\ntwo\nthree\nfour"); }

    bool Delete(TextPos start, TextPos end) {
        return buffer.DeleteRange(nullptr, start, end, 0, false);
    }

    CCrystalTextBuffer buffer;
};

TEST_F(BufferDeleteTest, DeletingToStartOfLineNRemovesFirstNLines) {
    EXPECT_TRUE(Delete({0, 0}, {0, 3}));
    EXPECT_THAT(Lines(buffer), ElementsAre("three", "four"));
}

TEST_F(BufferDeleteTest, WithinOneLineClosesTheGap) {
    EXPECT_TRUE(Delete({1, 3}, {4, 3}));
    EXPECT_THAT(Lines(buffer), ElementsAre("zero", "one", "two", "te", "four"));
}

TEST_F(BufferDeleteTest, AcrossLinesJoinsStartAndEndRemainders) {
    EXPECT_TRUE(Delete({2, 0}, {1, 2}));
    EXPECT_THAT(Lines(buffer), ElementsAre("zewo", "three", "four"));
    EXPECT_TRUE(Delete({4, 0}, {0, 1}));
    EXPECT_THAT(Lines(buffer), ElementsAre("zewothree", "four"));
}

TEST_F(BufferDeleteTest, DeletingEverythingLeavesOneEmptyLine) {
    EXPECT_TRUE(Delete({0, 0}, {99, 99}));
    EXPECT_THAT(Lines(buffer), ElementsAre(""));
}

TEST_F(BufferDeleteTest, EmptyOrReversedRangeFailsAndChangesNothing) {
    EXPECT_FALSE(Delete({2, 1}, {2, 1}));
    EXPECT_FALSE(Delete({0, 2}, {3, 1}));
    EXPECT_FALSE(Delete({3, 1}, {1, 1}));
    // Both ends clamp to the same place: the end of the last line.
    EXPECT_FALSE(Delete({50, 4}, {60, 9}));
    EXPECT_THAT(Lines(buffer), ElementsAre("zero", "one", "two", "three", "four"));
    EXPECT_FALSE(buffer.IsModified());
}

TEST_F(BufferDeleteTest, RemainingLinesKeepTheirOwnFlags) {
    buffer.SetLineFlag(0, kBookmarkFlag, true);
    buffer.SetLineFlag(3, kRedLineFlag, true);
    buffer.SetLineFlag(4, NumberedBookmarkFlag(2), true);

    EXPECT_TRUE(Delete({0, 0}, {0, 3}));
    EXPECT_THAT(Lines(buffer), ElementsAre("three", "four"));
    EXPECT_EQ(buffer.LineFlags(0), kRedLineFlag);
    EXPECT_EQ(buffer.LineFlags(1), NumberedBookmarkFlag(2));
    EXPECT_EQ(buffer.FindLineWithFlag(kBookmarkFlag), -1);
}

TEST_F(BufferDeleteTest, JoinedLineKeepsStartLineFlagsWhenPartOfItStays) {
    buffer.SetLineFlag(1, kBookmarkFlag, true);
    buffer.SetLineFlag(2, kRedLineFlag, true);
    EXPECT_TRUE(Delete({1, 1}, {1, 2}));
    EXPECT_THAT(Lines(buffer), ElementsAre("zero", "owo", "three", "four"));
    EXPECT_EQ(buffer.LineFlags(1), kBookmarkFlag);
    EXPECT_EQ(buffer.FindLineWithFlag(kRedLineFlag), -1);
}

TEST_F(BufferDeleteTest, RepeatedTopTrimsKeepTheNewestLinesInOrder) {
    const auto lineText = [](int i) { return u"line" + std::u16string(1, u'A' + i % 26); };
    TextPos end{buffer.LineLength(4), 4};
    for (int i = 5; i < 3000; ++i) {
        buffer.InsertTextAt(nullptr, end, u"\n" + lineText(i), end, 0, false);
        if (buffer.LineCount() > 100) {
            ASSERT_TRUE(Delete({0, 0}, {0, buffer.LineCount() - 10}));
            ASSERT_EQ(buffer.LineCount(), 10);
            end = {buffer.LineLength(9), 9};
        }
    }
    const int count = buffer.LineCount();
    ASSERT_GT(count, 10);
    for (int k = 0; k < count; ++k) {
        EXPECT_EQ(buffer.LineText(count - 1 - k), lineText(2999 - k)) << "line " << count - 1 - k;
    }
}

TEST(BufferCopyTest, JoinsLinesWithGivenBreakOrCrLf) {
    CCrystalTextBuffer buffer;
    Fill(buffer, u"alpha\nbeta\ngamma");
    EXPECT_EQ(buffer.CopyRange({2, 0}, {3, 2}), u"pha\r\nbeta\r\ngam");
    EXPECT_EQ(buffer.CopyRange({2, 0}, {3, 2}, u"\n"), u"pha\nbeta\ngam");
    EXPECT_EQ(buffer.CopyRange({1, 1}, {3, 1}), u"et");
    EXPECT_EQ(buffer.CopyRange({5, 0}, {0, 1}), u"\r\n");
    EXPECT_EQ(buffer.CopyRange({0, 0}, {99, 99}), u"alpha\r\nbeta\r\ngamma");
    EXPECT_EQ(buffer.CopyRange({3, 1}, {3, 1}), u"");
    EXPECT_EQ(buffer.CopyRange({3, 2}, {3, 1}), u"");
}

}  // namespace
}  // namespace core::test
