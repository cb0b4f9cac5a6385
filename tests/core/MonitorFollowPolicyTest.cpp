// The follow policy: when new text arrives, whether the view jumps to the
// end, decided from what the view shows before the insertion.

#include <gtest/gtest.h>

#include "DocTestHelpers.h"
#include "core/FollowPolicy.h"

namespace {

using core::FollowFacts;
using core::FollowSettings;

// 100 lines, 20 on screen: the bottom top line is 80.
FollowFacts AtTheBottom() {
    FollowFacts facts;
    facts.hasView = true;
    facts.lineCount = 100;
    facts.screenLines = 20;
    facts.topLine = 80;
    facts.textEnd = {5, 99};
    facts.caret = facts.textEnd;
    return facts;
}

FollowSettings AllStopOptions() {
    return {false, true, true, true};
}

TEST(MonitorFollowPolicyTest, BottomIsTheTopLineThatShowsTheLastLineLast) {
    EXPECT_EQ(core::BottomTopLine(100, 20), 80);
    EXPECT_EQ(core::BottomTopLine(20, 20), 0);
    EXPECT_EQ(core::BottomTopLine(3, 20), 0);
}

TEST(MonitorFollowPolicyTest, EachStopOptionHoldsTheViewOnlyWhenItIsOn) {
    FollowFacts scrolledUp = AtTheBottom();
    scrolledUp.topLine = 79;
    FollowFacts scrolledBelow = AtTheBottom();
    scrolledBelow.topLine = 81;  // the bottom test is an equality
    FollowFacts scrolledRight = AtTheBottom();
    scrolledRight.firstVisibleColumn = 3;
    FollowFacts caretElsewhere = AtTheBottom();
    caretElsewhere.caret = {4, 99};

    const FollowSettings none{false, false, false, false};
    for (const FollowFacts& facts : {scrolledUp, scrolledRight, caretElsewhere}) {
        EXPECT_TRUE(core::DecideFollowEnd(none, facts));
    }
    EXPECT_FALSE(core::DecideFollowEnd({false, true, false, false}, scrolledUp));
    EXPECT_FALSE(core::DecideFollowEnd({false, true, false, false}, scrolledBelow));
    EXPECT_TRUE(core::DecideFollowEnd({false, true, false, false}, scrolledRight));
    EXPECT_FALSE(core::DecideFollowEnd({false, false, true, false}, scrolledRight));
    EXPECT_TRUE(core::DecideFollowEnd({false, false, true, false}, caretElsewhere));
    EXPECT_FALSE(core::DecideFollowEnd({false, false, false, true}, caretElsewhere));
    EXPECT_TRUE(core::DecideFollowEnd(AllStopOptions(), AtTheBottom()));
}

TEST(MonitorFollowPolicyTest, ForcePollAndNoViewAlwaysFollow) {
    FollowFacts everythingOff = AtTheBottom();
    everythingOff.topLine = 0;
    everythingOff.firstVisibleColumn = 9;
    everythingOff.caret = {0, 0};
    EXPECT_FALSE(core::DecideFollowEnd(AllStopOptions(), everythingOff));
    EXPECT_TRUE(core::DecideFollowEnd({true, true, true, true}, everythingOff));
    everythingOff.hasView = false;
    EXPECT_TRUE(core::DecideFollowEnd(AllStopOptions(), everythingOff));
}

TEST(MonitorFollowPolicyTest, SettingsComeFromTheOptions) {
    settings::Options options;
    const FollowSettings defaults = core::FollowSettingsOf(options);
    EXPECT_FALSE(defaults.forcePoll);
    EXPECT_TRUE(defaults.stopWhenVScrollUp);
    EXPECT_FALSE(defaults.stopWhenHScrollRight);
    EXPECT_FALSE(defaults.stopWhenCaretNotAtEnd);
    options.ForcePoll = true;
    options.StopPollWhenVScrollUp = false;
    options.StopPollWhenHScrollRight = true;
    options.StopPollWhenMoveCaretNotAtEnd = true;
    const FollowSettings changed = core::FollowSettingsOf(options);
    EXPECT_TRUE(changed.forcePoll);
    EXPECT_FALSE(changed.stopWhenVScrollUp);
    EXPECT_TRUE(changed.stopWhenHScrollRight);
    EXPECT_TRUE(changed.stopWhenCaretNotAtEnd);
}

// A view that scrolls as a real one does: going to the end puts the last
// line on the last screen row.
class ScrollingView final : public core::ILogView {
public:
    explicit ScrollingView(const core::CTarvikDoc*& doc) : doc_(doc) {}
    core::TextPos GetCursorPos() const override { return caret; }
    void SetCursorPos(core::TextPos pos) override { caret = pos; }
    void SetSelection(core::TextPos, core::TextPos) override {}
    void SetAnchor(core::TextPos) override {}
    int GetTopLine() const override { return topLine; }
    int GetScreenLines() const override { return screenLines; }
    int GetFirstVisibleColumn() const override { return firstColumn; }
    void GetVisibleRange(int& first, int& last) const override {
        first = topLine;
        last = topLine + screenLines - 1;
    }
    void ScrollTo(int top, int column) override {
        topLine = top;
        firstColumn = column;
    }
    void ScrollToEnd() override {
        ++scrollsToEnd;
        topLine = core::BottomTopLine(doc_->Buffer().LineCount(), screenLines);
    }
    void PostGoToEnd() override {}
    void PostGoToLine(int) override {}
    void RedrawLines(int, int) override {}
    void Invalidate() override {}

    core::TextPos caret;
    int topLine = 0, screenLines = 5, firstColumn = 0, scrollsToEnd = 0;

private:
    const core::CTarvikDoc*& doc_;
};

class MonitorFollowDocTest : public doc_test::DocTest {
protected:
    core::CTarvikDoc& OpenFollowed(const std::string& name, int lines) {
        std::string text;
        for (int i = 0; i < lines; ++i) text += "line " + std::to_string(i) + "\n";
        Write(name, doc_test::Utf16Bytes(std::u16string(text.begin(), text.end())));
        core::CTarvikDoc& doc = NewDoc();
        shown = &doc;
        doc.SetView(&view);
        EXPECT_TRUE(doc.OnOpenDocument(Path16(name)));
        view.ScrollToEnd();
        view.scrollsToEnd = 0;
        return doc;
    }
    void Arrive(core::CTarvikDoc& doc, const std::string& name, std::u16string_view text) {
        Append(name, doc_test::Utf16Bytes(text));
        doc.CheckFile();
    }

    const core::CTarvikDoc* shown = nullptr;
    ScrollingView view{shown};
};

TEST_F(MonitorFollowDocTest, ScrollingUpStopsFollowingUntilTheViewIsBackAtTheBottom) {
    core::CTarvikDoc& doc = OpenFollowed("up.log", 10);  // 11 lines, top 6
    ASSERT_EQ(view.topLine, 6);
    view.topLine = 5;
    Arrive(doc, "up.log", u"a\nb\n");
    EXPECT_EQ(view.scrollsToEnd, 0);
    EXPECT_EQ(view.topLine, 5);
    EXPECT_EQ(doc.Buffer().LineCount(), 13);  // the text arrived all the same

    view.topLine = core::BottomTopLine(13, view.screenLines);
    Arrive(doc, "up.log", u"c\n");
    EXPECT_EQ(view.scrollsToEnd, 1);
    EXPECT_EQ(view.topLine, 9);
}

TEST_F(MonitorFollowDocTest, ForcePollJumpsToTheEndWhileScrolledUp) {
    options.ForcePoll = true;
    core::CTarvikDoc& doc = OpenFollowed("force.log", 10);
    view.topLine = 0;
    Arrive(doc, "force.log", u"a\n");
    EXPECT_EQ(view.scrollsToEnd, 1);
    EXPECT_EQ(view.topLine, 7);
}

TEST_F(MonitorFollowDocTest, ACaretAtTheEndFollowsTheTextEvenWhenTheViewHolds) {
    options.StopPollWhenHScrollRight = true;
    core::CTarvikDoc& doc = OpenFollowed("right.log", 3);
    view.caret = {0, 3};
    view.firstColumn = 4;
    Arrive(doc, "right.log", u"more\nte");
    EXPECT_EQ(view.scrollsToEnd, 0);
    EXPECT_EQ(view.caret, (core::TextPos{2, 4}));
}

TEST_F(MonitorFollowDocTest, ACaretAwayFromTheEndStopsFollowingWhenAskedTo) {
    options.StopPollWhenMoveCaretNotAtEnd = true;
    core::CTarvikDoc& doc = OpenFollowed("caret.log", 3);
    view.caret = {1, 1};
    Arrive(doc, "caret.log", u"x\n");
    EXPECT_EQ(view.scrollsToEnd, 0);
    EXPECT_EQ(view.caret, (core::TextPos{1, 1}));

    view.caret = {0, 4};
    Arrive(doc, "caret.log", u"y\n");
    EXPECT_EQ(view.scrollsToEnd, 1);
    EXPECT_EQ(view.caret, (core::TextPos{0, 5}));
}

}  // namespace
