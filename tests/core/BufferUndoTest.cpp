#include <gtest/gtest.h>

#include "BufferTestHelpers.h"

namespace core::test {
namespace {

using ::testing::ElementsAre;

// The document's buffer forwards the modified state to its owner.
class ForwardingBuffer : public CCrystalTextBuffer {
public:
    std::vector<bool> forwarded;

protected:
    void OnModifiedChanged(bool modified) override { forwarded.push_back(modified); }
};

class BufferUndoTest : public ::testing::Test {
protected:
    void SetUp() override { Fill(buffer, u"abc\ndef"); }

    TextPos Type(TextPos at, std::u16string_view text) {
        TextPos end;
        EXPECT_TRUE(buffer.InsertTextAt(nullptr, at, text, end));
        return end;
    }

    ForwardingBuffer buffer;
    TextPos caret;
};

TEST_F(BufferUndoTest, UndoAndRedoRestoreTextAndCaret) {
    Type({1, 1}, u"X\nY");
    ASSERT_TRUE(buffer.DeleteRange(nullptr, {1, 0}, {1, 2}));
    EXPECT_THAT(Lines(buffer), ElementsAre("aef"));

    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_THAT(Lines(buffer), ElementsAre("abc", "dX", "Yef"));
    EXPECT_EQ(caret, (TextPos{1, 2}));
    ASSERT_TRUE(buffer.Undo(caret));
    EXPECT_THAT(Lines(buffer), ElementsAre("abc", "def"));
    EXPECT_EQ(caret, (TextPos{1, 1}));
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.Undo(caret));

    ASSERT_TRUE(buffer.Redo(caret));
    EXPECT_THAT(Lines(buffer), ElementsAre("abc", "dX", "Yef"));
    EXPECT_EQ(caret, (TextPos{1, 2}));
    ASSERT_TRUE(buffer.Redo(caret));
    EXPECT_THAT(Lines(buffer), ElementsAre("aef"));
    EXPECT_EQ(caret, (TextPos{1, 0}));
    EXPECT_FALSE(buffer.CanRedo());
    EXPECT_FALSE(buffer.Redo(caret));
}

TEST_F(BufferUndoTest, GroupIsUndoneAndRedoneWhole) {
    buffer.BeginUndoGroup();
    Type({0, 0}, u"1");
    Type({1, 0}, u"2");
    buffer.DeleteRange(nullptr, {2, 0}, {3, 0});
    buffer.FlushUndoGroup();
    Type({0, 1}, u"+");
    EXPECT_THAT(Lines(buffer), ElementsAre("12bc", "+def"));

    buffer.Undo(caret);
    EXPECT_THAT(Lines(buffer), ElementsAre("12bc", "def"));
    buffer.Undo(caret);
    EXPECT_THAT(Lines(buffer), ElementsAre("abc", "def"));
    EXPECT_EQ(caret, (TextPos{0, 0}));

    buffer.Redo(caret);
    EXPECT_THAT(Lines(buffer), ElementsAre("12bc", "def"));
    buffer.Redo(caret);
    EXPECT_THAT(Lines(buffer), ElementsAre("12bc", "+def"));
}

TEST_F(BufferUndoTest, NewEditDiscardsRedoRecords) {
    Type({0, 0}, u"1");
    Type({0, 0}, u"2");
    buffer.Undo(caret);
    Type({0, 0}, u"3");
    EXPECT_FALSE(buffer.CanRedo());
    EXPECT_EQ(buffer.UndoHistory().RecordCount(), 2);
    buffer.Undo(caret);
    buffer.Undo(caret);
    EXPECT_THAT(Lines(buffer), ElementsAre("abc", "def"));
}

TEST_F(BufferUndoTest, AtTheLimitTheOldestWholeGroupIsDropped) {
    // Group of three, then single records up to the limit.
    buffer.BeginUndoGroup();
    for (int i = 0; i < 3; ++i) Type({0, 0}, u"g");
    buffer.FlushUndoGroup();
    for (int i = 3; i < CCrystalTextBuffer::kUndoLimit; ++i) Type({0, 1}, u"s");
    ASSERT_EQ(buffer.UndoHistory().RecordCount(), 1024);

    Type({0, 1}, u"t");
    EXPECT_EQ(buffer.UndoHistory().RecordCount(), 1022);
    EXPECT_TRUE(buffer.UndoHistory().Record(0).BeginsGroup());

    int steps = 0;
    while (buffer.Undo(caret)) ++steps;
    EXPECT_EQ(steps, 1022);
    // The dropped group's text stays; everything after it is undone.
    EXPECT_THAT(Lines(buffer), ElementsAre("gggabc", "def"));
}

TEST_F(BufferUndoTest, OneGroupLargerThanTheLimitStaysUndoable) {
    buffer.BeginUndoGroup();
    for (int i = 0; i < CCrystalTextBuffer::kUndoLimit + 10; ++i) Type({0, 0}, u"x");
    buffer.FlushUndoGroup();
    ASSERT_LE(buffer.UndoHistory().RecordCount(), CCrystalTextBuffer::kUndoLimit);
    EXPECT_TRUE(buffer.UndoHistory().Record(0).BeginsGroup());
    EXPECT_TRUE(buffer.Undo(caret));
    EXPECT_FALSE(buffer.CanUndo());
}

TEST_F(BufferUndoTest, ModifiedStateFollowsTheSavedPositionAndIsForwarded) {
    EXPECT_FALSE(buffer.IsModified());
    buffer.forwarded.clear();
    Type({0, 0}, u"1");
    EXPECT_TRUE(buffer.IsModified());
    Type({0, 0}, u"2");
    buffer.SetModified(false);
    Type({0, 0}, u"3");

    buffer.Undo(caret);
    EXPECT_FALSE(buffer.IsModified());
    buffer.Undo(caret);
    EXPECT_TRUE(buffer.IsModified());
    buffer.Redo(caret);
    EXPECT_FALSE(buffer.IsModified());

    // Every change of the state was forwarded once, and only changes were.
    EXPECT_EQ(buffer.forwarded, (std::vector<bool>{true, false, true, false, true, false}));
}

TEST_F(BufferUndoTest, SavedStateDiscardedWithRedoIsNeverReachedAgain) {
    Type({0, 0}, u"1");
    buffer.SetModified(false);
    buffer.Undo(caret);
    EXPECT_TRUE(buffer.IsModified());
    Type({0, 0}, u"2");
    buffer.Undo(caret);
    EXPECT_TRUE(buffer.IsModified());
}

TEST_F(BufferUndoTest, UndoDroppedAtLimitCannotClaimTheSavedText) {
    Type({0, 0}, u"a");  // saved after this record
    buffer.SetModified(false);
    for (int i = 1; i < CCrystalTextBuffer::kUndoLimit + 5; ++i) Type({0, 0}, u"b");
    while (buffer.Undo(caret)) {
    }
    EXPECT_TRUE(buffer.IsModified());
}

TEST_F(BufferUndoTest, ClearUndoAndResetDropHistory) {
    Type({0, 0}, u"1");
    buffer.ClearUndo();
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_EQ(buffer.UndoHistory().RecordCount(), 0);
    Type({0, 0}, u"2");
    buffer.Undo(caret);
    // The text before ClearUndo was modified; undoing later edits keeps it so.
    EXPECT_TRUE(buffer.IsModified());

    buffer.ResetEmpty();
    EXPECT_FALSE(buffer.IsModified());
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_FALSE(buffer.CanRedo());
}

TEST_F(BufferUndoTest, EditsWithoutUndoRecordNothing) {
    TextPos end;
    buffer.InsertTextAt(nullptr, {0, 0}, u"doc", end, 0, false);
    buffer.DeleteRange(nullptr, {0, 0}, {1, 0}, 0, false);
    EXPECT_FALSE(buffer.CanUndo());
    EXPECT_TRUE(buffer.IsModified());
}

TEST_F(BufferUndoTest, RecordsKeepActionCodeAndText) {
    TextPos end;
    buffer.InsertTextAt(nullptr, {1, 0}, u"xy\nz", end, 42);
    buffer.DeleteRange(nullptr, {0, 0}, {1, 1}, 7);
    const CUndoHistory& history = buffer.UndoHistory();
    ASSERT_EQ(history.RecordCount(), 2);
    EXPECT_TRUE(history.Record(0).IsInsertion());
    EXPECT_EQ(history.Record(0).action, 42);
    EXPECT_EQ(history.Record(0).text, u"xy\nz");
    EXPECT_EQ(history.Record(0).end, (TextPos{1, 1}));
    EXPECT_FALSE(history.Record(1).IsInsertion());
    EXPECT_EQ(history.Record(1).action, 7);
    EXPECT_EQ(history.Record(1).text, u"axy\r\nz");
}

}  // namespace
}  // namespace core::test
