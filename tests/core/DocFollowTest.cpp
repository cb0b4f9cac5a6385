// Following a file: growth, pieces of lines, shrinking, truncation,
// replacement, deletion, and a second process writing meanwhile.

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <iterator>
#include <random>
#include <string>

#include "DocTestHelpers.h"
#include "core/DocCommandIds.h"
#include "platform/CodePage.h"

namespace {

using doc_test::DocTest;
using doc_test::Utf16Bytes;

class DocFollowTest : public DocTest {};

TEST_F(DocFollowTest, PiecesOfALineJoinOneLine) {
    Write("f.log", Utf16Bytes(u"", true));
    core::CTarvikDoc& doc = Open("f.log");
    Append("f.log", Utf16Bytes(u"abc"));
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"abc");
    Append("f.log", Utf16Bytes(u"def\n"));
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"abcdef\n");
    EXPECT_EQ(doc.Buffer().LineCount(), 2);
    EXPECT_TRUE(doc.GotNewData());
}

TEST_F(DocFollowTest, SplitUnitsSequencesAndPairs) {
    Write("u16.log", Utf16Bytes(u"start\n", true));
    core::CTarvikDoc& sixteen = Open("u16.log");
    const std::string e = Utf16Bytes(u"é");
    Append("u16.log", e.substr(0, 1));
    sixteen.CheckFile();
    EXPECT_EQ(Text(sixteen), u"start\n");
    Append("u16.log", e.substr(1) + Utf16Bytes(u"\r"));
    sixteen.CheckFile();
    Append("u16.log", Utf16Bytes(u"\nx\n"));
    sixteen.CheckFile();
    Append("u16.log", Utf16Bytes(u"\r"));
    sixteen.CheckFile();
    EXPECT_EQ(Text(sixteen), u"start\né\nx\n") << "split CR LF and LF CR pairs are one break";
    Append("u16.log", Utf16Bytes(u"\ry\n"));
    sixteen.CheckFile();
    EXPECT_EQ(Text(sixteen), u"start\né\nx\n\ny\n") << "CR after a pair is a break of its own";

    Write("u8.log", "start\n");
    core::CTarvikDoc& eight = Open("u8.log");
    Append("u8.log", "\xE6\x97");
    eight.CheckFile();
    EXPECT_EQ(Text(eight), u"start\n");
    Append("u8.log", "\xA5\n");
    eight.CheckFile();
    EXPECT_EQ(Text(eight), u"start\n日\n");
}

// A read much larger than the pieces a read is worked on in, with pairs of
// line breaks, characters of several units or bytes and controls at every
// offset (or only LF breaks, which leave each piece as long as it was),
// shows what small reads of the same bytes show.
TEST_F(DocFollowTest, OneLargeReadShowsWhatManySmallOnesShow) {
    static const char16_t* const kParts[] = {u"abc", u"\n",   u"é",    u"€",    u"😀",
                                             u"x",   u"\x07", u"\r\n", u"\n\r", u"\r"};
    std::minstd_rand random(5);
    for (const std::size_t parts : {std::size(kParts), std::size(kParts) - 3}) {
        std::u16string text;
        while (text.size() < 150000) text += kParts[random() % parts];
        for (const bool utf16 : {true, false}) {
            const std::string bytes = utf16 ? Utf16Bytes(text) : platform::Utf16ToUtf8(text);
            const std::string start = utf16 ? Utf16Bytes(u"", true) : std::string("start\n");
            Write("large.log", start);
            Write("small.log", start);
            core::CTarvikDoc& large = Open("large.log");
            core::CTarvikDoc& small = Open("small.log");
            Append("large.log", bytes);
            large.CheckFile();
            for (std::size_t at = 0; at < bytes.size(); at += 999) {
                Append("small.log", bytes.substr(at, 999));
                small.CheckFile();
            }
            EXPECT_EQ(large.ReadPosition(), small.ReadPosition());
            EXPECT_TRUE(Text(large) == Text(small)) << (utf16 ? "UTF-16LE " : "UTF-8 ") << parts;
            EXPECT_GT(large.Buffer().LineCount(), 1000);
        }
    }
}

TEST_F(DocFollowTest, ControlCharactersFollowTheOption) {
    Write("c.log", "a\x07z\n");
    EXPECT_EQ(Text(Open("c.log")), u"a z\n");
    options.ShowSpaceForBadChar = false;
    EXPECT_EQ(Text(Open("c.log")), u"a\x07z\n");
}

TEST_F(DocFollowTest, ACutInPlaceStartsOverWhateverTheDifference) {
    std::string lines;
    for (int i = 0; i < 30; ++i) lines += std::string(99, static_cast<char>('a' + i % 26)) + "\n";
    Write("s.log", lines);
    core::CTarvikDoc& doc = Open("s.log");
    const std::u16string shown = Text(doc);

    Resize("s.log", 2000);
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"");
    EXPECT_FALSE(doc.HasOpenFile());
    EXPECT_EQ(doc.ReadPosition(), 0u);
    doc.CheckFile();  // opens the file again
    EXPECT_EQ(Text(doc), u"");
    doc.CheckFile();  // reads it from its start
    EXPECT_EQ(Text(doc), shown.substr(0, 2000));

    // A small log emptied and written again: every new line is shown.
    Write("q.log", "quiet 1\nquiet 2\n");
    core::CTarvikDoc& quiet = Open("q.log");
    Write("q.log", "next\n");
    for (int i = 0; i < 3; ++i) quiet.CheckFile();
    EXPECT_EQ(Text(quiet), u"next\n");
}

TEST_F(DocFollowTest, TruncationPathKeepsALeadingByteOrderMark) {
    Write("t.log", Utf16Bytes(std::u16string(1000, u'x') + u"\n", true));
    core::CTarvikDoc& doc = Open("t.log");
    Write("t.log", Utf16Bytes(u"new\n", true));
    doc.CheckFile();
    doc.CheckFile();
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"\uFEFFnew\n");
}

TEST_F(DocFollowTest, AReplacedFileFollowsTheRestOfTheOldOneInTheSameDisplay) {
    Write("r.log", "before 1\nbefore 2\n");
    core::CTarvikDoc& doc = Open("r.log");
    Append("r.log", "late before the rotation\nunfinished");
    std::filesystem::rename(PathOf("r.log"), PathOf("r.log.1"));
    // The new file is already larger than the old read position.
    Write("r.log", std::string(200, 'n') + "\n");

    doc.CheckFile();
    const std::u16string old = u"before 1\nbefore 2\nlate before the rotation\nunfinished\n";
    EXPECT_EQ(Text(doc), old) << "the old file's last line ends with it";
    EXPECT_EQ(doc.ResetCount(), 0u);
    EXPECT_EQ(doc.ReadPosition(), 0u);
    doc.CheckFile();
    doc.CheckFile();
    EXPECT_EQ(Text(doc), old + std::u16string(200, u'n') + u"\n");
    EXPECT_EQ(doc.TextSize(), 2 * Text(doc).size());
}

TEST_F(DocFollowTest, ADeletedFileIsPickedUpWhenItComesBack) {
    Write("small.log", "tiny\n");
    core::CTarvikDoc& small = Open("small.log");
    Write("large.log", std::string(3000, 'L') + "\n");
    core::CTarvikDoc& large = Open("large.log");

    std::filesystem::remove(PathOf("small.log"));
    std::filesystem::remove(PathOf("large.log"));
    small.CheckFile();
    large.CheckFile();
    EXPECT_EQ(Text(small), u"tiny\n") << "within the tolerance nothing happens";
    EXPECT_EQ(Text(large), u"") << "more than the tolerance read: the display empties";
    large.CheckFile();
    EXPECT_FALSE(large.HasOpenFile()) << "it cannot be opened while it is missing";

    Write("small.log", "reborn\n");
    Write("large.log", "reborn\n");
    for (int i = 0; i < 3; ++i) {
        small.CheckFile();
        large.CheckFile();
    }
    EXPECT_EQ(Text(small), u"tiny\nreborn\n") << "the new file follows the one still shown";
    EXPECT_EQ(Text(large), u"reborn\n");
}

TEST_F(DocFollowTest, PausedDocumentsReadEverythingAtTheFirstPollAfterStart) {
    Write("p.log", "one\n");
    core::CTarvikDoc& doc = Open("p.log");
    EXPECT_TRUE(doc.OnCommand(core::kCmdPauseMonitoring));
    EXPECT_FALSE(doc.IsMonitoring());
    Append("p.log", "two\nthree\n");
    EXPECT_TRUE(doc.OnCommand(core::kCmdStartMonitoring));
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"one\ntwo\nthree\n");
}

TEST_F(DocFollowTest, ACaretAtTheEndMovesWithTheTextAndOneElsewhereStays) {
    Write("v.log", "one\n");
    core::CTarvikDoc& doc = Open("v.log");
    view.caret = {0, 1};
    Append("v.log", "two\nthr");
    doc.CheckFile();
    EXPECT_EQ(view.caret, (core::TextPos{3, 2}));
    EXPECT_EQ(view.selectionStart, view.caret);
    EXPECT_EQ(view.scrollsToEnd, 1);

    // With the default options the caret does not hold the view: it is at
    // the bottom, so it still follows.
    view.caret = {0, 0};
    Append("v.log", "ee\n");
    doc.CheckFile();
    EXPECT_EQ(view.caret, (core::TextPos{0, 0}));
    EXPECT_EQ(view.scrollsToEnd, 2);
}

TEST_F(DocFollowTest, ASecondProcessWritingMeanwhileLosesNoLine) {
    Write("w.log", "");
    core::CTarvikDoc& doc = Open("w.log");
    const int lines = 3000;
    const pid_t writer = fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        FILE* file = std::fopen(PathOf("w.log").c_str(), "ab");
        for (int i = 0; i < lines && file; ++i) {
            std::fprintf(file, "line %05d\r\n", i);
            if (i % 7 == 0) std::fflush(file);  // pieces that split lines and pairs
        }
        if (file) std::fclose(file);
        _exit(0);
    }
    int status = 0;
    while (waitpid(writer, &status, WNOHANG) == 0) doc.CheckFile();
    doc.CheckFile();

    // Every line arrives once, in order, however the pairs were split.
    std::u16string expected;
    for (int i = 0; i < lines; ++i) {
        char line[16];
        std::snprintf(line, sizeof line, "line %05d\n", i);
        expected += std::u16string(line, line + 11);
    }
    EXPECT_EQ(Text(doc), expected);
}

}  // namespace
