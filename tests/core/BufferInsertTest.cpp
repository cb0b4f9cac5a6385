#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "BufferTestHelpers.h"

namespace core::test {
namespace {

using ::testing::ElementsAre;

class BufferInsertTest : public ::testing::Test {
protected:
    void SetUp() override { buffer.ResetEmpty(); }

    TextPos Insert(TextPos at, std::u16string_view text) {
        TextPos end{-1, -1};
        EXPECT_TRUE(buffer.InsertTextAt(nullptr, at, text, end, 0, false));
        return end;
    }

    CCrystalTextBuffer buffer;
};

TEST_F(BufferInsertTest, ResetBufferHoldsOneEmptyLine) {
    EXPECT_EQ(buffer.LineCount(), 1);
    EXPECT_EQ(buffer.LineLength(0), 0);
    EXPECT_EQ(buffer.LineBreakMode(), kLineBreakDos);
    EXPECT_FALSE(buffer.IsModified());
}

TEST_F(BufferInsertTest, EachBreakVariantCountsOnce) {
    EXPECT_EQ(Insert({0, 0}, u"a\r\nb"), (TextPos{1, 1}));
    EXPECT_THAT(Lines(buffer), ElementsAre("a", "b"));

    Fill(buffer, u"a\n\rb\rc\nd");
    EXPECT_THAT(Lines(buffer), ElementsAre("a", "b", "c", "d"));

    Fill(buffer, u"a\r\rb\n\nc\r\n\r\nd");
    EXPECT_THAT(Lines(buffer), ElementsAre("a", "", "b", "", "c", "", "d"));

    // LF CR LF: the first two form one break, the last LF is a second one.
    Fill(buffer, u"a\n\r\nb");
    EXPECT_THAT(Lines(buffer), ElementsAre("a", "", "b"));
}

TEST_F(BufferInsertTest, TextEndingWithBreakLeavesEmptyLineToContinueOn) {
    TextPos end = Insert({0, 0}, u"first\n");
    EXPECT_EQ(end, (TextPos{0, 1}));
    end = Insert(end, u"sec");
    EXPECT_EQ(end, (TextPos{3, 1}));
    end = Insert(end, u"ond\r\n");
    EXPECT_EQ(end, (TextPos{0, 2}));
    EXPECT_THAT(Lines(buffer), ElementsAre("first", "second", ""));
}

TEST_F(BufferInsertTest, InsertInsideLineKeepsTheRestAfterTheText) {
    Fill(buffer, u"abc");
    EXPECT_EQ(Insert({0, 0}, u"x"), (TextPos{1, 0}));
    EXPECT_THAT(Lines(buffer), ElementsAre("xabc"));

    // Breaks inside a line split it; the rest follows the last piece.
    EXPECT_EQ(Insert({2, 0}, u"1\n2\n3"), (TextPos{1, 2}));
    EXPECT_THAT(Lines(buffer), ElementsAre("xa1", "2", "3bc"));
}

TEST_F(BufferInsertTest, LinesInsertedBetweenOthersKeepTheOrder) {
    Fill(buffer, u"top\nmiddle\nbottom");
    EXPECT_EQ(Insert({6, 1}, u" A\nB\nC"), (TextPos{1, 3}));
    EXPECT_THAT(Lines(buffer), ElementsAre("top", "middle A", "B", "C", "bottom"));

    EXPECT_EQ(Insert({0, 0}, u"\n\n"), (TextPos{0, 2}));
    EXPECT_THAT(Lines(buffer), ElementsAre("", "", "top", "middle A", "B", "C", "bottom"));
}

TEST_F(BufferInsertTest, OutOfRangePositionsAreClamped) {
    Fill(buffer, u"ab\ncd");
    EXPECT_EQ(Insert({99, 0}, u"X"), (TextPos{3, 0}));
    EXPECT_EQ(Insert({-5, 99}, u"Y"), (TextPos{1, 1}));
    EXPECT_EQ(Insert({1, -3}, u"Z"), (TextPos{2, 0}));
    EXPECT_THAT(Lines(buffer), ElementsAre("aZbX", "Ycd"));
}

TEST_F(BufferInsertTest, NulUnitsAreOrdinaryText) {
    const std::u16string text(u"a\0b", 3);
    EXPECT_EQ(Insert({0, 0}, text), (TextPos{3, 0}));
    EXPECT_EQ(buffer.LineText(0), text);
}

TEST_F(BufferInsertTest, EmptyInsertionChangesNoText) {
    Fill(buffer, u"abc");
    EXPECT_EQ(Insert({1, 0}, u""), (TextPos{1, 0}));
    EXPECT_THAT(Lines(buffer), ElementsAre("abc"));
}

TEST_F(BufferInsertTest, LongTextAcrossManyLinesAndBlocks) {
    const auto block = [](int from, int to) {
        std::u16string text;
        for (int i = from; i < to; ++i) {
            text += u"line " + std::u16string(static_cast<std::size_t>(i % 37), u'x') + u"\r\n";
        }
        return text;
    };
    const std::u16string text = block(0, 5000);
    EXPECT_EQ(Insert({0, 0}, text), (TextPos{0, 5000}));
    // A second copy in the middle moves the lines after it.
    EXPECT_EQ(Insert({0, 2500}, text), (TextPos{0, 7500}));
    ASSERT_EQ(buffer.LineCount(), 10001);
    EXPECT_EQ(buffer.CopyRange({0, 0}, {0, 10000}), block(0, 2500) + text + block(2500, 5000));
}

// Lines that arrive together share storage; each must still grow, shrink and
// go on its own (the sanitizers see a slot used after its storage went, or
// storage never given back), also across storage boundaries.
TEST_F(BufferInsertTest, LinesInsertedTogetherAreEditedAndFreedOnTheirOwn) {
    std::vector<std::u16string> model{u"head"};
    std::u16string text = u"\n";
    for (int i = 0; i < 20000; ++i) {
        model.push_back(u"line " + std::u16string(static_cast<std::size_t>(40 + i % 37), u'x'));
        text += model.back() + (i + 1 < 20000 ? u"\n" : u"");
    }
    model.back() += u"tail";
    Insert({0, 0}, u"headtail");
    EXPECT_EQ(Insert({4, 0}, text), (TextPos{static_cast<int>(model.back().size()) - 4, 20000}));
    EXPECT_EQ(buffer.LineCapacity(20000), (buffer.LineLength(20000) / 16 + 1) * 16);

    Insert({buffer.LineLength(7), 7}, std::u16string(200, u'g'));  // outgrows its slot
    model[7] += std::u16string(200, u'g');
    Insert({2, 9}, u"i");  // fits in its slot
    model[9].insert(2, u"i");
    buffer.DeleteRange(nullptr, {0, 100}, {3, 100}, 0, false);
    model[100].erase(0, 3);
    buffer.DeleteRange(nullptr, {0, 0}, {0, 15000}, 0, false);  // a trim from the top
    model.erase(model.begin(), model.begin() + 15000);
    ASSERT_EQ(buffer.LineCount(), static_cast<int>(model.size()));
    for (int line = 0; line < buffer.LineCount(); ++line) {
        ASSERT_EQ(buffer.LineText(line), model[static_cast<std::size_t>(line)]) << line;
    }
    buffer.FreeAll();
    buffer.ResetEmpty();
    EXPECT_EQ(buffer.LineCount(), 1);
}

TEST_F(BufferInsertTest, CapacityIsMultipleOf16AboveLength) {
    TextPos end{0, 0};
    for (int i = 0; i < 70; ++i) {
        end = Insert(end, u"x");
        const int length = buffer.LineLength(0);
        const int capacity = buffer.LineCapacity(0);
        EXPECT_EQ(capacity % 16, 0);
        EXPECT_GT(capacity, length);
        EXPECT_EQ(capacity, (length / 16 + 1) * 16);
    }
    Insert(end, u"\n" + std::u16string(32, u'y'));
    EXPECT_EQ(buffer.LineCapacity(1), 48);
    EXPECT_EQ(buffer.LineCapacity(99), 0);
}

TEST_F(BufferInsertTest, ReadOnlyOrUnresetBufferRefusesEdits) {
    Fill(buffer, u"abc");
    TextPos end;
    buffer.SetReadOnly(true);
    EXPECT_FALSE(buffer.InsertTextAt(nullptr, {0, 0}, u"x", end));
    EXPECT_FALSE(buffer.DeleteRange(nullptr, {0, 0}, {1, 0}));
    EXPECT_THAT(Lines(buffer), ElementsAre("abc"));
    EXPECT_FALSE(buffer.IsModified());

    buffer.FreeAll();
    EXPECT_FALSE(buffer.IsInitialized());
    EXPECT_EQ(buffer.LineCount(), 0);
    EXPECT_FALSE(buffer.InsertTextAt(nullptr, {0, 0}, u"x", end));
    EXPECT_FALSE(buffer.DeleteRange(nullptr, {0, 0}, {1, 0}));
    EXPECT_EQ(buffer.CopyRange({0, 0}, {5, 5}), u"");
    EXPECT_EQ(buffer.LineText(0), u"");

    buffer.ResetEmpty(kLineBreakUnix);
    EXPECT_FALSE(buffer.IsReadOnly());
    EXPECT_EQ(buffer.LineBreakMode(), kLineBreakUnix);
    EXPECT_TRUE(buffer.InsertTextAt(nullptr, {0, 0}, u"x", end));
}

TEST_F(BufferInsertTest, UnknownLineBreakModeFallsBackToDos) {
    buffer.ResetEmpty(7);
    EXPECT_EQ(buffer.LineBreakMode(), kLineBreakDos);
}

}  // namespace
}  // namespace core::test
