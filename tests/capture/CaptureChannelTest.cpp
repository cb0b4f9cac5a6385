// Who owns the debug-output channel: a second capturing program is refused,
// a monitor of another program makes the capture document close after its
// message, the objects of a monitor killed with SIGKILL are reclaimed,
// another user's objects under the channel's names are neither used nor
// removed, and a sender that died holding the buffer does not end capture.

#include <semaphore.h>
#include <signal.h>

#include <ctime>
#include <fstream>
#include <iterator>

#include "CaptureTestSupport.h"
#include "ForeignUser.h"
#include "platform/DebugChannel.h"
#include "platform/DebugChannelMonitor.h"

namespace capture_test {
namespace {

const std::string kAnotherUser =
    "Failed to initialize capturing OutputDebugString.\n\nThe objects of the debug output "
    "channel are owned by another user.";

// Where the system keeps a shared-memory object and a named semaphore.
std::string ShmPath(const std::string& name) {
    return "/dev/shm" + name;
}
std::string SemPath(const std::string& name) {
    return "/dev/shm/sem." + name.substr(1);
}

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), {});
}

// What the other user plants, mode 0666: a shared-memory object of a
// buffer's size, locked as a live monitor's lock, or a semaphore.
bool PlantSharedObject(const std::string& name, bool locked) {
    const int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_EXCL, 0666);
    if (fd < 0 || ftruncate(fd, platform::kDebugBufferBytes) != 0) return false;
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    return !locked || fcntl(fd, F_OFD_SETLK, &lock) == 0;
}

bool PlantSemaphore(const std::string& name, unsigned value) {
    return sem_open(name.c_str(), O_CREAT | O_EXCL, 0666, value) != SEM_FAILED;
}

class CaptureChannelTest : public CaptureTest {
protected:
    void SetUp() override {
        CaptureTest::SetUp();
        const std::string base =
            std::string(TARVIK_BINARY_DIR) + "/capture-channel-" + std::to_string(getpid());
        registry_ = base + ".db";
        setenv("TARVIK_REGISTRY", registry_.c_str(), 1);
        errPath_ = base + ".err";
        names_ = platform::DebugChannelNamesForUser();
    }
    void TearDown() override {
        RemoveForeignObjects();
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

    // Ticks until a failed start has closed the capture document.
    void TickUntilCaptureCloses() {
        for (int i = 0; i < 4000 && app_.CaptureDocument(); ++i) {
            Tick();
            usleep(5000);
        }
    }

    std::string StopEventLock() const {
        return platform::PerUserObjectName(capture::kStopEventName);
    }

    void RemoveForeignObjects() {
        foreign_.Release();
        RemovePaths({ShmPath(names_.buffer), ShmPath(names_.monitorLock), ShmPath(StopEventLock()),
                     SemPath(names_.bufferReady), SemPath(names_.dataReady)});
    }

    std::string errPath_;
    std::string registry_;
    // Set up after the test's channel is chosen.
    platform::DebugChannelNames names_;
    CForeignUser foreign_;
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
    TickUntilCaptureCloses();
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

// The capture thread's failure report must not race the document closing
// under it (a ThreadSanitizer build shows it); the reports of closed
// sessions never run.
TEST_F(CaptureChannelTest, ClosingTheDocumentWhileItsStartFailsIsSafe) {
    platform::CDebugChannelMonitor other;
    ASSERT_EQ(other.Open(), platform::DebugMonitorOpen::Opened);
    for (int i = 0; i < 20; ++i) {
        core::CTarvikDoc* doc = app_.StartCapture();
        ASSERT_NE(doc, nullptr);
        app_.CloseDocument(doc);
    }
    Tick();
    EXPECT_TRUE(ui_.messages.empty());
    other.Close();
}

// Another user who made the channel's objects first, open to everyone, and
// holds the monitor's lock: the text never reaches the other user's buffer
// and the monitor names the cause.
TEST_F(CaptureChannelTest, ObjectsOfAnotherUserAreNeitherWrittenNorTakenOver) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
    ASSERT_TRUE(foreign_.Plant([&] {
        return PlantSemaphore(names_.bufferReady, 1) && PlantSemaphore(names_.dataReady, 0) &&
               PlantSharedObject(names_.buffer, false) &&
               PlantSharedObject(names_.monitorLock, true);
    }));
    EXPECT_EQ(Ods({"secret"}), 1);
    EXPECT_EQ(FileText(ShmPath(names_.buffer)).find("secret"), std::string::npos);

    ASSERT_NE(app_.StartCapture(), nullptr);
    TickUntilCaptureCloses();
    EXPECT_EQ(app_.CaptureDocument(), nullptr);
    EXPECT_EQ(ui_.messages, std::vector<std::string>{kAnotherUser});
}

// One object is enough to be in the way: a semaphore of the channel, or the
// lock that marks a running capture. It stays where it is.
TEST_F(CaptureChannelTest, ALoneObjectOfAnotherUserIsReportedAndLeftAlone) {
    if (geteuid() != 0) GTEST_SKIP() << "only root can act as another user";
    const std::string stopLock = StopEventLock();
    const std::vector<std::pair<std::string, std::function<bool()>>> cases = {
        {SemPath(names_.bufferReady), [&] { return PlantSemaphore(names_.bufferReady, 0); }},
        {ShmPath(stopLock), [&] { return PlantSharedObject(stopLock, false); }},
    };
    for (const auto& [path, plant] : cases) {
        ui_.messages.clear();
        ASSERT_TRUE(foreign_.Plant(plant)) << path;
        foreign_.Release();
        if (app_.StartCapture()) TickUntilCaptureCloses();
        EXPECT_EQ(app_.CaptureDocument(), nullptr) << path;
        EXPECT_EQ(ui_.messages, std::vector<std::string>{kAnotherUser}) << path;
        EXPECT_EQ(access(path.c_str(), F_OK), 0) << path;
        RemoveForeignObjects();
    }
}

// A sender that took "buffer ready" and died never writes: the monitor
// gives the buffer out again after a while without data.
TEST_F(CaptureChannelTest, ASenderThatDiedHoldingTheBufferDoesNotEndCapture) {
    core::CTarvikDoc* doc = StartCaptureListening();
    ASSERT_NE(doc, nullptr);
    sem_t* bufferReady = sem_open(names_.bufferReady.c_str(), 0);
    ASSERT_NE(bufferReady, SEM_FAILED);
    const pid_t taker = fork();
    if (taker == 0) {
        timespec deadline{};
        clock_gettime(CLOCK_MONOTONIC, &deadline);
        deadline.tv_sec += 30;
        _exit(sem_clockwait(bufferReady, CLOCK_MONOTONIC, &deadline) == 0 ? 0 : 1);
    }
    ASSERT_EQ(WaitExit(taker), 0);
    sem_close(bufferReady);

    bool taken = false;
    for (int i = 0; i < 100 && !taken; ++i) taken = Ods({"after the dead sender"}) == 0;
    ASSERT_TRUE(taken);
    EXPECT_TRUE(TickUntilLine(*doc, "after the dead sender"));
}

}  // namespace
}  // namespace capture_test
