// Starting programs without a shell: output collected from a real child, a
// missing program told apart, children reaped without a thread each and
// starts at the process limit, and file addresses for the file manager.

#include "platform/Process.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/Shell.h"

namespace {

TEST(ProcessTest, ChildrenRunWithTheirArgumentsAsGiven) {
    std::string output;
    EXPECT_EQ(platform::RunAndWait({"printf", "%s|", "one two", "$HOME", "*"}, &output), 0);
    EXPECT_EQ(output, "one two|$HOME|*|") << "no shell expands anything";
    EXPECT_EQ(platform::RunAndWait({"sh", "-c", "exit 3"}), 3);
    EXPECT_EQ(platform::RunAndWait({"no-such-program-anywhere"}), -1);
    EXPECT_EQ(platform::StartDetached({"no-such-program-anywhere"}),
              platform::StartResult::NotFound);
    EXPECT_EQ(platform::ShellOpen(u"/no/such/editor", u"/tmp/x.log"),
              platform::StartResult::NotFound);
    EXPECT_EQ(platform::StartDetached({"true"}), platform::StartResult::Started);
}

std::size_t ThreadCount() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& task : std::filesystem::directory_iterator("/proc/self/task"))
        ++count;
    return count;
}

// Twenty running children cost no thread each; every one is reaped and told.
TEST(ProcessTest, ChildrenAreReapedByOneThreadForAll) {
    constexpr int kChildren = 20;
    auto ended = std::make_shared<std::atomic<int>>(0);
    const std::size_t threadsBefore = ThreadCount();
    for (int i = 0; i < kChildren; ++i) {
        ASSERT_EQ(platform::StartDetached({"sleep", "1"}, nullptr, [ended] { ++*ended; }),
                  platform::StartResult::Started);
    }
    EXPECT_LE(ThreadCount(), threadsBefore + 1);
    for (int i = 0; i < 1000 && ended->load() < kChildren; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(ended->load(), kChildren);
    // None is left as a zombie.
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
}

// At the process limit of a user (root has none) starting fails quietly
// instead of ending the program.
TEST(ProcessTest, StartsAtTheProcessLimitFailWithoutAborting) {
    if (geteuid() != 0) GTEST_SKIP() << "changing to another user needs root";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const rlimit limit{10, 10};
        if (setrlimit(RLIMIT_NPROC, &limit) != 0 || setgid(65534) != 0 || setuid(65534) != 0)
            _exit(3);
        int failed = 0;
        for (int i = 0; i < 100; ++i) {
            if (platform::StartDetached({"sleep", "2"}) != platform::StartResult::Started) ++failed;
        }
        _exit(failed > 0 ? 0 : 4);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST(ProcessTest, FileAddressesEncodeWhatIsNotPlain) {
    EXPECT_EQ(platform::FileUri("/var/log/a b'#%.log"), "file:///var/log/a%20b%27%23%25.log");
    EXPECT_EQ(platform::FileUri("/tmp/\xC3\xA9"), "file:///tmp/%C3%A9");
}

}  // namespace
