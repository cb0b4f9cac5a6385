#pragma once
// Delivers mail jobs on a few worker threads and reports each outcome on the
// user-interface thread. Jobs beyond the threads at hand wait their turn;
// every job has an overall deadline, so a relay that never answers or
// answers a byte at a time holds a thread and a socket for minutes, not hours.

#include <cstdint>
#include <functional>
#include <string>

#include "mail/JobPool.h"
#include "mail/MailJob.h"
#include "platform/IUiQueue.h"

namespace mail {

// Called on the user-interface thread (through IUiQueue) when a job ends:
// the job's identifier and the error text, empty when the message was delivered.
using MailCompletion = JobCompletion;

// The conversation of one job: the error text, empty on delivery. cancelFd
// becoming readable ends its waits. Called on send threads, several at once;
// the sender's own is DeliverMail.
using MailDelivery = std::function<std::string(const MailJob& job, int cancelFd)>;

// Send threads at once, waiting jobs, and the deadline of one job (five minutes).
using MailSenderLimits = JobPoolLimits;

class CMailSender {  // owns the send threads
public:
    // A null queue runs no completions: every failure goes to the debug output.
    explicit CMailSender(platform::IUiQueue* queue, MailSenderLimits limits = {},
                         MailDelivery delivery = {});
    // Ends the waits of running jobs at once, reports waiting jobs as "Time
    // out." and waits at most the closing wait for the threads (see CJobPool).
    ~CMailSender() = default;
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
    void SetUnattended(bool unattended) { pool_.SetUnattended(unattended); }

    // Send threads that have not ended yet, and jobs waiting for one.
    std::size_t RunningJobs() { return pool_.RunningJobs(); }
    std::size_t WaitingJobs() { return pool_.WaitingJobs(); }

private:
    const MailDelivery delivery_;
    CJobPool pool_;
};

// The conversation itself, synchronous (used by the threads; tests call it directly):
// the error text, empty when the message was delivered.
std::string SendMail(const MailJob& job);

}  // namespace mail
