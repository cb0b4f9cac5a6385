#pragma once
// Runs notification jobs (e-mails, web hook posts) on a few worker threads
// and reports each outcome on the user-interface thread. Jobs beyond the
// threads at hand wait their turn, up to a bound; every job has an overall
// deadline, so a peer that never answers or answers a byte at a time holds a
// thread and a socket for a bounded time only.

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <thread>

#include "platform/IUiQueue.h"

namespace mail {

// Called on the user-interface thread (through IUiQueue) when a job ends:
// the job's identifier and the error text, empty on success.
using JobCompletion = std::function<void(std::uint32_t jobId, std::string error)>;

// The work of one job, on a worker thread: the error text, empty on success.
// cancelFd becoming readable (deadline or closing) ends its waits.
using JobWork = std::function<std::string(int cancelFd)>;

// Tells a failure nobody else will see (no completion, no queue, or an
// unattended program); called on a worker thread, one report at a time.
using JobFailureReport = std::function<void(const std::string& error)>;

struct JobPoolLimits {
    // Threads at once (each with one connection); later jobs wait their turn.
    std::size_t maxRunningJobs = 4;
    // Jobs waiting for a thread; one more ends at once as failed, so a burst
    // never queues without end.
    std::size_t maxWaitingJobs = 1000;
    // From the start of a job's work to its end as timed out.
    std::chrono::milliseconds jobDeadline = std::chrono::minutes(5);
    // How long closing waits for running jobs before leaving them behind.
    std::chrono::milliseconds closingWait = std::chrono::seconds(1);
};

// The texts a job ends with when the pool, not the work, ends it.
struct JobPoolTexts {
    std::string_view timeOut;
    std::string_view tooManyWaiting;
    std::string_view cannotStart;
};

class CJobPool {  // owns the worker threads
public:
    // A null queue runs no completions: every failure goes to its report.
    CJobPool(platform::IUiQueue* queue, JobPoolLimits limits, JobPoolTexts texts);
    // Ends the waits of running jobs at once, reports waiting jobs as timed
    // out and waits at most the closing wait for the threads. A thread that
    // has not ended by then (a name lookup cannot be interrupted) is left
    // behind: its job is reported as timed out and it reports nothing more.
    ~CJobPool();
    CJobPool(const CJobPool&) = delete;
    CJobPool& operator=(const CJobPool&) = delete;

    // Starts the job, or queues it while all threads are busy (or fails it
    // when the waiting list is full), and returns its identifier (never 0).
    std::uint32_t Start(JobWork work, JobCompletion completion, JobFailureReport report);

    // Nobody looks at completions (a headless program): failures are
    // reported as well.
    void SetUnattended(bool unattended);

    // Threads that have not ended yet, and jobs waiting for one.
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

}  // namespace mail
