#include <gtest/gtest.h>

#include "BufferTestHelpers.h"

namespace core::test {
namespace {

class BufferFlagsTest : public ::testing::Test {
protected:
    void SetUp() override { Fill(buffer, u"0\n1\n2\n3\n4\n5"); }

    std::vector<int> LinesWith(std::uint32_t flag) const {
        std::vector<int> found;
        for (int i = 0; i < buffer.LineCount(); ++i) {
            if (buffer.LineFlags(i) & flag) found.push_back(i);
        }
        return found;
    }

    CCrystalTextBuffer buffer;
};

TEST_F(BufferFlagsTest, MoreThanOneBitChangesNothing) {
    buffer.SetLineFlag(2, 0x3, true);
    buffer.SetLineFlag(2, 0, true);
    EXPECT_EQ(buffer.LineFlags(2), 0u);
    EXPECT_EQ(buffer.FindLineWithFlag(0x3), -1);
    EXPECT_EQ(buffer.FindLineWithFlag(0), -1);
}

TEST_F(BufferFlagsTest, NumberedBookmarkReplacesOtherBookmarkAndMovesBetweenLines) {
    buffer.SetLineFlag(1, NumberedBookmarkFlag(5), true);
    buffer.SetLineFlag(1, kRedLineFlag, true);
    buffer.SetLineFlag(1, NumberedBookmarkFlag(3), true);
    EXPECT_EQ(buffer.LineFlags(1), NumberedBookmarkFlag(3) | kRedLineFlag);

    buffer.SetLineFlag(4, NumberedBookmarkFlag(3), true);
    EXPECT_EQ(buffer.LineFlags(1), kRedLineFlag);
    EXPECT_EQ(buffer.LineFlags(4), NumberedBookmarkFlag(3));
}

TEST_F(BufferFlagsTest, PlainBookmarksAndRedLinesAccumulateWithoutRemoval) {
    for (int line : {0, 2, 5}) buffer.SetLineFlag(line, kBookmarkFlag, true, false);
    EXPECT_EQ(LinesWith(kBookmarkFlag), (std::vector<int>{0, 2, 5}));

    buffer.SetLineFlag(1, kRedLineFlag, true, false);
    buffer.SetLineFlag(3, kRedLineFlag, true, false);
    EXPECT_EQ(LinesWith(kRedLineFlag), (std::vector<int>{1, 3}));

    // Removing from others clears the first other line only.
    buffer.SetLineFlag(4, kRedLineFlag, true, true);
    EXPECT_EQ(LinesWith(kRedLineFlag), (std::vector<int>{3, 4}));
}

TEST_F(BufferFlagsTest, SettingBookmarkOverNumberedOneClearsTheGroupOnly) {
    buffer.SetLineFlag(2, NumberedBookmarkFlag(7), true);
    buffer.SetLineFlag(2, kRedLineFlag, true);
    buffer.SetLineFlag(2, kBookmarkFlag, true, false);
    EXPECT_EQ(buffer.LineFlags(2), kBookmarkFlag | kRedLineFlag);
    EXPECT_EQ(buffer.FindLineWithFlag(NumberedBookmarkFlag(7)), -1);
}

TEST_F(BufferFlagsTest, LineMinusOneActsOnFirstFlaggedLine) {
    buffer.SetLineFlag(-1, kBookmarkFlag, false);
    buffer.SetLineFlag(2, kBookmarkFlag, true, false);
    buffer.SetLineFlag(4, kBookmarkFlag, true, false);
    buffer.SetLineFlag(-1, kBookmarkFlag, false);
    EXPECT_EQ(LinesWith(kBookmarkFlag), (std::vector<int>{4}));
    EXPECT_EQ(buffer.FindLineWithFlag(kBookmarkFlag), 4);
}

TEST_F(BufferFlagsTest, OutOfRangeLineIsIgnored) {
    buffer.SetLineFlag(6, kBookmarkFlag, true);
    buffer.SetLineFlag(-2, kBookmarkFlag, true);
    EXPECT_EQ(buffer.FindLineWithFlag(kBookmarkFlag), -1);
    EXPECT_EQ(buffer.LineFlags(6), 0u);
}

TEST_F(BufferFlagsTest, NextAndPrevWrapAroundOnce) {
    buffer.SetLineFlag(1, kBookmarkFlag, true, false);
    buffer.SetLineFlag(4, kBookmarkFlag, true, false);

    EXPECT_EQ(buffer.NextFlaggedLine(0, kBookmarkFlag), 1);
    EXPECT_EQ(buffer.NextFlaggedLine(1, kBookmarkFlag), 4);
    EXPECT_EQ(buffer.NextFlaggedLine(2, kBookmarkFlag), 4);
    EXPECT_EQ(buffer.NextFlaggedLine(4, kBookmarkFlag), 1);
    EXPECT_EQ(buffer.NextFlaggedLine(5, kBookmarkFlag), 1);

    EXPECT_EQ(buffer.PrevFlaggedLine(5, kBookmarkFlag), 4);
    EXPECT_EQ(buffer.PrevFlaggedLine(4, kBookmarkFlag), 1);
    EXPECT_EQ(buffer.PrevFlaggedLine(1, kBookmarkFlag), 4);
    EXPECT_EQ(buffer.PrevFlaggedLine(0, kBookmarkFlag), 4);
}

TEST_F(BufferFlagsTest, OnlyFlaggedLineFindsItselfAndNoFlagFindsNothing) {
    EXPECT_EQ(buffer.NextFlaggedLine(2, kRedLineFlag), -1);
    EXPECT_EQ(buffer.PrevFlaggedLine(2, kRedLineFlag), -1);

    buffer.SetLineFlag(3, kRedLineFlag, true);
    EXPECT_EQ(buffer.NextFlaggedLine(3, kRedLineFlag), 3);
    EXPECT_EQ(buffer.PrevFlaggedLine(3, kRedLineFlag), 3);
    // Starts beyond the buffer are clamped.
    EXPECT_EQ(buffer.NextFlaggedLine(100, kRedLineFlag), 3);
    EXPECT_EQ(buffer.PrevFlaggedLine(-100, kRedLineFlag), 3);

    CCrystalTextBuffer unreset;
    EXPECT_EQ(unreset.NextFlaggedLine(0, kRedLineFlag), -1);
}

}  // namespace
}  // namespace core::test
