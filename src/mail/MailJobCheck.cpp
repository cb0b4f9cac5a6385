#include "mail/MailJobCheck.h"

#include <string_view>

namespace mail {

namespace {

bool HasCommandBreak(std::string_view value) {
    return value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool AreLengthsWithinLimits(const MailJob& job) {
    return job.server.size() <= kMaxServerLength && job.mailFrom.size() <= kMaxAddressLength &&
           job.recipients.size() <= kMaxRecipientsLength &&
           (!job.requiresAuth || (job.accountName.size() <= kMaxAccountLength &&
                                  job.password.size() <= kMaxPasswordLength));
}

bool AreAddressesClean(const MailJob& job, const std::vector<std::string>& recipients) {
    if (HasCommandBreak(job.mailFrom)) return false;
    if (job.requiresAuth && HasCommandBreak(job.accountName)) return false;
    for (const auto& recipient : recipients) {
        if (HasCommandBreak(recipient) || recipient.size() > kMaxAddressLength) return false;
    }
    return true;
}

}  // namespace

bool IsMailJobValid(const MailJob& job, const std::vector<std::string>& recipients) {
    if (recipients.empty() || job.server.empty() || job.mailFrom.empty() ||
        job.recipients.empty() || job.message.empty()) {
        return false;
    }
    if (job.requiresAuth && job.accountName.empty()) return false;
    return AreLengthsWithinLimits(job) && AreAddressesClean(job, recipients);
}

}  // namespace mail
