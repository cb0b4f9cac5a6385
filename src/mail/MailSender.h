#pragma once
// Delivers mail jobs on a few worker threads and reports each outcome on the
// user-interface thread. Jobs beyond the threads at hand wait their turn;
// every job has an overall deadline, so a relay that never answers or
// answers a byte at a time holds a thread and a socket for minutes, not hours.

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <thread>

#include "mail/MailJob.h"
#include "platform/IUiQueue.h"

namespace mail {

// Called on the user-interface thread (through IUiQueue) when a job ends:
// the job's identifier and the error text, empty when the message was delivered.
using MailCompletion = std::function<void(std::uint32_t jobId, std::string error)>;

// The conversation of one job: the error text, empty on delivery. cancelFd
// becoming readable ends its waits. Called on send threads, several at once;
// the sender's own is DeliverMail.
using MailDelivery = std::function<std::string(const MailJob& job, int cancelFd)>;

struct MailSenderLimits {
    // Send threads at once (each with one socket); later jobs wait their turn.
    std::size_t maxRunningJobs = 4;
    // Jobs waiting for a thread; one more ends at once as failed, with the
    // reason kErrorTooManyWaiting, so a burst never queues without end.
    std::size_t maxWaitingJobs = 1000;
    // From the start of a job's conversation to its end as "Time out.".
    std::chrono::milliseconds jobDeadline = std::chrono::minutes(5);
    // How long closing waits for running jobs before leaving them behind.
    std::chrono::milliseconds closingWait = std::chrono::seconds(1);
};

class CMailSender {  // owns the send threads
public:
    // A null queue runs no completions: every failure goes to the debug output.
    explicit CMailSender(platform::IUiQueue* queue, MailSenderLimits limits = {},
                         MailDelivery delivery = {});
    // Ends the waits of running jobs at once, reports waiting jobs as "Time
    // out." and waits at most the closing wait for the threads. A thread that
    // has not ended by then (a name lookup cannot be interrupted) is left
    // behind: its job is reported as "Time out." and it reports nothing more.
    ~CMailSender();
    CMailSender(const CMailSender&) = delete;
    CMailSender& operator=(const CMailSender&) = delete;

    // Starts the job, or queues it while all send threads are busy (or
    // fails it when the waiting list is full), and returns its identifier
    // (never 0). Without a completion (or without a
    // queue) a failure is written to the debug output with the prefix
    // "[Ostra Tarvik]: " instead.
    std::uint32_t Start(MailJob job, MailCompletion completion = {});

    // Nobody looks at completions (a headless program): failures go to the
    // debug output as well.
    void SetUnattended(bool unattended);

    // Send threads that have not ended yet, and jobs waiting for one.
    std::size_t RunningJobs();
    std::size_t WaitingJobs();

private:
    struct Job;
    struct Shared;
    struct Worker {
        std::thread thread;
        std::shared_ptr<bool> ended;  // guarded by the shared mutex
    };

    bool StartThread(const std::shared_ptr<Job>& job);
    void JoinEndedWorkers();

    std::shared_ptr<Shared> shared_;
    std::list<Worker> workers_;
    std::uint32_t lastJobId_ = 0;
};

// The conversation itself, synchronous (used by the threads; tests call it directly):
// the error text, empty when the message was delivered.
std::string SendMail(const MailJob& job);

}  // namespace mail
