#pragma once
// Delivers mail jobs on short-lived worker threads and reports each outcome on
// the user-interface thread.

#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "mail/MailJob.h"
#include "platform/IUiQueue.h"

namespace platform {
class CCancelSignal;
}

namespace mail {

// Called on the user-interface thread (through IUiQueue) when a job ends:
// the job's identifier and the error text, empty when the message was delivered.
using MailCompletion = std::function<void(std::uint32_t jobId, std::string error)>;

class CMailSender {  // owns the send threads
public:
    explicit CMailSender(platform::IUiQueue* queue);  // null queue: headless
    ~CMailSender();  // waits for running jobs (bounded by their timeouts)
    CMailSender(const CMailSender&) = delete;
    CMailSender& operator=(const CMailSender&) = delete;

    // Starts one send thread for the job and returns its identifier (never 0).
    // Without a completion (or without a queue) a failure is written to the debug
    // output with the prefix "[Ostra Tarvik]: " instead.
    std::uint32_t Start(MailJob job, MailCompletion completion = {});

    // Number of send threads that have not ended yet.
    std::size_t RunningJobs();

private:
    struct Worker;

    std::uint32_t NextJobId();
    void MailSendThread(std::uint32_t jobId, const MailJob& job, const MailCompletion& completion);
    void Report(std::uint32_t jobId, const MailJob& job, std::string error,
                const MailCompletion& completion);
    void JoinFinishedWorkers();

    platform::IUiQueue* queue_;
    std::unique_ptr<platform::CCancelSignal> closing_;
    std::mutex mutex_;
    std::list<Worker> workers_;
    std::uint32_t lastJobId_ = 0;
};

// The conversation itself, synchronous (used by the thread; tests call it directly):
// the error text, empty when the message was delivered.
std::string SendMail(const MailJob& job);

}  // namespace mail
