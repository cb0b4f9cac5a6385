#include "mail/MailSender.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/TaskQueue.h"

using mail::CMailSender;
using mail::MailJob;

namespace {

// A server on 127.0.0.1 that takes connections into its backlog and never says a word.
class SilentListener {
public:
    SilentListener() {
        fd_ = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(fd_, reinterpret_cast<sockaddr*>(&address), length) == 0 && listen(fd_, 8) == 0 &&
            getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
            port_ = ntohs(address.sin_port);
        }
    }
    ~SilentListener() { close(fd_); }
    // True once a client has connected (its connection waits in the backlog).
    bool WaitForClient() const {
        pollfd entry{fd_, POLLIN, 0};
        return poll(&entry, 1, 10000) == 1;
    }
    std::uint32_t Port() const { return port_; }

private:
    int fd_ = -1;
    std::uint32_t port_ = 0;
};

MailJob JobFor(std::uint32_t port) {
    MailJob job;
    job.server = "127.0.0.1";
    job.port = port;
    job.mailFrom = "from@example.org";
    job.recipients = "first@example.org, second@example.org";
    job.message = "Subject: s\r\n\r\nb\r\n";
    job.waitSeconds = 1;
    return job;
}

struct Completed {
    std::uint32_t jobId;
    std::string error;
};

std::vector<Completed> DrainUntil(platform::TaskQueue& queue, std::vector<Completed>& seen,
                                  std::size_t count) {
    for (int i = 0; i < 200 && seen.size() < count; ++i) queue.WaitAndDrain(100);
    return seen;
}

}  // namespace

TEST(SmtpSender, ReportsEachJobOnTheQueueUnderItsOwnId) {
    platform::TaskQueue queue;
    std::vector<Completed> seen;
    auto record = [&seen](std::uint32_t id, std::string error) {
        seen.push_back({id, std::move(error)});
    };
    std::uint32_t invalidId = 0, refusedId = 0;
    {
        CMailSender sender(&queue);
        MailJob invalid = JobFor(1);
        invalid.message.clear();
        invalidId = sender.Start(invalid, record);
        refusedId = sender.Start(JobFor(1), record);
    }
    // The sender waited for its threads; the completions wait for the queue's owner.
    EXPECT_NE(invalidId, 0u);
    EXPECT_NE(refusedId, 0u);
    EXPECT_NE(invalidId, refusedId);
    DrainUntil(queue, seen, 2);
    ASSERT_EQ(seen.size(), 2u);
    for (const auto& done : seen) {
        EXPECT_EQ(done.error, done.jobId == invalidId ? "Invalid parameters."
                                                      : "Failed to connect to SMTP server.");
    }
}

TEST(SmtpSender, SilentServerEndsAsSendingFailure) {
    SilentListener server;
    ASSERT_NE(server.Port(), 0u);
    platform::TaskQueue queue;
    std::vector<Completed> seen;
    CMailSender sender(&queue);
    sender.Start(JobFor(server.Port()), [&seen](std::uint32_t id, std::string error) {
        seen.push_back({id, error});
    });
    DrainUntil(queue, seen, 1);
    ASSERT_EQ(seen.size(), 1u);
    // The empty greeting fails the code check and leaves no text of its own.
    EXPECT_EQ(seen[0].error, "Sending email failure");
    // The thread ends just after posting its completion, and is then reaped.
    for (int i = 0; i < 500 && sender.RunningJobs() != 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(sender.RunningJobs(), 0u);
}

TEST(SmtpSender, ClosingTheSenderEndsWaitingJobsAtOnce) {
    SilentListener server;
    platform::TaskQueue queue;
    std::vector<Completed> seen;
    {
        CMailSender sender(&queue);
        MailJob job = JobFor(server.Port());
        job.waitSeconds = 3600;
        sender.Start(job, [&seen](std::uint32_t id, std::string error) {
            seen.push_back({id, error});
        });
        ASSERT_TRUE(server.WaitForClient());
    }
    queue.Drain();
    ASSERT_EQ(seen.size(), 1u);
    // A cancelled wait is a broken connection, not a silent server.
    EXPECT_EQ(seen[0].error, "Time out.");
}

TEST(SmtpSender, HeadlessFailureGoesToDebugOutput) {
    testing::internal::CaptureStderr();
    {
        CMailSender sender(nullptr);
        MailJob job = JobFor(1);
        job.recipients = "ops@example.org  , dev@example.org";
        sender.Start(job);
        MailJob fine = JobFor(1);
        fine.message.clear();
        sender.Start(fine, [](std::uint32_t, std::string) { FAIL() << "no queue to run on"; });
    }
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_NE(output.find("[Ostra Tarvik]: Failed to send email to ops@example.org\n"
                          "[Ostra Tarvik]: Error: Failed to connect to SMTP server.\n"),
              std::string::npos)
        << output;
    EXPECT_NE(output.find("[Ostra Tarvik]: Error: Invalid parameters.\n"), std::string::npos);
}
