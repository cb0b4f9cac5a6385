// A second process writes while the document polls as fast as it can, so
// reads land in the middle of lines, of UTF-8 sequences and of UTF-16 units,
// and rotations happen between any two polls. Whatever the timing, once the
// writer is done and the document polled again, it shows the file's text
// exactly: no line lost, doubled or garbled.

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "WriterProcess.h"
#include "core/DocContext.h"
#include "core/IDocumentListener.h"
#include "core/TarvikDoc.h"
#include "filters/InExFilterList.h"
#include "platform/CodePage.h"
#include "platform/IClock.h"
#include "settings/Options.h"

namespace follow_test {
namespace {

class FollowConcurrent : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "follow-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        path_ = folder_ + "/live.log";
        ASSERT_TRUE(writer_.IsRunning()) << "cannot start " << WriterProcess::ProgramPath();
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    // Runs the writer's script lines in a thread while the document polls.
    void WriteWhilePolling(const std::vector<std::string>& script) {
        std::atomic<bool> done = false;
        std::string failure;
        std::thread writing([&] {
            for (const std::string& line : script) {
                failure = writer_.Run(line);
                if (!failure.empty()) break;
            }
            done = true;
        });
        while (!done) {
            doc_.CheckFile();
            std::this_thread::sleep_for(std::chrono::microseconds(200));
        }
        writing.join();
        ASSERT_EQ(failure, "");
        // One poll reopens a file that was replaced, the next reads it.
        for (int i = 0; i < 3; ++i) doc_.CheckFile();
    }

    std::u16string Shown() const {
        std::u16string text;
        const core::CCrystalTextBuffer& buffer = doc_.Buffer();
        for (int i = 0; i < buffer.LineCount(); ++i) {
            if (i > 0) text += u'\n';
            text += buffer.LineText(i);
        }
        return text;
    }

    std::string FileBytes() const {
        std::ifstream in(path_, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    void Open(const std::string& initialScriptLine) {
        ASSERT_EQ(writer_.Run(initialScriptLine), "");
        ASSERT_TRUE(doc_.OnOpenDocument(platform::Utf8ToUtf16(path_)));
    }

    static std::string Lines(int count, const std::string& tag) {
        std::string text;
        for (int i = 0; i < count; ++i) {
            text += tag + " " + std::to_string(i) + " gr\u00fc\u00dfe \u65e5\u672c \u20ac\x01\n";
        }
        return text;
    }

    std::string folder_;
    std::string path_;
    WriterProcess writer_;
    settings::Options options_;
    filters::CInExFilters filters_;
    core::DocContext context_{options_, filters_, platform::SystemClock::Instance()};
    core::CTarvikDoc doc_{context_};
};

std::u16string Displayed(std::string_view utf8) {
    std::u16string text = platform::Utf8ToUtf16(utf8);
    for (char16_t& u : text) {
        if (u == 0x01) u = u' ';
    }
    return text;
}

TEST_F(FollowConcurrent, Utf8WrittenInSmallPiecesArrivesWhole) {
    Open("append u8 " + path_ + " start\\n");
    const std::string text = Lines(120, "line");
    WriteWhilePolling({"pieces u8 " + path_ + " 5 1 " + EscapeBytes(text)});
    EXPECT_EQ(Shown(), Displayed("start\n" + text));
}

TEST_F(FollowConcurrent, Utf16WrittenInOddPiecesArrivesWhole) {
    Open("append u16 " + path_ + " \\ufeffstart\\n");
    const std::string text = Lines(120, "unit");
    WriteWhilePolling({"pieces u16 " + path_ + " 3 1 " + EscapeText(text)});
    EXPECT_EQ(Shown(), Displayed("start\n" + text));
}

TEST_F(FollowConcurrent, RotationsAtAnyMomentEndWithTheNewFileShown) {
    Open("append u8 " + path_ + " " + EscapeBytes(Lines(50, "first")));
    const std::string piece = " 40 0 ";
    WriteWhilePolling({
        "pieces u8 " + path_ + piece + EscapeBytes(Lines(60, "growing")),
        "rotate " + path_,
        "pieces u8 " + path_ + piece + EscapeBytes(Lines(40, "rotated")),
        "delete " + path_,
        "sleep 2",
        "append u8 " + path_ + " " + EscapeBytes(Lines(3, "recreated")),
        "copytruncate " + path_,
        "sleep 5",
        "pieces u8 " + path_ + piece + EscapeBytes(Lines(20, "truncated")),
        "replace u8 " + path_ + " " + EscapeBytes(Lines(200, "replacement")),
        "pieces u8 " + path_ + piece + EscapeBytes(Lines(30, "final")),
    });
    // The replacement follows the rest of the file it replaced, in one display.
    const std::string lastReplaced = Lines(20, "truncated").substr(Lines(19, "truncated").size());
    EXPECT_TRUE(Shown().ends_with(Displayed(lastReplaced + FileBytes())));
    EXPECT_EQ(doc_.ReadPosition(), FileBytes().size());
}

// Collects every line a document drops when it starts over.
class DroppedLines final : public core::IDocumentListener {
public:
    void BeforeTrim(const core::CTarvikDoc&) override {}
    void BeforeReset(const core::CTarvikDoc& doc) override {
        const core::CCrystalTextBuffer& buffer = doc.Buffer();
        for (int i = 0; i + 1 < buffer.LineCount(); ++i) text.append(buffer.LineText(i)) += u'\n';
    }
    std::u16string text;
};

TEST_F(FollowConcurrent, ASmallLogCutInPlaceShowsEveryLineOnceInOrder) {
    Open("create " + path_);
    DroppedLines dropped;
    doc_.SetListener(&dropped);
    std::string before, after;
    for (int i = 0; i < 100; ++i) before += "e" + std::to_string(i) + "\n";
    for (int i = 100; i < 120; ++i) after += "e" + std::to_string(i) + "\n";
    ASSERT_LT(before.size(), 1024u) << "smaller than any tolerance";

    ASSERT_EQ(writer_.AppendBytes(path_, before), "");
    doc_.CheckFile();
    ASSERT_EQ(writer_.Run("truncate " + path_), "");
    ASSERT_EQ(writer_.AppendBytes(path_, after), "");
    for (int i = 0; i < 3; ++i) doc_.CheckFile();
    doc_.SetListener(nullptr);
    EXPECT_EQ(dropped.text + Shown(), platform::Utf8ToUtf16(before + after));
}

}  // namespace
}  // namespace follow_test
