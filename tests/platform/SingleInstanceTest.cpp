#include "platform/SingleInstance.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/TaskQueue.h"

extern char** environ;

namespace {

using platform::CSingleInstance;
using platform::InstanceStart;
using Bytes = std::vector<std::uint8_t>;
using Arguments = std::vector<std::u16string>;

constexpr const char* kName = "OSTRATARVIK_D04109C4_D08E_43F4_BA5E_2922BCA44B62_ANSI";
constexpr int kWaitMs = 10000;

class TempFolder {
public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tarvik-instance-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Collects the hand-overs a first instance delivers.
struct Receiver {
    platform::TaskQueue queue;
    std::vector<Arguments> received;
    CSingleInstance::HandOverHandler Handler() {
        return [this](Arguments arguments) { received.push_back(std::move(arguments)); };
    }
};

int ConnectRaw(const std::string& socketPath) {
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, socketPath.c_str(), sizeof address.sun_path - 1);
    if (connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// Sends bytes, closes the sending side and returns what the receiver answered
// before closing the connection.
Bytes SendRaw(const std::string& socketPath, const Bytes& bytes) {
    const int fd = ConnectRaw(socketPath);
    if (fd < 0) return {0xEE};
    if (!bytes.empty()) {
        EXPECT_EQ(send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    shutdown(fd, SHUT_WR);
    Bytes answer;
    std::uint8_t buffer[64];
    pollfd entry{fd, POLLIN, 0};
    while (poll(&entry, 1, kWaitMs) == 1) {
        const ssize_t got = recv(fd, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        answer.insert(answer.end(), buffer, buffer + got);
    }
    close(fd);
    return answer;
}

Bytes Header(std::uint32_t marker, std::uint32_t size) {
    Bytes bytes;
    for (std::uint32_t value : {marker, size}) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back((value >> shift) & 0xFF);
    }
    return bytes;
}

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(HandOverPayload, ArgumentsAreZeroTerminatedUtf16LeWithAClosingZero) {
    const Bytes data = platform::BuildHandOverData({u"a", u"b\u4E2D"});
    const Bytes expected = {'a', 0, 0, 0, 'b', 0, 0x2D, 0x4E, 0, 0, 0, 0};
    EXPECT_EQ(data, expected);
    // 2 x (sum of (length + 1)) + 2
    EXPECT_EQ(data.size(), 2u * ((1 + 1) + (2 + 1)) + 2);
    EXPECT_TRUE(platform::BuildHandOverData({}).empty());
}

TEST(HandOverPayload, MessageCarriesMarkerAndByteCount) {
    const Bytes message = platform::BuildHandOverMessage({u"x"});
    const Bytes expected = {0x99, 0x88, 0, 0, 6, 0, 0, 0, 'x', 0, 0, 0, 0, 0};
    EXPECT_EQ(message, expected);
    EXPECT_EQ(platform::BuildHandOverMessage({}), Header(0x8899, 0));
}

TEST(HandOverPayload, EmptyArgumentsAreLeftOutSoLaterOnesSurvive) {
    const Bytes data = platform::BuildHandOverData({u"-L", u"", u"a.log"});
    EXPECT_EQ(platform::ParseHandOverData(data), (Arguments{u"-L", u"a.log"}));
}

TEST(HandOverPayload, ParsingRoundTripsAndRejectsMalformedData) {
    const Arguments arguments = {u"/var/log/a b.log", u"-L", u"25", u"\u00E9t\u00E9"};
    EXPECT_EQ(platform::ParseHandOverData(platform::BuildHandOverData(arguments)), arguments);
    EXPECT_EQ(platform::ParseHandOverData({}), Arguments{});
    const Bytes odd = {'a', 0, 0};
    EXPECT_FALSE(platform::ParseHandOverData(odd));
    const Bytes unterminated = {'a', 0, 0, 0, 'b', 0};
    EXPECT_FALSE(platform::ParseHandOverData(unterminated));
    const Bytes noClosingZero = {'a', 0, 0, 0};
    EXPECT_FALSE(platform::ParseHandOverData(noClosingZero));
}

TEST(SingleInstance, LaterStartHandsItsArgumentsToTheFirst) {
    TempFolder folder;
    Receiver first;
    CSingleInstance running(kName, folder.Path());
    ASSERT_EQ(running.Start(true, {}, first.queue, first.Handler()), InstanceStart::First);
    ASSERT_TRUE(running.IsListening());

    struct stat info {};
    ASSERT_EQ(stat(running.SocketPath().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(stat(folder.Path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    Receiver second;
    CSingleInstance later(kName, folder.Path());
    EXPECT_EQ(later.Start(true, {u"x.log", u"y z.log"}, second.queue, second.Handler()),
              InstanceStart::HandedOver);
    EXPECT_FALSE(later.IsListening());

    ASSERT_EQ(first.queue.WaitAndDrain(kWaitMs), 1);
    ASSERT_EQ(first.received.size(), 1u);
    EXPECT_EQ(first.received[0], (Arguments{u"x.log", u"y z.log"}));

    // No arguments still reach the first instance, which then only comes forward.
    CSingleInstance bare(kName, folder.Path());
    EXPECT_EQ(bare.Start(true, {}, second.queue, second.Handler()), InstanceStart::HandedOver);
    ASSERT_EQ(first.queue.WaitAndDrain(kWaitMs), 1);
    EXPECT_EQ(first.received.back(), Arguments{});
    EXPECT_EQ(second.queue.Drain(), 0);
}

TEST(SingleInstance, MultipleInstancesAllowedStartsWithoutHandingOver) {
    TempFolder folder;
    Receiver first;
    CSingleInstance running(kName, folder.Path());
    ASSERT_EQ(running.Start(true, {}, first.queue, first.Handler()), InstanceStart::First);
    Receiver second;
    CSingleInstance other(kName, folder.Path());
    EXPECT_EQ(other.Start(false, {u"a.log"}, second.queue, second.Handler()),
              InstanceStart::Further);
    EXPECT_EQ(first.queue.Drain(), 0);
}

TEST(SingleInstance, StaleLockAndSocketOfAGoneInstanceAreTakenOver) {
    TempFolder folder;
    CSingleInstance probe(kName, folder.Path());
    // What a crashed instance leaves: an unlocked lock file and a socket nobody listens on.
    close(open(probe.LockPath().c_str(), O_CREAT | O_RDWR, 0600));
    const int dead = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::strncpy(address.sun_path, probe.SocketPath().c_str(), sizeof address.sun_path - 1);
    ASSERT_EQ(bind(dead, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    close(dead);

    Receiver first;
    ASSERT_EQ(probe.Start(true, {}, first.queue, first.Handler()), InstanceStart::First);
    ASSERT_TRUE(probe.IsListening());
    Receiver second;
    CSingleInstance later(kName, folder.Path());
    EXPECT_EQ(later.Start(true, {u"b.log"}, second.queue, second.Handler()),
              InstanceStart::HandedOver);
    ASSERT_EQ(first.queue.WaitAndDrain(kWaitMs), 1);
    EXPECT_EQ(first.received.at(0), Arguments{u"b.log"});
}

TEST(SingleInstance, HolderThatNeverAnswersLetsTheLaterStartRunOnItsOwn) {
    TempFolder folder;
    CSingleInstance later(kName, folder.Path());
    const int held = open(later.LockPath().c_str(), O_CREAT | O_RDWR, 0600);
    ASSERT_EQ(flock(held, LOCK_EX | LOCK_NB), 0);
    Receiver receiver;
    EXPECT_EQ(later.Start(true, {u"a.log"}, receiver.queue, receiver.Handler()),
              InstanceStart::Further);
    EXPECT_FALSE(later.IsListening());
    close(held);
}

TEST(SingleInstance, ClosingReleasesLockAndSocketForTheNextStart) {
    TempFolder folder;
    std::string socketPath;
    {
        Receiver first;
        CSingleInstance running(kName, folder.Path());
        ASSERT_EQ(running.Start(true, {}, first.queue, first.Handler()), InstanceStart::First);
        socketPath = running.SocketPath();
    }
    EXPECT_FALSE(std::filesystem::exists(socketPath));
    Receiver next;
    CSingleInstance again(kName, folder.Path());
    EXPECT_EQ(again.Start(true, {}, next.queue, next.Handler()), InstanceStart::First);
}

TEST(SingleInstance, MalformedHandOversAreIgnoredAndLaterOnesStillWork) {
    TempFolder folder;
    Receiver first;
    CSingleInstance running(kName, folder.Path());
    ASSERT_EQ(running.Start(true, {}, first.queue, first.Handler()), InstanceStart::First);
    const std::string& path = running.SocketPath();
    const Bytes goodData = platform::BuildHandOverData({u"a"});

    EXPECT_TRUE(SendRaw(path, Concat(Header(0x1234, 6), goodData)).empty()) << "wrong marker";
    EXPECT_TRUE(SendRaw(path, Concat(Header(0x8899, 5), {'a', 0, 0, 0, 0})).empty()) << "odd";
    EXPECT_TRUE(SendRaw(path, Header(0x8899, 2 * 1024 * 1024)).empty()) << "absurd size";
    EXPECT_TRUE(SendRaw(path, Header(0xFFFFFFFF, 0xFFFFFFFF)).empty()) << "garbage header";
    EXPECT_TRUE(SendRaw(path, Concat(Header(0x8899, 6), {'a', 0})).empty()) << "cut short";
    EXPECT_TRUE(SendRaw(path, Concat(Header(0x8899, 4), {'a', 0, 'b', 0})).empty())
        << "unterminated";
    EXPECT_TRUE(SendRaw(path, {0x99, 0x88}).empty()) << "partial header";
    EXPECT_TRUE(SendRaw(path, {}).empty()) << "nothing";
    EXPECT_EQ(first.queue.Drain(), 0);

    EXPECT_EQ(SendRaw(path, Concat(Header(0x8899, 6), goodData)), (Bytes{0x99, 0x88, 0, 0}));
    ASSERT_EQ(first.queue.WaitAndDrain(kWaitMs), 1);
    EXPECT_EQ(first.received.at(0), Arguments{u"a"});
}

// A tool run with its standard output read line by line, each wait bounded.
class ProbeProcess {
public:
    explicit ProbeProcess(std::vector<std::string> arguments) {
        int out[2];
        if (pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
        std::string program = TARVIK_TOOLS_DIR "/tarvik-instance-probe";
        std::vector<char*> argv{program.data()};
        for (std::string& argument : arguments) argv.push_back(argument.data());
        argv.push_back(nullptr);
        pid_t pid = -1;
        if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ) == 0) {
            pid_ = pid;
        }
        posix_spawn_file_actions_destroy(&actions);
        close(out[1]);
        output_ = out[0];
    }
    ~ProbeProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            Wait();
        }
        if (output_ >= 0) close(output_);
    }

    std::string ReadLine() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kWaitMs);
        for (;;) {
            const std::size_t newline = pending_.find('\n');
            if (newline != std::string::npos) {
                std::string line = pending_.substr(0, newline);
                pending_.erase(0, newline + 1);
                return line;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd entry{output_, POLLIN, 0};
            if (left.count() <= 0 || poll(&entry, 1, static_cast<int>(left.count())) != 1) {
                return "<timed out>";
            }
            char buffer[256];
            const ssize_t got = read(output_, buffer, sizeof buffer);
            if (got <= 0) return "<closed>";
            pending_.append(buffer, static_cast<std::size_t>(got));
        }
    }

    // The exit status; the probes end on their own within their own time limit.
    int Wait() {
        int status = 0;
        if (pid_ <= 0) return -1;
        while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        pid_ = -1;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

TEST(SingleInstance, SecondProcessHandsItsCommandLineToTheFirstProcess) {
    TempFolder folder;
    ProbeProcess first({folder.Path(), "1"});
    ASSERT_EQ(first.ReadLine(), "first");

    ProbeProcess second({folder.Path(), "0", "one.log", "two words.log"});
    EXPECT_EQ(second.ReadLine(), "handed over");
    EXPECT_EQ(second.Wait(), 0);

    EXPECT_EQ(first.ReadLine(), "got [one.log][two words.log]");
    EXPECT_EQ(first.Wait(), 0);
}

}  // namespace
