// The include/exclude stage with lines arriving in pieces, and trimming to
// the buffer limit.

#include <string>

#include "filters/SearchLimitHits.h"

#include "DocTestHelpers.h"

namespace {

using doc_test::DocTest;

class DocFilterTest : public DocTest {};

TEST_F(DocFilterTest, AHiddenPieceIsShownOnceTheWholeLineMatches) {
    UseFilters({u"ERROR"}, {});
    Write("e.log", "");
    core::CTarvikDoc& doc = Open("e.log");
    Append("e.log", "ERR");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"");
    Append("e.log", "OR x\nnoise\n");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"ERROR x\n");
}

TEST_F(DocFilterTest, AShownPieceIsReplacedByItsCompletedLine) {
    UseFilters({u"abc"}, {});
    Write("a.log", "");
    core::CTarvikDoc& doc = Open("a.log");
    Append("a.log", "abc");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"abc");
    EXPECT_TRUE(doc.FilterStage().PartialShown());
    Append("a.log", "d\n");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"abcd\n");
    EXPECT_EQ(doc.FilterStage().PartialLine(), u"");
}

TEST_F(DocFilterTest, AShownPieceGoesWhenItsCompletedLineIsExcluded) {
    UseFilters({}, {u"secret"});
    Write("x.log", "kept\n");
    core::CTarvikDoc& doc = Open("x.log");
    view.caret = {0, 1};
    Append("x.log", "a sec");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"kept\na sec");
    Append("x.log", "ret\nafter\n");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"kept\nafter\n");
    EXPECT_EQ(view.caret, (core::TextPos{0, 2}));
}

TEST_F(DocFilterTest, ExclusionWinsAndTheMasterSwitchTurnsFilteringOff) {
    UseFilters({u"keep"}, {u"drop"});
    Write("m.log", "keep this\nkeep but drop\nother\n");
    EXPECT_EQ(Text(Open("m.log")), u"keep this\n");
    options.EnableInExFilters = false;
    EXPECT_EQ(Text(Open("m.log")), u"keep this\nkeep but drop\nother\n");
}

TEST_F(DocFilterTest, AnUnfinishedLineIsCutAtTheCapSoEveryPollStaysBounded) {
    UseFilters({u"x"}, {});
    Write("b.log", "");
    core::CTarvikDoc& doc = Open("b.log");
    const std::size_t cap = core::CLineFilterStage::kMaxUnfinishedUnits;
    const std::size_t piece = cap / 2 + 1000;
    for (int i = 0; i < 3; ++i) {
        Append("b.log", std::string(piece, 'x'));
        doc.CheckFile();
        EXPECT_LE(doc.FilterStage().PartialLine().size(), cap);
    }
    ASSERT_EQ(doc.Buffer().LineCount(), 2);
    EXPECT_EQ(doc.Buffer().LineLength(0), static_cast<int>(cap));
    EXPECT_EQ(doc.Buffer().LineLength(1), static_cast<int>(3 * piece - cap));
    EXPECT_TRUE(doc.FilterStage().PartialShown());
}

// Text that arrives while filtering is off is shown as it is; filtering that
// comes back judges the unfinished line on display, not an old fragment.
TEST_F(DocFilterTest, SwitchingFilteringOffAndOnJoinsNoUnrelatedText) {
    UseFilters({u"ERROR"}, {});
    Write("s.log", "");
    core::CTarvikDoc& doc = Open("s.log");
    Append("s.log", "ERR");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"");
    options.EnableInExFilters = false;
    Append("s.log", "foo\nbar");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"ERRfoo\nbar");
    options.EnableInExFilters = true;
    Append("s.log", "baz\nERROR y\n");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"ERRfoo\nERROR y\n");
}

// A hostile line against a runaway expression costs the search its limit
// and counts as not found; a filter that keeps giving up on a document's
// lines is named on the debug output, once.
TEST_F(DocFilterTest, AFilterThatKeepsGivingUpIsNamedOnceAndItsLinesCountAsNotFound) {
    filters::InExFilter runaway;
    runaway.phrase.Assign(u"(a+)+$", true, true);
    inExFilters.Replace({runaway}, {});
    // Not ASCII, so the one-scan prefilter cannot rule the line out first.
    const std::string hostile = "\xc3\xa9" + std::string(40, 'a') + "b\n";
    std::string text = "aaa\n";
    for (std::uint32_t i = 0; i < filters::CSearchLimitHits::kNameAfterHits; ++i) text += hostile;
    Write("r.log", text);
    testing::internal::CaptureStderr();
    core::CTarvikDoc& doc = Open("r.log");
    Append("r.log", hostile + hostile + "aaaa\n");
    doc.CheckFile();
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Text(doc), u"aaa\naaaa\n");
    const std::string naming =
        "[Ostra Tarvik]: The filter \"(a+)+$\" keeps hitting the match limit in " + PathOf("r.log");
    ASSERT_NE(said.find(naming), std::string::npos) << said;
    EXPECT_EQ(said.find(naming, said.find(naming) + 1), std::string::npos) << "named once";
}

// A file opened with a filter is filtered one read's worth at a time: the
// stage's copy of the kept lines never grows to the size of the load chunk,
// and the lines come out as if filtered at once, a line longer than a piece
// included.
TEST_F(DocFilterTest, LoadingFiltersAtMostOneReadAtATime) {
    UseFilters({}, {u"drop"});
    const std::size_t piece = core::CLineFilterStage::kMaxPieceUnits;
    const auto lines = [piece](std::string_view longLine, std::u16string& expected) {
        std::string text;
        for (int i = 0; text.size() < 5 * piece; ++i) {
            std::string line = (i % 7 == 0 ? "drop " : "keep ") + std::to_string(i) + "\n";
            if (i == 40000) line = longLine;
            text += line;
            if (!line.starts_with("drop")) expected += std::u16string(line.begin(), line.end());
        }
        return text;
    };
    std::u16string expected;
    Write("big.log", lines("keep 40000\n", expected));
    EXPECT_LE(Open("big.log").FilterStage().HeldUnits(), piece + 16);
    EXPECT_EQ(Text(Open("big.log")), expected);

    expected.clear();
    Write("long.log", lines("keep " + std::string(piece + 100, 'x') + "\n", expected));
    EXPECT_EQ(Text(Open("long.log")), expected);
}

class DocTrimTest : public DocTest {
protected:
    static std::string Lines(int count, int width, char tag) {
        std::string text;
        for (int i = 0; i < count; ++i) text += std::string(width, tag) + "\n";
        return text;
    }
};

TEST_F(DocTrimTest, TheLastRetainedLinesStayBeforeTheNewText) {
    options.MaxBufSiz = 100000;
    Write("t.log", Lines(1000, 40, 'o'));  // 41000 bytes: loaded whole
    core::CTarvikDoc& doc = Open("t.log");
    EXPECT_EQ(doc.Buffer().LineCount(), 1001);
    Append("t.log", Lines(1000, 40, 'n'));
    doc.CheckFile();
    // The ten lines kept are the last nine old lines and the empty last
    // line, which the new text fills.
    EXPECT_EQ(doc.Buffer().LineCount(), 1010);
    EXPECT_EQ(doc.Buffer().LineText(8), std::u16string(40, u'o'));
    EXPECT_EQ(doc.Buffer().LineText(9), std::u16string(40, u'n'));
    EXPECT_EQ(doc.TrimmedLineCount(), 991u);
    EXPECT_FALSE(doc.Buffer().CanUndo());
    // Recomputed on trimming from the lines kept, then grown by the new text.
    EXPECT_EQ(doc.TextSize(), 9u * 82 + 2 + 1000u * 82);
}

TEST_F(DocTrimTest, WithFewLongLinesAllOldTextGoes) {
    options.MaxBufSiz = 10000;
    options.RetainLineNum = 10;
    Write("l.log", Lines(5, 900, 'o'));
    core::CTarvikDoc& doc = Open("l.log");
    Append("l.log", Lines(1, 5000, 'n'));
    doc.CheckFile();
    EXPECT_EQ(Text(doc), std::u16string(5000, u'n') + u"\n");
}

TEST_F(DocTrimTest, RetainingNoLinesEmptiesEvenAnUnfinishedLine) {
    options.MaxBufSiz = 1000;
    options.RetainLineNum = 0;
    Write("z.log", Lines(3, 10, 'o'));
    core::CTarvikDoc& doc = Open("z.log");
    for (int i = 0; i < 4; ++i) {
        Append("z.log", std::string(300, 'n'));  // never a line break
        doc.CheckFile();
        EXPECT_LE(doc.TextSize(), options.MaxBufSiz);
    }
    EXPECT_EQ(Text(doc), std::u16string(300, u'n'));
}

TEST_F(DocTrimTest, EnforcingALoweredLimitTrimsAtOnce) {
    Write("e.log", Lines(50, 20, 'x'));
    core::CTarvikDoc& doc = Open("e.log");
    doc.EnforceBufferLimit();
    EXPECT_EQ(doc.Buffer().LineCount(), 51);
    options.MaxBufSiz = 500;
    doc.EnforceBufferLimit();
    EXPECT_EQ(doc.Buffer().LineCount(), 10);
    EXPECT_EQ(doc.TextSize(), 9u * 42 + 2);
    EXPECT_GT(view.invalidations, 0);
}

}  // namespace
