#pragma once
// A capture document run by the application as the GUI runs it, on a
// private debug-output channel per test, with senders in real processes:
// tarvik-ods, or a forked child calling the sender library.

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/TarvikApp.h"
#include "capture/CaptureSession.h"
#include "capture/PrivateChannel.h"
#include "core/IUserInterface.h"
#include "filters/HighlightFilter.h"
#include "platform/CodePage.h"
#include "platform/DebugChannel.h"
#include "platform/TaskQueue.h"
#include "settings/TempRegistry.h"

extern char** environ;

namespace capture_test {

class RecordingUi final : public core::IUserInterface {
public:
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon,
                                    core::MessageButtons) override {
        messages.push_back(platform::Utf16ToUtf8(text));
        return core::MessageAnswer::Ok;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::vector<std::string> messages;
};

inline const std::string kAnotherProgram =
    "Another program is capturing output of OutputDebugString.\n\nThere's only one program "
    "that could capture OutputDebugString output at the same time.";

// Starts a program with the test's environment (and so its channel).
inline pid_t Spawn(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    return pid;
}

inline int WaitExit(pid_t pid) {
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

inline std::string OdsPath() {
    return std::string(TARVIK_TOOLS_DIR) + "/tarvik-ods";
}

// tarvik-ods with these arguments; its exit status (0: a monitor took it).
inline int Ods(std::vector<std::string> args, pid_t* pid = nullptr) {
    args.insert(args.begin(), OdsPath());
    const pid_t child = Spawn(args);
    if (pid) *pid = child;
    return WaitExit(child);
}

// A child process that runs body (calling the sender library) and ends.
inline pid_t ForkSender(const std::function<void()>& body) {
    const pid_t pid = fork();
    if (pid == 0) {
        body();
        _exit(0);
    }
    return pid;
}

class CaptureTest : public app_test::TempRegistryTest {
protected:
    void SetUp() override {
        app_test::TempRegistryTest::SetUp();
        static int counter = 0;
        const std::string channel =
            "t" + std::to_string(getpid()) + "_" + std::to_string(++counter);
        setenv("TARVIK_DEBUG_CHANNEL", channel.c_str(), 1);
        app_.SetUserInterface(&ui_);
    }

    // The test's channel leaves nothing behind, not even its lock objects.
    void TearDown() override {
        if (core::CTarvikDoc* doc = app_.CaptureDocument()) app_.CloseDocument(doc);
        capture_test::RemovePrivateChannel();
        app_test::TempRegistryTest::TearDown();
    }

    // The capture document, once its thread listens on the channel: an
    // empty message, which leaves no trace, gets through.
    core::CTarvikDoc* StartCaptureListening() {
        core::CTarvikDoc* doc = app_.StartCapture();
        for (int i = 0; doc && i < 4000; ++i) {
            if (Ods({""}) == 0) return doc;
            usleep(5000);
        }
        return nullptr;
    }

    // One highlight filter with its actions in force; captured lines come
    // without prefixes.
    void UseActingFilter(const filters::HighlightFilter& filter) {
        app_.HighlightFilters().Replace({filter});
        app_.EnableHighlightActions(nullptr);
        settings::Options& options = app_.GetOptions();
        options.ODSSequenceNumber = options.ODSDispProcessID = options.ODSTimestamp = false;
    }

    // The refresh tick, and the failures posted meanwhile.
    void Tick() {
        queue_.Drain();
        app_.OnRefreshTick();
    }

    std::vector<std::string> Lines(const core::CTarvikDoc& doc) const {
        std::vector<std::string> lines;
        for (int i = 0; i < doc.Buffer().LineCount(); ++i) {
            lines.push_back(platform::Utf16ToUtf8(doc.Buffer().LineText(i)));
        }
        return lines;
    }

    // Ticks until a line holds text; bounded, so a fault fails instead of
    // hanging. A message sent after others arrives after them.
    bool TickUntilLine(const core::CTarvikDoc& doc, const std::string& text) {
        for (int i = 0; i < 4000; ++i) {
            Tick();
            for (const std::string& line : Lines(doc)) {
                if (line.find(text) != std::string::npos) return true;
            }
            usleep(5000);
        }
        return false;
    }

    platform::TaskQueue queue_;
    RecordingUi ui_;
    app::CTarvikApp app_{platform::SystemClock::Instance(), &queue_};
};

}  // namespace capture_test
