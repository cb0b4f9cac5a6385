#include "mail/WebHookPoster.h"

#include <chrono>
#include <mutex>

#include "mail/SmtpErrors.h"
#include "mail/WebHookTransport.h"
#include "platform/DebugOutput.h"

namespace mail {

namespace {

void WriteUnattendedFailure(const std::string& host, const std::string& error) {
    // The two lines of one post stay together when several posts fail at once.
    static std::mutex reporting;
    std::lock_guard lock(reporting);
    const std::string prefix(platform::kDebugPrefix);
    platform::OutputDebugStringA(prefix + "Failed to post to web hook at " + host + "\n");
    platform::OutputDebugStringA(prefix + "Error: " + error + "\n");
}

constexpr JobPoolTexts kPostTexts{kErrorTimeOut, kErrorTooManyPostsWaiting, kErrorSendingFailure};

}  // namespace

JobPoolLimits DefaultWebHookLimits() {
    JobPoolLimits limits;
    limits.maxRunningJobs = 4;
    limits.maxWaitingJobs = 1000;
    limits.jobDeadline = std::chrono::seconds(10);
    return limits;
}

CWebHookPoster::CWebHookPoster(platform::IUiQueue* queue, JobPoolLimits limits,
                               WebHookDelivery delivery)
    : delivery_(delivery ? std::move(delivery)
                         : WebHookDelivery([timeout = limits.jobDeadline](const WebHookPost& post,
                                                                          int cancelFd) {
                               return SendWebHookPost(post, cancelFd, timeout);
                           })),
      pool_(queue, limits, kPostTexts) {}

std::uint32_t CWebHookPoster::Start(WebHookPost post, JobCompletion completion) {
    std::string host = post.host;
    JobWork work = [delivery = delivery_, post = std::move(post)](int cancelFd) {
        return delivery(post, cancelFd);
    };
    return pool_.Start(std::move(work), std::move(completion),
                       [host = std::move(host)](const std::string& error) {
                           WriteUnattendedFailure(host, error);
                       });
}

}  // namespace mail
