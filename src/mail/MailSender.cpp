#include "mail/MailSender.h"

#include <mutex>

#include "mail/SmtpErrors.h"
#include "mail/SmtpSession.h"
#include "mail/SplitRecipients.h"
#include "platform/DebugOutput.h"

namespace mail {

namespace {

void WriteUnattendedFailure(const std::string& recipients, const std::string& error) {
    // The two lines of one job stay together when several jobs fail at once.
    static std::mutex reporting;
    std::lock_guard lock(reporting);
    const std::string prefix(platform::kDebugPrefix);
    platform::OutputDebugStringA(prefix + "Failed to send email to " +
                                 FirstRecipientsPiece(recipients) + "\n");
    platform::OutputDebugStringA(prefix + "Error: " + error + "\n");
}

constexpr JobPoolTexts kMailTexts{kErrorTimeOut, kErrorTooManyWaiting, kErrorSendingFailure};

}  // namespace

std::string SendMail(const MailJob& job) {
    return DeliverMail(job, -1);
}

CMailSender::CMailSender(platform::IUiQueue* queue, MailSenderLimits limits, MailDelivery delivery)
    : delivery_(delivery ? std::move(delivery) : MailDelivery(DeliverMail)),
      pool_(queue, limits, kMailTexts) {}

std::uint32_t CMailSender::Start(MailJob job, MailCompletion completion) {
    std::string recipients = job.recipients;
    JobWork work = [delivery = delivery_, job = std::move(job)](int cancelFd) {
        return delivery(job, cancelFd);
    };
    return pool_.Start(std::move(work), std::move(completion),
                       [recipients = std::move(recipients)](const std::string& error) {
                           WriteUnattendedFailure(recipients, error);
                       });
}

}  // namespace mail
