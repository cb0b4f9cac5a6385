// Clear, reload and truncate, and the rules that enable the commands.

#include <fcntl.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "DocTestHelpers.h"
#include "core/DocCommandIds.h"
#include "core/ITextBufferView.h"
#include "core/LineFlagBits.h"

namespace {

using doc_test::DocTest;

// A disk that fails half-way through a load: once the first lines are in,
// the descriptor the document reads the file through is swapped for one that
// cannot be read.
class FailingDiskView final : public core::ITextBufferView {
public:
    FailingDiskView(const core::CCrystalTextBuffer& buffer, std::filesystem::path path)
        : buffer_(buffer), path_(std::filesystem::canonical(path)) {}
    void UpdateView(core::ITextBufferView*, const void*, std::uint32_t hints, int) override {
        if (!armed || (hints & core::kUpdateReset) || buffer_.LineCount() < 2) return;
        armed = false;
        for (const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
            std::error_code error;
            if (std::filesystem::read_symlink(entry.path(), error) != path_) continue;
            const int unreadable = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
            broke = ::dup2(unreadable, std::stoi(entry.path().filename().string())) >= 0;
            ::close(unreadable);
            return;
        }
    }
    bool armed = false;
    bool broke = false;

private:
    const core::CCrystalTextBuffer& buffer_;
    std::filesystem::path path_;
};

class DocCommandsTest : public DocTest {
protected:
    static std::string Numbered(int from, int to) {
        std::string text;
        for (int i = from; i < to; ++i) text += "line " + std::to_string(i) + "\n";
        return text;
    }
};

TEST_F(DocCommandsTest, ClearShowsOnlyNewTextAndReloadBringsTheOldBack) {
    Write("c.log", "old 1\nold 2\n");
    core::CTarvikDoc& doc = Open("c.log");
    EXPECT_TRUE(doc.OnCommand(core::kCmdClearAll));
    EXPECT_EQ(Text(doc), u"");
    EXPECT_EQ(doc.TextSize(), 0u);
    EXPECT_EQ(doc.ReadPosition(), 12u);
    Append("c.log", "new\n");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"new\n");
    EXPECT_TRUE(doc.OnCommand(core::kCmdReload));
    EXPECT_EQ(Text(doc), u"old 1\nold 2\nnew\n");
    EXPECT_EQ(ui.waitDepth, 0);
}

TEST_F(DocCommandsTest, ReloadKeepsFlagsByLineNumberAndClampsThePosition) {
    Write("r.log", Numbered(0, 900));
    core::CTarvikDoc& doc = Open("r.log");
    doc.Buffer().SetLineFlag(5, core::kBookmarkFlag, true, false);
    doc.Buffer().SetLineFlag(7, core::NumberedBookmarkFlag(3), true);
    doc.Buffer().SetLineFlag(7, core::kRedLineFlag, true);
    doc.Buffer().SetLineFlag(850, core::kBookmarkFlag, true, false);
    view.caret = {4, 899};
    view.topLine = 880;
    view.firstColumn = 3;

    Write("r.log", Numbered(1000, 1500));  // 500 other lines
    EXPECT_TRUE(doc.Reload(true));
    EXPECT_EQ(doc.Buffer().LineCount(), 501);
    EXPECT_EQ(doc.Buffer().LineText(5), u"line 1005");
    EXPECT_EQ(doc.Buffer().LineFlags(5), core::kBookmarkFlag);
    EXPECT_EQ(doc.Buffer().LineFlags(7), core::NumberedBookmarkFlag(3) | core::kRedLineFlag);
    EXPECT_EQ(doc.Buffer().FindLineWithFlag(core::kBookmarkFlag), 5);
    EXPECT_EQ(view.caret, (core::TextPos{0, 500}));
    EXPECT_EQ(view.topLine, 501 - view.screenLines);
    EXPECT_EQ(view.firstColumn, 3);
}

TEST_F(DocCommandsTest, AFailedReloadSaysSoAndThePollsTryAgain) {
    Write("g.log", "text\n");
    core::CTarvikDoc& doc = Open("g.log");
    std::filesystem::remove(PathOf("g.log"));
    EXPECT_FALSE(doc.Reload(true));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], u"Could not reload content of the file");
    EXPECT_FALSE(doc.HasOpenFile());
    EXPECT_EQ(Text(doc), u"");
    Write("g.log", "back\n");
    doc.CheckFile();
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"back\n");
}

TEST_F(DocCommandsTest, AReloadFailingHalfWayLeavesTheDisplayEmpty) {
    // The unfinished sequence at the end takes a second read.
    Write("h.log", "line 1\nline 2\n\xE6\x97");
    core::CTarvikDoc& doc = Open("h.log");
    FailingDiskView disk(doc.Buffer(), PathOf("h.log"));
    doc.Buffer().AttachView(&disk);
    disk.armed = true;
    EXPECT_FALSE(doc.Reload(true));
    doc.Buffer().DetachView(&disk);
    ASSERT_TRUE(disk.broke);
    EXPECT_EQ(ui.messages, std::vector<std::u16string>{u"Could not reload content of the file"});
    EXPECT_EQ(Text(doc), u"");
    EXPECT_EQ(doc.TextSize(), 0u);
    doc.CheckFile();
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"line 1\nline 2\n") << "read again from the start, once";
}

TEST_F(DocCommandsTest, TruncateAsksThenEmptiesFileAndDisplay) {
    Write("t.log", "one\ntwo\n");
    core::CTarvikDoc& doc = Open("t.log");
    ui.answer = core::MessageAnswer::No;
    EXPECT_TRUE(doc.OnCommand(core::kCmdTruncateLog));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], u"Do you really want to truncate log file '" + Path16("t.log") +
                                  u"'?\n\nIMPORTANT: All data in the file will be truncated!");
    EXPECT_EQ(ui.icons[0], core::MessageIcon::Question);
    EXPECT_EQ(std::filesystem::file_size(PathOf("t.log")), 8u);

    ui.answer = core::MessageAnswer::Yes;
    doc.Truncate();
    EXPECT_EQ(std::filesystem::file_size(PathOf("t.log")), 0u);
    EXPECT_EQ(Text(doc), u"");
    EXPECT_EQ(doc.ReadPosition(), 0u);
    EXPECT_EQ(doc.GetTitle(), Path16("t.log") + u" - 0 B <0 Bytes>");
    Append("t.log", "after\n");
    doc.CheckFile();
    EXPECT_EQ(Text(doc), u"after\n") << "the same handle follows the emptied file";
}

TEST_F(DocCommandsTest, AFailedTruncateChangesNothing) {
    Write("f.log", "keep\n");
    core::CTarvikDoc& doc = Open("f.log");
    std::filesystem::rename(PathOf("f.log"), PathOf("f.log.1"));
    EXPECT_FALSE(doc.TruncateLogFile());
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0], u"Failed to truncate log file '" + Path16("f.log") +
                                  u"'. Maybe another application opened the file as write "
                                  u"mode, please close the application first.");
    EXPECT_EQ(Text(doc), u"keep\n");
    EXPECT_EQ(doc.ReadPosition(), 5u);
    EXPECT_EQ(std::filesystem::file_size(PathOf("f.log.1")), 5u);
}

TEST_F(DocCommandsTest, CommandsAreEnabledByTheirRules) {
    Write("e.log", "x\n");
    core::CTarvikDoc& doc = Open("e.log");
    EXPECT_FALSE(doc.IsCommandEnabled(core::kCmdStartMonitoring));
    EXPECT_TRUE(doc.IsCommandEnabled(core::kCmdPauseMonitoring));
    for (int id : {core::kCmdClearAll, core::kCmdReload, core::kCmdTruncateLog,
                   core::kCmdOpenInEditor, core::kCmdBrowseFolder, core::kCmdSaveAs}) {
        EXPECT_TRUE(doc.IsCommandEnabled(id)) << id;
    }
    EXPECT_FALSE(doc.OnCommand(core::kCmdStartMonitoring));

    std::filesystem::remove(PathOf("e.log"));
    Write("e.log", "");  // another file at the path: the document lets go of the old one
    doc.CheckFile();
    EXPECT_FALSE(doc.HasOpenFile());
    for (int id : {core::kCmdTruncateLog, core::kCmdOpenInEditor, core::kCmdBrowseFolder}) {
        EXPECT_FALSE(doc.IsCommandEnabled(id)) << id;
    }
    EXPECT_TRUE(doc.IsCommandEnabled(core::kCmdClearAll));
    EXPECT_TRUE(doc.SaveModified());
}

TEST_F(DocCommandsTest, TitlesAreCutAndTheTextLengthPaneFollowsTheSize) {
    const std::string longName(250, 'n');
    Write(longName, "12345\n");
    core::CTarvikDoc& doc = Open(longName);
    EXPECT_EQ(doc.GetTitle().size(), core::CTarvikDoc::kMaxTitleLength);
    EXPECT_EQ(doc.TextLengthText(), u"12Byte");
}

}  // namespace
