#pragma once
// Tells on standard error what became of each notification e-mail and web
// hook post: sent, or failed with the reason.

#include <cstddef>
#include <cstdio>
#include <string>

#include "mail/NotificationRecords.h"

namespace tail {

// The highlight actions' e-mails and posts, from their records. Nobody clears the
// records here, so those told are let go beyond the newest kKeptRecords.
class CMailReport {
public:
    static constexpr std::size_t kKeptRecords = 2000;

    CMailReport(mail::CNotificationRecords& records, std::FILE* out)
        : records_(records), out_(out) {}

    // Writes a line for every e-mail or post whose outcome arrived since the last call.
    void ReportNew();

private:
    void ReportPost(const mail::NotificationRecord& record, const std::string& host,
                    const std::string& phrase);

    mail::CNotificationRecords& records_;
    std::FILE* out_;
    std::size_t reported_ = 0;
};

// A stop-updating e-mail keeps no record: its outcome is told as it arrives.
void TellStopMailOutcome(const std::u16string& path, const std::u16string& emails,
                         std::string error);
// Nor does a stop-updating post.
void TellStopPostOutcome(const std::u16string& path, const std::string& host, std::string error);

}  // namespace tail
