#include <gtest/gtest.h>

#include "BufferTestHelpers.h"

namespace core::test {
namespace {

using ::testing::ElementsAre;

class BufferViewsTest : public ::testing::Test {
protected:
    void SetUp() override {
        Fill(buffer, u"one\ntwo\nthree");
        buffer.AttachView(&view);
    }

    CCrystalTextBuffer buffer;
    RecordingView view;
    RecordingView source;
};

TEST_F(BufferViewsTest, EditsSendLineOrRangeHintsFromTheStartLine) {
    TextPos end;
    buffer.InsertTextAt(&source, {1, 1}, u"x", end);
    buffer.InsertTextAt(&source, {0, 2}, u"a\nb", end);
    buffer.DeleteRange(&source, {0, 1}, {1, 1});
    buffer.DeleteRange(&source, {1, 0}, {0, 2});
    EXPECT_THAT(view.updates, ElementsAre(Update{&source, 0x0101, 1}, Update{&source, 0x0003, 2},
                                          Update{&source, 0x0101, 1}, Update{&source, 0x0003, 0}));
}

TEST_F(BufferViewsTest, EditsWithoutNotifyAreSilent) {
    TextPos end;
    buffer.InsertTextAt(nullptr, {0, 0}, u"a\nb", end, 0, false, false);
    buffer.DeleteRange(nullptr, {0, 0}, {0, 1}, 0, false, false);
    EXPECT_TRUE(view.updates.empty());
}

TEST_F(BufferViewsTest, FlagChangesSendFlagsOnlyHintsForEachChangedLine) {
    buffer.SetLineFlag(0, NumberedBookmarkFlag(1), true);
    buffer.SetLineFlag(2, NumberedBookmarkFlag(1), true);
    buffer.SetLineFlag(2, NumberedBookmarkFlag(1), true);  // no change, no hint
    EXPECT_THAT(view.updates, ElementsAre(Update{nullptr, 0x0300, 0}, Update{nullptr, 0x0300, 0},
                                          Update{nullptr, 0x0300, 2}));
}

TEST_F(BufferViewsTest, ResetNotifiesEveryViewInAttachOrder) {
    std::vector<const RecordingView*> order;
    struct OrderView : RecordingView {
        std::vector<const RecordingView*>* order;
        void UpdateView(ITextBufferView* s, const void* c, std::uint32_t h, int l) override {
            order->push_back(this);
            RecordingView::UpdateView(s, c, h, l);
        }
    } first, last;
    first.order = &order;
    last.order = &order;
    buffer.DetachView(&view);
    buffer.AttachView(&first);
    buffer.AttachView(&last);
    buffer.AttachView(&first);  // attaching twice keeps one entry

    buffer.ResetEmpty();
    EXPECT_EQ(order, (std::vector<const RecordingView*>{&first, &last}));
    EXPECT_THAT(first.updates, ElementsAre(Update{nullptr, 0x1000, 0}));
    EXPECT_TRUE(view.updates.empty());
}

TEST_F(BufferViewsTest, DetachedViewHearsNothingAndContextIsPassedOn) {
    struct ContextView : ITextBufferView {
        const void* seen = nullptr;
        void UpdateView(ITextBufferView*, const void* context, std::uint32_t, int) override {
            seen = context;
        }
    } contextView;
    buffer.AttachView(&contextView);
    const int context = 5;
    buffer.NotifyViews(&source, &context, kUpdateHorzRange, 0);
    EXPECT_EQ(contextView.seen, &context);

    buffer.DetachView(&view);
    buffer.ResetEmpty();
    EXPECT_THAT(view.updates, ElementsAre(Update{&source, 0x0001, 0}));
}

}  // namespace
}  // namespace core::test
