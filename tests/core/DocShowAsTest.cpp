// A document following its file with the highlight filters' "Show as"
// replacements (at the initial load, for new text, for lines that arrive in
// pieces, repainting only the lines on screen) and their actions on new
// lines.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "DocTestHelpers.h"
#include "core/ITextBufferView.h"
#include "filters/HighlightActionFakes.h"
#include "filters/HighlightFilters.h"
#include "filters/HighlightTestFilters.h"

namespace {

using doc_test::Utf16Bytes;
using filters::highlight_test::FakeMail;
using filters::highlight_test::Filter;
using filters::highlight_test::ShowAs;

class RedrawRecordingView final : public core::ILogView {
public:
    core::TextPos GetCursorPos() const override { return caret; }
    void SetCursorPos(core::TextPos pos) override { caret = pos; }
    void SetSelection(core::TextPos, core::TextPos) override {}
    void SetAnchor(core::TextPos) override {}
    int GetTopLine() const override { return first; }
    int GetScreenLines() const override { return last - first + 1; }
    int GetFirstVisibleColumn() const override { return 0; }
    void GetVisibleRange(int& top, int& bottom) const override {
        top = first;
        bottom = last;
    }
    void ScrollTo(int, int) override {}
    void ScrollToEnd() override {}
    void PostGoToEnd() override {}
    void PostGoToLine(int) override {}
    void RedrawLines(int from, int to) override {
        for (int line = from; line <= to; ++line) redrawn.push_back(line);
    }
    void Invalidate() override {}

    core::TextPos caret;
    int first = 0, last = 2;
    std::vector<int> redrawn;
};

class DocShowAsTest : public doc_test::DocTest {
protected:
    void SetUp() override {
        DocTest::SetUp();
        context.highlightFilters = &highlights;
    }
    void Arrive(core::CTarvikDoc& doc, const std::string& name, std::u16string_view text) {
        Append(name, Utf16Bytes(text));
        doc.CheckFile();
    }

    filters::CHighlightFilters highlights;
};

TEST_F(DocShowAsTest, TheInitialLoadAndNewTextShowTheReplacement) {
    highlights.Replace({ShowAs(u"ERROR", u"E!", 0x0000FF), ShowAs(u"E!", u"<bang>", 0xFF)});
    Write("s.log", Utf16Bytes(u"an error here\nfine\n"));
    core::CTarvikDoc& doc = Open("s.log");
    // Later filters see what earlier ones made of the line.
    EXPECT_EQ(Text(doc), u"an <bang> here\nfine\n");

    highlights.Replace({ShowAs(u"ERROR", u"E!", 0x0000FF)});
    Arrive(doc, "s.log", u"ERROR twice ERROR\n");
    EXPECT_EQ(Text(doc), u"an <bang> here\nfine\nE! twice E!\n");
}

TEST_F(DocShowAsTest, OnlyVisibleLinesAreRepaintedAndTheCaretEndsAfterTheReplacement) {
    highlights.Replace({ShowAs(u"long phrase", u"lp", 0x00FF00)});
    Write("v.log", Utf16Bytes(u"a\n"));
    RedrawRecordingView view;
    core::CTarvikDoc& doc = NewDoc();
    doc.SetView(&view);
    ASSERT_TRUE(doc.OnOpenDocument(Path16("v.log")));
    view.caret = {0, 1};
    view.first = 0;
    view.last = 2;

    Arrive(doc, "v.log", u"long phrase\nx\nlong phrase\nlong phrase");
    EXPECT_EQ(Text(doc), u"a\nlp\nx\nlp\nlp");
    EXPECT_EQ(view.redrawn, std::vector<int>{1});
    // The caret that stood at the end is at the end of the replaced line.
    EXPECT_EQ(view.caret, (core::TextPos{2, 4}));
}

// The widths a view learns from the buffer's hints, line by line.
class WidthRecorder final : public core::ITextBufferView {
public:
    explicit WidthRecorder(const core::CCrystalTextBuffer& buffer) : buffer_(buffer) {}
    void UpdateView(core::ITextBufferView*, const void*, std::uint32_t hints, int line) override {
        if (!(hints & core::kUpdateHorzRange)) return;
        const int last = (hints & core::kUpdateSingleLine) ? line : buffer_.LineCount() - 1;
        if (widths.size() < static_cast<std::size_t>(buffer_.LineCount())) {
            widths.resize(buffer_.LineCount());
        }
        for (int i = std::max(line, 0); i <= last; ++i) widths[i] = buffer_.LineLength(i);
    }
    std::vector<int> widths;

private:
    const core::CCrystalTextBuffer& buffer_;
};

TEST_F(DocShowAsTest, TheViewsLearnTheWidthOfReplacedLines) {
    highlights.Replace({ShowAs(u"ERR", u"<an error>", 0xFF)});
    Write("w.log", Utf16Bytes(u"start\n"));
    core::CTarvikDoc& doc = Open("w.log");
    WidthRecorder recorder(doc.Buffer());
    doc.Buffer().AttachView(&recorder);
    Arrive(doc, "w.log", u"ERR here\nERR");
    EXPECT_EQ(Text(doc), u"start\n<an error> here\n<an error>");
    ASSERT_GE(recorder.widths.size(), 3u);
    EXPECT_EQ(recorder.widths[1], 15);
    EXPECT_EQ(recorder.widths[2], 10);
    doc.Buffer().DetachView(&recorder);
}

TEST_F(DocShowAsTest, ALineArrivingInPiecesIsReplacedOnceFromItsTextAsRead) {
    // The shown text contains the phrase: replacing the shown line again
    // would grow it at every piece.
    highlights.Replace({ShowAs(u"ERROR", u"ERROR!", 0xFF)});
    Write("p.log", Utf16Bytes(u"ERROR one"));
    core::CTarvikDoc& doc = Open("p.log");
    EXPECT_EQ(Text(doc), u"ERROR! one");

    Arrive(doc, "p.log", u" ERR");
    EXPECT_EQ(Text(doc), u"ERROR! one ERR");
    // The phrase completed across two pieces is found in the whole line.
    Arrive(doc, "p.log", u"OR two\nnext ERROR");
    EXPECT_EQ(Text(doc), u"ERROR! one ERROR! two\nnext ERROR!");
    Arrive(doc, "p.log", u"\n");
    EXPECT_EQ(Text(doc), u"ERROR! one ERROR! two\nnext ERROR!\n");
}

TEST_F(DocShowAsTest, PiecesThroughTheIncludeFilterAreReplacedOnceToo) {
    UseFilters({u"keep"}, {});
    highlights.Replace({ShowAs(u"keep", u"keep+", 0xFF)});
    Write("i.log", Utf16Bytes(u"drop\nkeep a"));
    core::CTarvikDoc& doc = Open("i.log");
    EXPECT_EQ(Text(doc), u"keep+ a");
    Arrive(doc, "i.log", u" b\n");
    EXPECT_EQ(Text(doc), u"keep+ a b\n");
}

TEST_F(DocShowAsTest, WithoutShowAsFiltersTheTextStaysAsRead) {
    highlights.Replace({Filter(u"ERROR", 0xFF)});
    Write("n.log", Utf16Bytes(u"ERROR\n"));
    core::CTarvikDoc& doc = Open("n.log");
    Arrive(doc, "n.log", u"ERROR again\n");
    EXPECT_EQ(Text(doc), u"ERROR\nERROR again\n");
}

TEST_F(DocShowAsTest, ClosingADocumentLeavesTheNotifiedSets) {
    filters::HighlightFilter mail = Filter(u"ERROR", 0xFF);
    mail.SendEmail = true;
    mail.SendFirstOccured = true;
    highlights.Replace({mail});
    Write("c.log", Utf16Bytes(u"x\n"));
    core::CTarvikDoc& doc = Open("c.log");
    ASSERT_TRUE(highlights.ClaimFirstOccurrence(0, &doc));
    ASSERT_FALSE(highlights.ClaimFirstOccurrence(0, &doc));
    doc.DeleteContents();
    EXPECT_TRUE(highlights.ClaimFirstOccurrence(0, &doc));
}

// Lines read at opening run no action. New lines run them once each, with
// the text as read before "Show as"; a line that arrives in pieces is
// examined again once its next piece completes it. A document without the
// ports runs none.
TEST_F(DocShowAsTest, NewLinesRunTheActionsOnTheTextAsRead) {
    filters::HighlightFilter mail = ShowAs(u"ERROR", u"E!", 0xFF);
    mail.SendEmail = true;
    highlights.Replace({mail});
    FakeMail sent;
    const filters::HighlightActionPorts ports{clock, &sent, nullptr};
    context.highlightActions = &ports;
    Write("a.log", Utf16Bytes(u"ERROR at start\n"));
    core::CTarvikDoc& doc = Open("a.log");
    EXPECT_TRUE(sent.sent.empty());

    Arrive(doc, "a.log", u"ok\nERR");
    EXPECT_TRUE(sent.sent.empty());
    Arrive(doc, "a.log", u"OR disk full\nfine\n");
    ASSERT_EQ(sent.sent.size(), 1u);
    EXPECT_EQ(sent.sent[0].line, u"ERROR disk full");
    EXPECT_EQ(sent.sent[0].logName, Path16("a.log"));
    EXPECT_EQ(sent.sent[0].document, &doc);
    EXPECT_EQ(Text(doc), u"E! at start\nok\nE! disk full\nfine\n");

    context.highlightActions = nullptr;
    Arrive(doc, "a.log", u"ERROR unseen\n");
    EXPECT_EQ(sent.sent.size(), 1u);
}

}  // namespace
