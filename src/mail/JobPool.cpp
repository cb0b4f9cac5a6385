#include "mail/JobPool.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <vector>

#include "platform/DeadlineSignal.h"

namespace mail {

struct CJobPool::Job {
    std::uint32_t id = 0;
    JobWork work;
    JobCompletion completion;
    JobFailureReport report;
    std::optional<platform::CDeadlineSignal> signal;  // made when its work starts
    bool reported = false;
};

// What the threads and their owner share. The threads hold it (and their
// jobs) by shared_ptr, so a thread left behind at closing never touches
// freed memory; such a thread reports nothing, its owner has reported for it.
// Everything but the constants is guarded by the mutex.
struct CJobPool::Shared {
    Shared(platform::IUiQueue* queue, JobPoolLimits limits, JobPoolTexts texts)
        : queue(queue), limits(limits), texts(texts) {}

    // Reports the job's outcome once: posts its completion, or hands a
    // failure to its report.
    void Report(Job& job, std::string error);
    // Gives the job its deadline and counts it as running.
    void Begin(const std::shared_ptr<Job>& job);
    // Reports the job and gives the next one to run, or null when the thread
    // should end (it is then no longer counted).
    std::shared_ptr<Job> Finish(const std::shared_ptr<Job>& job, std::string error,
                                bool& threadEnded);
    // A thread: runs its first job, then waiting ones while there are any.
    void Run(std::shared_ptr<Job> job, const std::shared_ptr<bool>& threadEnded);

    std::mutex mutex;
    std::condition_variable threadGone;
    platform::IUiQueue* const queue;
    const JobPoolLimits limits;
    const JobPoolTexts texts;
    bool unattended = false;
    bool closing = false;
    std::size_t threads = 0;
    std::deque<std::shared_ptr<Job>> waiting;
    std::vector<std::shared_ptr<Job>> running;
};

void CJobPool::Shared::Report(Job& job, std::string error) {
    if (job.reported) return;
    job.reported = true;
    if (!error.empty() && job.report && (unattended || !job.completion || queue == nullptr)) {
        job.report(error);
    }
    if (job.completion && queue != nullptr) {
        queue->Post([completion = std::move(job.completion), id = job.id,
                     error = std::move(error)]() mutable { completion(id, std::move(error)); });
    }
    // A completion that cannot run is let go at once.
    job.completion = nullptr;
    job.work = nullptr;
}

void CJobPool::Shared::Begin(const std::shared_ptr<Job>& job) {
    job->signal.emplace(platform::CDeadlineSignal::Clock::now() + limits.jobDeadline);
    running.push_back(job);
}

std::shared_ptr<CJobPool::Job> CJobPool::Shared::Finish(const std::shared_ptr<Job>& job,
                                                        std::string error, bool& threadEnded) {
    // A job that ran out of time ends as a time-out, whatever wait it was in.
    if (!error.empty() && !closing && job->signal->DeadlinePassed()) {
        error = std::string(texts.timeOut);
    }
    Report(*job, std::move(error));
    std::erase(running, job);
    if (!closing && !waiting.empty()) {
        std::shared_ptr<Job> next = std::move(waiting.front());
        waiting.pop_front();
        Begin(next);
        return next;
    }
    --threads;
    threadEnded = true;
    threadGone.notify_all();
    return nullptr;
}

void CJobPool::Shared::Run(std::shared_ptr<Job> job, const std::shared_ptr<bool>& threadEnded) {
    while (job) {
        JobWork work;
        {
            std::lock_guard lock(mutex);
            work = std::move(job->work);
        }
        std::string error = work ? work(job->signal->Fd()) : std::string(texts.timeOut);
        std::lock_guard lock(mutex);
        job = Finish(job, std::move(error), *threadEnded);
    }
}

CJobPool::CJobPool(platform::IUiQueue* queue, JobPoolLimits limits, JobPoolTexts texts)
    : shared_(std::make_shared<Shared>(queue, limits, texts)) {}

CJobPool::~CJobPool() {
    {
        std::unique_lock lock(shared_->mutex);
        shared_->closing = true;
        const std::string timeOut(shared_->texts.timeOut);
        for (auto& job : shared_->waiting) shared_->Report(*job, timeOut);
        shared_->waiting.clear();
        // Every wait of a running job ends at once; only a name lookup goes on.
        for (auto& job : shared_->running) job->signal->Raise();
        shared_->threadGone.wait_for(lock, shared_->limits.closingWait,
                                     [this] { return shared_->threads == 0; });
        for (auto& job : shared_->running) shared_->Report(*job, timeOut);
    }
    JoinEndedWorkers();
    for (auto& worker : workers_) worker.thread.detach();
}

void CJobPool::SetUnattended(bool unattended) {
    std::lock_guard lock(shared_->mutex);
    shared_->unattended = unattended;
}

void CJobPool::JoinEndedWorkers() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        bool ended = false;
        {
            std::lock_guard lock(shared_->mutex);
            ended = *it->ended;
        }
        if (!ended) {
            ++it;
            continue;
        }
        // An ended thread has only its own references left to drop.
        it->thread.join();
        it = workers_.erase(it);
    }
}

std::size_t CJobPool::RunningJobs() {
    JoinEndedWorkers();
    return workers_.size();
}

std::size_t CJobPool::WaitingJobs() {
    std::lock_guard lock(shared_->mutex);
    return shared_->waiting.size();
}

bool CJobPool::StartThread(const std::shared_ptr<Job>& job) {
    Worker& worker = workers_.emplace_back();
    worker.ended = std::make_shared<bool>(false);
    try {
        worker.thread = std::thread([shared = shared_, job, ended = worker.ended]() mutable {
            shared->Run(std::move(job), ended);
        });
        return true;
    } catch (const std::system_error&) {
        workers_.pop_back();
        return false;
    }
}

std::uint32_t CJobPool::Start(JobWork work, JobCompletion completion, JobFailureReport report) {
    JoinEndedWorkers();
    if (++lastJobId_ == 0) ++lastJobId_;
    auto job = std::make_shared<Job>();
    job->id = lastJobId_;
    job->work = std::move(work);
    job->completion = std::move(completion);
    job->report = std::move(report);
    std::unique_lock lock(shared_->mutex);
    if (shared_->threads >= std::max<std::size_t>(1, shared_->limits.maxRunningJobs)) {
        if (shared_->waiting.size() >= shared_->limits.maxWaitingJobs) {
            shared_->Report(*job, std::string(shared_->texts.tooManyWaiting));
            return job->id;
        }
        // A busy thread takes it when its job ends.
        shared_->waiting.push_back(job);
        return job->id;
    }
    shared_->Begin(job);
    ++shared_->threads;
    lock.unlock();
    if (StartThread(job)) return job->id;

    lock.lock();
    std::erase(shared_->running, job);
    --shared_->threads;
    if (shared_->threads > 0) {
        shared_->waiting.push_back(job);
    } else {
        // No thread could be made: the job fails like any other, reported once.
        shared_->Report(*job, std::string(shared_->texts.cannotStart));
    }
    return job->id;
}

}  // namespace mail
