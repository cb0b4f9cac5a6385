// Who owns the debug-output channel: a second capturing program is refused,
// a monitor of another program makes the capture document close after its
// message, and the objects of a monitor killed with SIGKILL are reclaimed.

#include <signal.h>

#include <fstream>
#include <iterator>

#include "CaptureTestSupport.h"
#include "platform/DebugChannel.h"
#include "platform/DebugChannelMonitor.h"

namespace capture_test {
namespace {

class CaptureChannelTest : public CaptureTest {
protected:
    void SetUp() override {
        CaptureTest::SetUp();
        const std::string base =
            std::string(TARVIK_BINARY_DIR) + "/capture-channel-" + std::to_string(getpid());
        registry_ = base + ".db";
        setenv("TARVIK_REGISTRY", registry_.c_str(), 1);
        errPath_ = base + ".err";
    }
    void TearDown() override {
        std::remove(errPath_.c_str());
        for (const char* end : {"", "-shm", "-wal"}) std::remove((registry_ + end).c_str());
        CaptureTest::TearDown();
    }

    // tarvik-tail --capture in the background, its output dropped and its
    // errors kept.
    pid_t StartTail() {
        const std::string command = "exec '" + std::string(TARVIK_TOOLS_DIR) +
                                    "/tarvik-tail' --capture --color never >/dev/null 2>'" +
                                    errPath_ + "'";
        return Spawn({"/bin/sh", "-c", command});
    }

    std::string Errors() const {
        std::ifstream in(errPath_);
        return std::string((std::istreambuf_iterator<char>(in)), {});
    }

    std::string errPath_;
    std::string registry_;
};

TEST_F(CaptureChannelTest, SecondCapturingProgramIsRefused) {
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    // The same program only activates its capture document again.
    EXPECT_EQ(app_.StartCapture(), doc);
    EXPECT_EQ(WaitExit(StartTail()), 3);
    EXPECT_EQ(Errors(), kAnotherProgram + "\n");
    ASSERT_EQ(Ods({"still mine"}), 0);
    EXPECT_TRUE(TickUntilLine(*doc, "still mine"));
}

TEST_F(CaptureChannelTest, MonitorOfAnotherProgramClosesTheDocumentAfterItsMessage) {
    platform::CDebugChannelMonitor other;
    ASSERT_EQ(other.Open(), platform::DebugMonitorOpen::Opened);
    ASSERT_NE(app_.StartCapture(), nullptr);
    for (int i = 0; i < 4000 && app_.CaptureDocument(); ++i) {
        Tick();
        usleep(5000);
    }
    EXPECT_EQ(app_.CaptureDocument(), nullptr);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kAnotherProgram});
    other.Close();
}

TEST_F(CaptureChannelTest, ObjectsOfAKilledMonitorAreReclaimed) {
    const pid_t tail = StartTail();
    bool listening = false;
    for (int i = 0; i < 4000 && !listening; ++i) {
        listening = Ods({"ping"}) == 0;
        if (!listening) usleep(5000);
    }
    ASSERT_TRUE(listening);
    kill(tail, SIGKILL);
    WaitExit(tail);

    const std::string buffer = "/dev/shm" + platform::DebugChannelNamesForUser().buffer;
    EXPECT_EQ(access(buffer.c_str(), F_OK), 0) << "the killed monitor left its objects";
    // Nobody owns them: a sender returns at once without a monitor.
    EXPECT_EQ(Ods({"nobody listens"}), 1);

    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    ASSERT_EQ(Ods({"after the kill"}), 0);
    EXPECT_TRUE(TickUntilLine(*doc, "after the kill"));
    EXPECT_TRUE(ui_.messages.empty());
}

}  // namespace
}  // namespace capture_test
