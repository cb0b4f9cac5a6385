// Command documents' source with real shells: output and its end line, a
// long output while nobody takes it, and the end of the whole process group.

#include "streams/CommandSource.h"

#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "JournalWriter.h"
#include "platform/CodePage.h"
#include "settings/TempRegistry.h"
#include "streams/StreamSources.h"

namespace streams_test {
namespace {

using streams::CCommandSource;

std::unique_ptr<CCommandSource> Started(const std::string& command) {
    auto source = std::make_unique<CCommandSource>(platform::Utf8ToUtf16(command),
                                                   settings::CommandDocumentChoice{});
    std::u16string error;
    EXPECT_TRUE(source->Open(0, error)) << platform::Utf16ToUtf8(error);
    return source;
}

// Waits on the source's descriptor as the event loop does until the text
// holds `last`; bounded, so a fault fails instead of hanging.
std::string FollowUntil(CCommandSource& source, const std::string& last) {
    std::string text;
    for (int i = 0; i < 400 && text.find(last) == std::string::npos; ++i) {
        pollfd wake{source.WakeDescriptor(), POLLIN, 0};
        if (poll(&wake, 1, 50) > 0) source.ProcessWake();
        text += TakeAll(source);
    }
    return text;
}

class CommandSourceTest : public app_test::TempRegistryTest {};

TEST_F(CommandSourceTest, OutputThenOneLineWithTheEnd) {
    auto source = Started(
        "for i in 1 2 3; do echo \"line $i\"; done; printf 'crlf\\r\\nerr\\n' >&2; "
        "printf 'partial'; exit 3");
    EXPECT_EQ(source->Name(),
              u"cmd:" + platform::Utf8ToUtf16("for i in 1 2 3; do echo \"line $i\"; done; printf "
                                              "'crlf\\r\\nerr\\n' >&2; printf 'partial'; exit 3"));
    EXPECT_EQ(FollowUntil(*source, "status"),
              "line 1\nline 2\nline 3\ncrlf\nerr\npartial\n"
              "[The command ended with exit status 3.]\n");
    EXPECT_EQ(source->Status(), u"ended, exit status 3");

    // The folder kept for the name is where it runs.
    TempFolder folder;
    ASSERT_TRUE(settings::CommandDocumentStore::Save(
        u"cmd:pwd", {platform::Utf8ToUtf16(folder.Path()), false}));
    std::u16string error;
    auto inFolder = streams::CreateStreamSource(u"cmd:pwd", error);
    ASSERT_NE(inFolder, nullptr);
    ASSERT_TRUE(inFolder->Open(0, error));
    EXPECT_EQ(FollowUntil(static_cast<CCommandSource&>(*inFolder), "status"),
              folder.Path() + "\n[The command ended with exit status 0.]\n");

    auto killed = Started("echo before; kill -TERM $$");
    EXPECT_EQ(FollowUntil(*killed, "signal"),
              "before\n[The command was ended by signal 15 (Terminated).]\n");
}

// While nothing is taken the command waits on its pipe; taken later, every
// line is there once, in order.
TEST_F(CommandSourceTest, OutputNobodyTakesWaitsAndNothingIsLost) {
    auto source = Started("seq 1 700000");
    for (int i = 0; i < 40; ++i) {
        pollfd wake{source->WakeDescriptor(), POLLIN, 0};
        if (poll(&wake, 1, 25) > 0) source->ProcessWake();
    }
    const std::string text = FollowUntil(*source, "exit status 0");
    std::size_t at = 0;
    for (int expected = 1; expected <= 700000; ++expected) {
        const std::size_t end = text.find('\n', at);
        ASSERT_NE(end, std::string::npos);
        ASSERT_EQ(text.substr(at, end - at), std::to_string(expected));
        at = end + 1;
    }
    EXPECT_EQ(text.substr(at), "[The command ended with exit status 0.]\n");
}

// Closing ends the whole group, even a child that ignores SIGTERM.
TEST_F(CommandSourceTest, ClosingEndsTheWholeGroup) {
    TempFolder folder;
    const std::string pidFile = folder.File("pid");
    auto source = Started("echo $$ > '" + pidFile + "'; trap '' TERM; sleep 300 & sleep 300");
    pid_t group = 0;
    for (int i = 0; i < 200 && group == 0; ++i) {
        std::ifstream(pidFile) >> group;
        if (group == 0) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_GT(group, 0);
    ASSERT_EQ(kill(-group, 0), 0);
    source.reset();
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i) {
        gone = kill(-group, 0) != 0;
        if (!gone) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(gone);
}

}  // namespace
}  // namespace streams_test
