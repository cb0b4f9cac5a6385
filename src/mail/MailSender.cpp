#include "mail/MailSender.h"

#include <atomic>
#include <system_error>

#include "mail/SmtpErrors.h"
#include "mail/SmtpSession.h"
#include "mail/SplitRecipients.h"
#include "platform/CancelSignal.h"
#include "platform/DebugOutput.h"

namespace mail {

struct CMailSender::Worker {
    std::uint32_t jobId = 0;
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> finished = std::make_shared<std::atomic<bool>>(false);
};

namespace {

void WriteUnattendedFailure(const MailJob& job, const std::string& error) {
    // The two lines of one job stay together when several jobs fail at once.
    static std::mutex reporting;
    std::lock_guard lock(reporting);
    const std::string prefix(platform::kDebugPrefix);
    platform::OutputDebugStringA(prefix + "Failed to send email to " +
                                 FirstRecipientsPiece(job.recipients) + "\n");
    platform::OutputDebugStringA(prefix + "Error: " + error + "\n");
}

}  // namespace

std::string SendMail(const MailJob& job) {
    return DeliverMail(job, -1);
}

CMailSender::CMailSender(platform::IUiQueue* queue)
    : queue_(queue), closing_(std::make_unique<platform::CCancelSignal>()) {}

CMailSender::~CMailSender() {
    // Waiting jobs give up at once; a job never outlives its sender.
    closing_->Raise();
    std::lock_guard lock(mutex_);
    for (auto& worker : workers_) {
        if (worker.thread.joinable()) worker.thread.join();
    }
    workers_.clear();
}

std::uint32_t CMailSender::NextJobId() {
    if (++lastJobId_ == 0) ++lastJobId_;
    return lastJobId_;
}

void CMailSender::Report(std::uint32_t jobId, const MailJob& job, std::string error,
                         const MailCompletion& completion) {
    if (completion && queue_ != nullptr) {
        queue_->Post([completion, jobId, error = std::move(error)]() mutable {
            completion(jobId, std::move(error));
        });
        return;
    }
    if (!error.empty()) WriteUnattendedFailure(job, error);
}

void CMailSender::MailSendThread(std::uint32_t jobId, const MailJob& job,
                                 const MailCompletion& completion) {
    Report(jobId, job, DeliverMail(job, closing_->Fd()), completion);
}

void CMailSender::JoinFinishedWorkers() {
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (*it->finished) {
            if (it->thread.joinable()) it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}

std::size_t CMailSender::RunningJobs() {
    std::lock_guard lock(mutex_);
    JoinFinishedWorkers();
    return workers_.size();
}

std::uint32_t CMailSender::Start(MailJob job, MailCompletion completion) {
    std::lock_guard lock(mutex_);
    JoinFinishedWorkers();
    const std::uint32_t jobId = NextJobId();
    Worker& worker = workers_.emplace_back();
    worker.jobId = jobId;
    auto sharedJob = std::make_shared<const MailJob>(std::move(job));
    try {
        worker.thread =
            std::thread([this, jobId, sharedJob, completion, finished = worker.finished] {
                MailSendThread(jobId, *sharedJob, completion);
                *finished = true;
            });
    } catch (const std::system_error&) {
        // No thread could be made: the job fails like any other, reported once.
        workers_.pop_back();
        Report(jobId, *sharedJob, std::string(kErrorSendingFailure), completion);
    }
    return jobId;
}

}  // namespace mail
