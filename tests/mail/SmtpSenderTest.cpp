#include "mail/MailSender.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
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
    ~SilentListener() {
        for (const int client : clients_) close(client);
        close(fd_);
    }
    // True once a client has connected (its connection waits in the backlog).
    bool WaitForClient() const {
        pollfd entry{fd_, POLLIN, 0};
        return poll(&entry, 1, 10000) == 1;
    }
    std::uint32_t Port() const { return port_; }
    // Takes count connections off the backlog (held open until the listener
    // goes); false when they do not come.
    bool AcceptClients(int count) {
        for (int i = 0; i < count; ++i) {
            if (!WaitForClient()) return false;
            clients_.push_back(accept(fd_, nullptr, nullptr));
        }
        return true;
    }

private:
    int fd_ = -1;
    std::uint32_t port_ = 0;
    std::vector<int> clients_;
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

// A conversation stuck where no cancelling reaches it (as in a name lookup)
// until the test lets it go, or a long while has passed.
struct StuckDelivery {
    std::mutex mutex;
    std::condition_variable changed;
    bool entered = false;
    bool released = false;
    bool gaveUp = false;

    std::string Deliver() {
        std::unique_lock lock(mutex);
        entered = true;
        changed.notify_all();
        gaveUp = !changed.wait_for(lock, std::chrono::seconds(20), [this] { return released; });
        return "451 finally";
    }
    void WaitUntilEntered() {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, std::chrono::seconds(20), [this] { return entered; });
    }
    bool StillStuck() {
        std::lock_guard lock(mutex);
        return entered && !released && !gaveUp;
    }
    void Release() {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
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

TEST(SmtpSender, JobsBeyondFourWaitTheirTurnAndEveryOneIsReported) {
    SilentListener server;
    ASSERT_NE(server.Port(), 0u);
    platform::TaskQueue queue;
    std::vector<Completed> seen;
    std::vector<std::uint32_t> ids;
    {
        CMailSender sender(&queue);
        MailJob job = JobFor(server.Port());
        job.waitSeconds = 3600;
        for (int i = 0; i < 6; ++i) {
            ids.push_back(sender.Start(job, [&seen](std::uint32_t id, std::string error) {
                seen.push_back({id, std::move(error)});
            }));
        }
        // A burst of matches takes four sockets, not one per match.
        EXPECT_EQ(sender.RunningJobs(), 4u);
        EXPECT_EQ(sender.WaitingJobs(), 2u);
        ASSERT_TRUE(server.AcceptClients(4));
    }
    // Closing ended the running jobs' waits and the waiting jobs alike.
    queue.Drain();
    ASSERT_EQ(seen.size(), 6u);
    for (const auto& done : seen) {
        EXPECT_EQ(done.error, "Time out.");
        EXPECT_EQ(std::count(ids.begin(), ids.end(), done.jobId), 1);
    }
}

// A burst beyond the waiting list ends at once, each job failed with the
// reason, instead of queueing without end.
TEST(SmtpSender, JobsBeyondTheWaitingListFailAtOnce) {
    auto stuck = std::make_shared<StuckDelivery>();
    platform::TaskQueue queue;
    std::vector<Completed> seen;
    {
        mail::MailSenderLimits limits;
        limits.maxRunningJobs = 1;
        limits.maxWaitingJobs = 2;
        limits.closingWait = std::chrono::milliseconds(50);
        CMailSender sender(&queue, limits,
                           [stuck](const MailJob&, int /*cancelFd*/) { return stuck->Deliver(); });
        for (int i = 0; i < 6; ++i) {
            sender.Start(JobFor(1), [&seen](std::uint32_t id, std::string error) {
                seen.push_back({id, std::move(error)});
            });
        }
        EXPECT_EQ(sender.WaitingJobs(), 2u);
        queue.Drain();
        ASSERT_EQ(seen.size(), 3u);
        for (const auto& done : seen) {
            EXPECT_EQ(done.error, "Too many e-mails waiting to be sent: this one was dropped.");
        }
        stuck->WaitUntilEntered();
        stuck->Release();
    }
    queue.Drain();
    EXPECT_EQ(seen.size(), 6u);
}

TEST(SmtpSender, ClosingLeavesBehindAJobThatCannotBeInterrupted) {
    auto stuck = std::make_shared<StuckDelivery>();
    const std::weak_ptr<StuckDelivery> stuckAlive = stuck;
    platform::TaskQueue queue;
    std::vector<Completed> seen;
    {
        mail::MailSenderLimits limits;
        limits.closingWait = std::chrono::milliseconds(50);
        CMailSender sender(&queue, limits,
                           [stuck](const MailJob&, int /*cancelFd*/) { return stuck->Deliver(); });
        sender.Start(JobFor(1), [&seen](std::uint32_t id, std::string error) {
            seen.push_back({id, std::move(error)});
        });
        stuck->WaitUntilEntered();
    }
    // Closing came back while the job was stuck, and reported it itself.
    EXPECT_TRUE(stuck->StillStuck());
    queue.Drain();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].error, "Time out.");
    stuck->Release();
    stuck.reset();
    // The thread left behind ends by itself, touching nothing of the sender
    // that is gone, and reports nothing more.
    for (int i = 0; i < 1000 && !stuckAlive.expired(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(stuckAlive.expired());
    queue.Drain();
    EXPECT_EQ(seen.size(), 1u);
}
