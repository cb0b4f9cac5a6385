// The new-data signals: tray blink, tab flash and red line, in that order,
// only when text was appended, each under its own conditions; and red-line
// housekeeping.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "DocTestHelpers.h"
#include "core/IDocumentHost.h"
#include "core/LineFlagBits.h"
#include "core/NewDataSignals.h"
#include "core/PollBudget.h"
#include "core/RedLines.h"
#include "platform/CodePage.h"

namespace {

using doc_test::Utf16Bytes;

// Records the signals it receives and answers what the user looks at as
// the test sets it.
class RecordingHost final : public core::IDocumentHost {
public:
    core::ILogView* CreateDocumentFrame(core::CTarvikDoc&) override { return nullptr; }
    void DestroyDocumentFrame(core::CTarvikDoc&) override {}
    void CreateTab(core::CTarvikDoc&, std::u16string_view, std::u16string_view) override {}
    void RemoveTab(core::CTarvikDoc&) override {}
    void FlashTab(core::CTarvikDoc&) override { calls.push_back("flash"); }
    void StopAllTabFlashing() override { calls.push_back("stop flashing"); }
    void BlinkTrayIcon() override { calls.push_back("blink"); }
    bool IsActiveDocumentFrame(const core::CTarvikDoc& doc) const override {
        calls.push_back("active frame?");
        return &doc == activeDoc;
    }
    bool IsApplicationActive() const override { return appActive; }
    bool IsInTray() const override { return inTray; }
    core::TabFlashState GetTabFlashState(const core::CTarvikDoc&) const override { return tab; }
    bool IsTrayBlinking() const override { return trayBlinking; }

    mutable std::vector<std::string> calls;
    const core::CTarvikDoc* activeDoc = nullptr;
    bool appActive = true;
    bool inTray = false;
    bool trayBlinking = false;
    core::TabFlashState tab;
};

class MonitorSignalsTest : public doc_test::DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        context.host = &host;
    }
    void Arrive(core::CTarvikDoc& doc, const std::string& name, std::u16string_view text) {
        Append(name, Utf16Bytes(text));
        doc.CheckFile();
    }
    std::vector<std::string> Signals() const {
        std::vector<std::string> signals;
        for (const std::string& call : host.calls) {
            if (call != "active frame?") signals.push_back(call);
        }
        return signals;
    }
    static std::vector<int> RedLines(const core::CTarvikDoc& doc) {
        std::vector<int> lines;
        for (int line = 0; line < doc.Buffer().LineCount(); ++line) {
            if (doc.Buffer().LineFlags(line) & core::kRedLineFlag) lines.push_back(line);
        }
        return lines;
    }

    RecordingHost host;
};

TEST_F(MonitorSignalsTest, SignalsComeInOrderAfterTheTextAndTheRedLineMarksWhereItBegan) {
    Write("b.log", Utf16Bytes(u"old\nhalf"));
    core::CTarvikDoc& doc = Open("b.log", false);
    host.inTray = true;
    doc.SetRedLineArmed(true);
    Arrive(doc, "b.log", u" line\nnew\n");

    EXPECT_EQ(Signals(), (std::vector<std::string>{"blink", "flash"}));
    // The arrival began on the line it completed.
    EXPECT_EQ(RedLines(doc), std::vector<int>{1});
    EXPECT_FALSE(doc.IsRedLineArmed());
}

TEST_F(MonitorSignalsTest, NothingIsSignalledWhenNoTextWasAppended) {
    UseFilters({}, {u"noise"});
    Write("n.log", Utf16Bytes(u"start\n"));
    core::CTarvikDoc& doc = Open("n.log", false);
    host.inTray = true;
    doc.SetRedLineArmed(true);
    Arrive(doc, "n.log", u"noise only\n");
    doc.CheckFile();
    EXPECT_TRUE(host.calls.empty());
    EXPECT_TRUE(doc.IsRedLineArmed());
    EXPECT_TRUE(RedLines(doc).empty());
}

TEST_F(MonitorSignalsTest, TrayBlinksOnlyInTheTrayWithBlinkIconAndNotTwice) {
    Write("t.log", "");
    core::CTarvikDoc& doc = Open("t.log", false);
    host.activeDoc = &doc;  // no tab flash to muddle the record

    Arrive(doc, "t.log", u"a\n");
    host.inTray = true;
    host.trayBlinking = true;
    Arrive(doc, "t.log", u"b\n");
    host.trayBlinking = false;
    options.BlinkIcon = false;
    Arrive(doc, "t.log", u"c\n");
    EXPECT_TRUE(Signals().empty());

    options.BlinkIcon = true;
    Arrive(doc, "t.log", u"d\n");
    EXPECT_EQ(Signals(), std::vector<std::string>{"blink"});
}

TEST_F(MonitorSignalsTest, TabFlashFollowsTheOptionAndTheTabsOwnChoice) {
    const core::TabFlashState plain{};
    const core::TabFlashState flashing{true, false, false};
    const core::TabFlashState suppressed{false, true, false};
    const core::TabFlashState requested{false, false, true};

    EXPECT_TRUE(core::ShouldFlashTab(true, false, plain));
    EXPECT_FALSE(core::ShouldFlashTab(true, true, plain));
    EXPECT_FALSE(core::ShouldFlashTab(true, false, flashing));
    EXPECT_FALSE(core::ShouldFlashTab(true, false, suppressed));
    EXPECT_TRUE(core::ShouldFlashTab(true, false, requested));
    EXPECT_FALSE(core::ShouldFlashTab(false, false, plain));
    EXPECT_TRUE(core::ShouldFlashTab(false, false, requested));
    EXPECT_FALSE(core::ShouldFlashTab(false, true, requested));

    Write("f.log", "");
    core::CTarvikDoc& doc = Open("f.log", false);
    host.tab = suppressed;
    Arrive(doc, "f.log", u"a\n");
    EXPECT_TRUE(Signals().empty());
    host.tab = plain;
    Arrive(doc, "f.log", u"b\n");
    EXPECT_EQ(Signals(), std::vector<std::string>{"flash"});
}

TEST_F(MonitorSignalsTest, TheDocumentBeingWatchedStaysArmedWithoutARedLine) {
    Write("w.log", Utf16Bytes(u"x\n"));
    core::CTarvikDoc& doc = Open("w.log", false);
    host.activeDoc = &doc;
    doc.SetRedLineArmed(true);
    Arrive(doc, "w.log", u"seen\n");
    EXPECT_TRUE(RedLines(doc).empty());
    EXPECT_TRUE(doc.IsRedLineArmed());

    // In the background the active document gets its red line too.
    host.appActive = false;
    Arrive(doc, "w.log", u"unseen\n");
    EXPECT_EQ(RedLines(doc), std::vector<int>{2});
    EXPECT_FALSE(doc.IsRedLineArmed());
}

TEST_F(MonitorSignalsTest, RedLinesAccumulateOrMoveWithRemovePreRedLine) {
    Write("r.log", Utf16Bytes(u"a\n"));
    core::CTarvikDoc& doc = Open("r.log", false);
    doc.SetRedLineArmed(true);
    Arrive(doc, "r.log", u"b\n");
    Arrive(doc, "r.log", u"c\n");  // disarmed: no second red line
    doc.SetRedLineArmed(true);
    Arrive(doc, "r.log", u"d\n");
    EXPECT_EQ(RedLines(doc), (std::vector<int>{1, 3}));

    options.RemovePreRedLine = true;
    doc.SetRedLineArmed(true);
    Arrive(doc, "r.log", u"e\n");
    EXPECT_EQ(RedLines(doc), (std::vector<int>{3, 4}));  // the first one went

    options.DrawRedLine = false;
    doc.SetRedLineArmed(true);
    Arrive(doc, "r.log", u"f\n");
    EXPECT_EQ(RedLines(doc), (std::vector<int>{3, 4}));
    EXPECT_TRUE(doc.IsRedLineArmed());
}

// Rotation, truncation or deletion: the first text the user has not seen
// after the event gets the red line, and it stays on screen.
TEST_F(MonitorSignalsTest, TheFirstNewTextAfterARotationOrTruncationGetsTheRedLine) {
    const auto pollThrice = [](core::CTarvikDoc& doc) {
        for (int i = 0; i < 3; ++i) doc.CheckFile();
    };
    const std::string big(2000, 'o');  // more than any tolerance

    // Replaced with a rest of the old file: the rest is the first new text.
    Write("a.log", "seen\n");
    core::CTarvikDoc& rest = Open("a.log", false);
    rest.SetRedLineArmed(true);
    Append("a.log", "rest\n");
    std::filesystem::rename(PathOf("a.log"), PathOf("a.log.1"));
    Write("a.log", "new\n");
    pollThrice(rest);
    EXPECT_EQ(Text(rest), u"seen\nrest\nnew\n");
    EXPECT_EQ(RedLines(rest), std::vector<int>{1});

    // Replaced with nothing left of the old file: the new file's first line.
    Write("b.log", "seen\n");
    core::CTarvikDoc& plain = Open("b.log", false);
    plain.SetRedLineArmed(true);
    std::filesystem::rename(PathOf("b.log"), PathOf("b.log.1"));
    Write("b.log", "new\n");
    pollThrice(plain);
    EXPECT_EQ(Text(plain), u"seen\nnew\n");
    EXPECT_EQ(RedLines(plain), std::vector<int>{1});

    // Cut in place: the display starts over and its first line is marked.
    Write("c.log", big + "\n");
    core::CTarvikDoc& cut = Open("c.log", false);
    cut.SetRedLineArmed(true);
    Write("c.log", "fresh\n");
    pollThrice(cut);
    EXPECT_EQ(Text(cut), u"fresh\n");
    EXPECT_EQ(RedLines(cut), std::vector<int>{0});

    // Deleted after a last write: what is read of it goes with the display,
    // so the file that comes back gets the red line.
    Write("d.log", big + "\n");
    core::CTarvikDoc& gone = Open("d.log", false);
    gone.SetRedLineArmed(true);
    Append("d.log", "last words\n");
    std::filesystem::remove(PathOf("d.log"));
    pollThrice(gone);
    Write("d.log", "again\n");
    pollThrice(gone);
    EXPECT_EQ(Text(gone), u"again\n");
    EXPECT_EQ(RedLines(gone), std::vector<int>{0});
}

// A backlog too large for one poll's budget is read over several polls that
// each stop after one read, mid-line, mid-character and maybe mid-break: the
// lines, the signals, the red line and the text size come out as from one
// poll that reads it all, and in between the title says what was read.
TEST_F(MonitorSignalsTest, ABacklogReadInBudgetedPollsEndsAsInOnePoll) {
    UseFilters({}, {u"drop"});
    std::string backlog;
    for (int i = 0; backlog.size() < 3 * core::CTarvikDoc::kReadBufferBytes / 2; ++i) {
        backlog += "line " + std::to_string(i) + " \xC3\xA9 " + std::string(i % 97, 'x') +
                   (i % 5 == 0 ? " drop" : "") + "\r\n";
    }
    backlog += "unfinished";

    struct Outcome {
        std::u16string text;
        std::vector<int> redLines;
        std::vector<std::string> signals;
        std::uint32_t textSize = 0;
        int polls = 0;
    };
    const auto follow = [&](const std::string& name, std::uint64_t tickStepMs) {
        Write(name, "");
        core::CTarvikDoc& doc = Open(name, false);
        doc.SetRedLineArmed(true);
        host.calls.clear();
        Append(name, backlog);
        clock.tickStepMs = tickStepMs;
        Outcome outcome;
        do {
            doc.CheckFile(core::CPollBudget(clock, core::CPollBudget::kTickMs));
            ++outcome.polls;
            const core::CCrystalTextBuffer& buffer = doc.Buffer();
            std::size_t units = static_cast<std::size_t>(buffer.LineCount() - 1);
            for (int line = 0; line < buffer.LineCount(); ++line)
                units += buffer.LineText(line).size();
            // A shown partial line that a later piece completes counts again.
            EXPECT_GE(doc.TextSize(), 2 * units);
            EXPECT_TRUE(doc.GetTitle().ends_with(
                u" <" + platform::Utf8ToUtf16(std::to_string(doc.ReadPosition())) + u" Bytes>"));
            if (outcome.polls == 1 && doc.HasBacklog()) {
                EXPECT_NE(buffer.LineLength(buffer.LineCount() - 1), 0) << "a stop mid-line";
            }
        } while (doc.HasBacklog() && outcome.polls < 100);
        EXPECT_EQ(doc.ReadPosition(), backlog.size());
        clock.tickStepMs = 0;
        Append(name, "ended\r\nlast\n");
        doc.CheckFile();
        outcome.text = Text(doc);
        outcome.redLines = RedLines(doc);
        outcome.signals = Signals();
        outcome.textSize = doc.TextSize();
        return outcome;
    };
    const Outcome whole = follow("whole.log", 0);
    const Outcome budgeted = follow("budgeted.log", core::CPollBudget::kTickMs);
    EXPECT_EQ(whole.polls, 1);
    EXPECT_GE(budgeted.polls, 3);
    EXPECT_TRUE(whole.text == budgeted.text);
    EXPECT_TRUE(whole.text.ends_with(u"unfinishedended\nlast\n"));
    EXPECT_EQ(whole.text.find(u"drop"), std::u16string::npos);
    EXPECT_EQ(budgeted.redLines, whole.redLines);
    EXPECT_EQ(whole.redLines, std::vector<int>{0});
    EXPECT_EQ(budgeted.signals, whole.signals);
    EXPECT_EQ(budgeted.textSize, whole.textSize);
}

// Reads that take longer than a tick's budget (lines slow to filter) make
// the next reads smaller, so that no single read holds a tick for long; a
// document starts with small reads, as it cannot know its filters' pace.
TEST_F(MonitorSignalsTest, SlowReadsShrinkSoNoReadHoldsATick) {
    std::string backlog;
    for (int i = 0; backlog.size() < core::CTarvikDoc::kReadBufferBytes; ++i) {
        backlog += "line " + std::to_string(i) + "\n";
    }
    Write("slow.log", "");
    core::CTarvikDoc& doc = Open("slow.log", false);
    Append("slow.log", backlog);
    // Every look at the clock finds three budgets gone.
    clock.tickStepMs = 3 * core::CPollBudget::kTickMs;
    std::vector<std::uint64_t> read;
    std::uint64_t before = doc.ReadPosition();
    for (int poll = 0; poll < 4; ++poll) {
        doc.CheckFile(core::CPollBudget(clock, core::CPollBudget::kTickMs));
        read.push_back(doc.ReadPosition() - before);
        before = doc.ReadPosition();
    }
    EXPECT_TRUE(doc.HasBacklog());
    EXPECT_LT(read[0], core::CTarvikDoc::kReadBufferBytes / 8);
    EXPECT_LT(read[1], read[0]);
    EXPECT_LT(read[3], read[1]);
    EXPECT_GT(read[3], 0u);
}

TEST_F(MonitorSignalsTest, HousekeepingKeepsTheNewestRedLines) {
    core::CTarvikDoc& doc = NewDoc();
    core::CCrystalTextBuffer& buffer = doc.Buffer();
    buffer.ResetEmpty();
    core::TextPos end;
    buffer.InsertTextAt(nullptr, {0, 0}, u"0\n1\n2\n3\n4\n5", end, 0, false);
    for (int line : {0, 2, 3, 5}) buffer.SetLineFlag(line, core::kRedLineFlag, true, false);
    buffer.SetLineFlag(3, core::kBookmarkFlag, true);

    core::KeepNewestRedLines(buffer, 1);
    EXPECT_EQ(RedLines(doc), std::vector<int>{5});
    EXPECT_EQ(buffer.LineFlags(3), core::kBookmarkFlag);  // other flags stay

    buffer.SetLineFlag(1, core::kRedLineFlag, true, false);
    core::KeepNewestRedLines(buffer, 0);
    EXPECT_TRUE(RedLines(doc).empty());
    core::KeepNewestRedLines(buffer, 1);  // nothing to keep is no fault
    EXPECT_TRUE(RedLines(doc).empty());
}

}  // namespace
