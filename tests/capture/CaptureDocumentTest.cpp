// The capture document with real senders: prefixes, line ends, empty
// messages, the choice of one process, pausing, the spill into a second
// chunk, the copy file and the highlight actions of captured lines.

#include <sys/stat.h>

#include <fstream>
#include <iterator>
#include <regex>

#include "CaptureTestSupport.h"
#include "platform/DebugChannelSender.h"

namespace capture_test {
namespace {

// A scratch file of this test run in the build folder, removed first.
std::string ScratchFile(const std::string& name) {
    const std::string path =
        std::string(TARVIK_BINARY_DIR) + "/" + name + "-" + std::to_string(getpid()) + ".txt";
    std::remove(path.c_str());
    return path;
}

TEST_F(CaptureTest, PrefixesLineEndsAndEmptyMessages) {
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->GetTitle(), u"OutputDebugString - All Processes");
    EXPECT_EQ(doc->DisplayName(), u"OutputDebugString");

    pid_t sender = -1;
    ASSERT_EQ(Ods({"first"}, &sender), 0);
    ASSERT_TRUE(TickUntilLine(*doc, "first"));
    const std::regex all(R"(\[1\]\[)" + std::to_string(sender) +
                         R"(\]\[[A-Z][a-z]{2} [A-Z][a-z]{2} \d\d \d\d:\d\d:\d\d \d{4}\] first)");
    EXPECT_TRUE(std::regex_match(Lines(*doc)[0], all)) << Lines(*doc)[0];

    // Without prefixes the text stands alone; a message ending with a line
    // feed gets no second line break.
    app_.GetOptions().ODSSequenceNumber = false;
    app_.GetOptions().ODSDispProcessID = false;
    app_.GetOptions().ODSTimestamp = false;
    doc->ApplyCaptureOptions();
    ASSERT_EQ(Ods({"plain\n"}), 0);
    ASSERT_EQ(Ods({""}), 0);
    app_.GetOptions().ODSSequenceNumber = true;
    doc->ApplyCaptureOptions();
    ASSERT_EQ(Ods({"after"}), 0);
    ASSERT_TRUE(TickUntilLine(*doc, "after"));
    // The empty message took no sequence number and made no line.
    EXPECT_EQ(Lines(*doc), (std::vector<std::string>{Lines(*doc)[0], "plain", "[2] after", ""}));
}

TEST_F(CaptureTest, SingleProcessAndPauseDropMessages) {
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    app_.GetOptions().ODSDispProcessID = false;
    app_.GetOptions().ODSTimestamp = false;
    doc->ApplyCaptureOptions();

    // The chosen process is not started yet: it waits for a byte on a pipe.
    int go[2];
    ASSERT_EQ(pipe(go), 0);
    const pid_t chosen = ForkSender([&] {
        char byte;
        close(go[1]);
        if (read(go[0], &byte, 1) == 1) OutputDebugStringW(u"mine \u00e9");
    });
    close(go[0]);
    app_.SetCapturedProcesses(false, static_cast<std::uint32_t>(chosen));
    EXPECT_EQ(doc->GetTitle(), u"OutputDebugString - Process <" +
                                   platform::Utf8ToUtf16(std::to_string(chosen)) + u">");
    EXPECT_EQ(WaitExit(ForkSender([] { OutputDebugStringA("other"); })), 0);
    ASSERT_EQ(write(go[1], "x", 1), 1);
    close(go[1]);
    EXPECT_EQ(WaitExit(chosen), 0);
    // Sent is not yet received: the pause below must not come first.
    ASSERT_TRUE(TickUntilLine(*doc, "mine"));

    app_.SetCapturedProcesses(true, 0);
    doc->SetMonitoring(false);
    ASSERT_EQ(Ods({"lost while paused"}), 0);
    doc->SetMonitoring(true);
    ASSERT_EQ(Ods({"marker"}), 0);
    ASSERT_TRUE(TickUntilLine(*doc, "marker"));
    EXPECT_EQ(Lines(*doc), (std::vector<std::string>{"[1] mine \xC3\xA9", "[2] marker", ""}));
}

TEST_F(CaptureTest, OutputBetweenTwoTicksSpillsIntoAnotherChunkInOrder) {
    app_.GetOptions().ODSDispProcessID = false;
    app_.GetOptions().ODSTimestamp = false;
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    // 200 messages of 4000 characters: 800,000 characters, no tick between.
    constexpr int kMessages = 200;
    const pid_t sender = ForkSender([] {
        for (int i = 0; i < kMessages; ++i) {
            std::string text = "m" + std::to_string(i) + ":";
            text.resize(4000, 'x');
            if (!platform::SendDebugString(text)) _exit(1);
        }
        platform::SendDebugString("end");
    });
    ASSERT_EQ(WaitExit(sender), 0);
    EXPECT_GE(doc->CaptureSession()->Chunks().ChunkCount(), 2u);
    ASSERT_TRUE(TickUntilLine(*doc, "end"));
    const std::vector<std::string> lines = Lines(*doc);
    ASSERT_EQ(lines.size(), kMessages + 2u);
    for (int i = 0; i < kMessages; ++i) {
        const std::string prefix = "[" + std::to_string(i + 1) + "] ";
        const std::string head = prefix + "m" + std::to_string(i) + ":";
        ASSERT_EQ(lines[i].substr(0, head.size()), head) << i;
        ASSERT_EQ(lines[i].size(), prefix.size() + 4000) << i;
    }
}

TEST_F(CaptureTest, CopyFileGetsTheMarkOnceAndAppends) {
    const std::string path =
        std::string(TARVIK_BINARY_DIR) + "/capture-copy-" + std::to_string(getpid()) + ".txt";
    std::remove(path.c_str());
    settings::Options& options = app_.GetOptions();
    options.ODSSequenceNumber = options.ODSDispProcessID = options.ODSTimestamp = false;
    options.SaveOutputDebugString2File = true;
    options.OutputDebugStringSavedFile = platform::Utf8ToUtf16(path);
    for (const char* text : {"one", "two"}) {
        core::CTarvikDoc* doc = StartCaptureListening();
        ASSERT_NE(doc, nullptr);
        ASSERT_EQ(Ods({text}), 0);
        ASSERT_TRUE(TickUntilLine(*doc, text));
        app_.CloseDocument(doc);
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_EQ(bytes, std::string("\xFF\xFEo\0n\0e\0\r\0\n\0t\0w\0o\0\r\0\n\0", 22));
    // The copy is as private as the channel.
    struct stat st {};
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 077, 0u);

    // A file that cannot be opened is said so; capture goes on without it.
    options.OutputDebugStringSavedFile = u"/nonexistent-folder/copy.txt";
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    EXPECT_FALSE(doc->HasCaptureCopyFile());
    EXPECT_EQ(ui_.messages,
              std::vector<std::string>{
                  "Ostra Tarvik failed to open file \"/nonexistent-folder/copy.txt\"."});
    std::remove(path.c_str());
}

// A filter restricted to "OutputDebugString" (in any case) acts on captured
// lines: the written line names the capture and the e-mail names the
// processes captured.
TEST_F(CaptureTest, CapturedLinesRunTheActionsOfFiltersForTheCapture) {
    const std::string path = ScratchFile("capture-actions");
    filters::HighlightFilter filter;
    filter.phrase.Assign(u"boom", false, false);
    filter.Enable = true;
    filter.SendEmail = true;
    filter.WriteFile = true;
    filter.IncludeFileName = true;
    filter.WrittenFile = platform::Utf8ToUtf16(path);
    filter.ActionsOnlyAvailableInSpecialFile = true;
    filter.SetAvailableFile(u"outputDEBUGstring");
    UseActingFilter(filter);
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(Ods({"boom"}), 0);
    ASSERT_TRUE(TickUntilLine(*doc, "boom"));

    ASSERT_EQ(app_.Mail().Records().Sent().size(), 1u);
    EXPECT_EQ(app_.Mail().Records().Sent()[0].logFile, u"OutputDebugString - All Processes");
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    std::string expected = "\xFF\xFE";
    for (const char ch : std::string("[OutputDebugString] boom\r\n")) expected += {ch, '\0'};
    EXPECT_EQ(bytes, expected);
    std::remove(path.c_str());
}

// An action that fails is told on standard error only: through the channel
// it would come back as a captured line and could set itself off again.
TEST_F(CaptureTest, FailedActionsOfCapturedLinesAreNotCapturedAgain) {
    filters::HighlightFilter filter;
    filter.phrase.Assign(u"go", false, false);
    filter.Enable = true;
    filter.ExecuteProgram = true;
    filter.ExecutableProgram = u"/nonexistent/program";
    filter.WriteFile = true;
    filter.WrittenFile = u"/nonexistent-folder/matched.txt";
    UseActingFilter(filter);
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    testing::internal::CaptureStderr();
    ASSERT_EQ(Ods({"go"}), 0);
    ASSERT_TRUE(TickUntilLine(*doc, "go"));
    // Whatever the failures sent would come before this.
    ASSERT_EQ(Ods({"end"}), 0);
    ASSERT_TRUE(TickUntilLine(*doc, "end"));
    const std::string told = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Lines(*doc), (std::vector<std::string>{"go", "end", ""}));
    EXPECT_NE(told.find("Could not start \"/nonexistent/program\""), std::string::npos) << told;
    EXPECT_NE(told.find("Could not write to \"/nonexistent-folder/matched.txt\""),
              std::string::npos)
        << told;
}

// A line this program sends itself is shown but acts on nothing; the same
// text from another program acts.
TEST_F(CaptureTest, OwnMessagesAreShownButRunNoActions) {
    const std::string written = ScratchFile("own-matched");
    filters::HighlightFilter filter;
    filter.phrase.Assign(u"alert", false, false);
    filter.Enable = true;
    filter.WriteFile = true;
    filter.WrittenFile = platform::Utf8ToUtf16(written);
    UseActingFilter(filter);
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(platform::SendDebugString("own alert"));
    ASSERT_EQ(Ods({"between"}), 0);
    ASSERT_TRUE(platform::SendDebugString("own alert again"));
    ASSERT_TRUE(TickUntilLine(*doc, "own alert again"));
    EXPECT_EQ(Lines(*doc),
              (std::vector<std::string>{"own alert", "between", "own alert again", ""}));
    EXPECT_FALSE(std::ifstream(written).good());
    ASSERT_EQ(Ods({"their alert"}), 0);
    ASSERT_TRUE(TickUntilLine(*doc, "their alert"));
    std::ifstream in(written, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    EXPECT_FALSE(bytes.empty());
    std::remove(written.c_str());
}

}  // namespace
}  // namespace capture_test
