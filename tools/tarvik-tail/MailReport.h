#pragma once
// Tells on standard error what became of each notification e-mail: sent, or
// failed with the reason.

#include <cstddef>
#include <cstdio>
#include <string>

#include "mail/NotificationRecords.h"

namespace tail {

// The highlight actions' e-mails, from their records. Nobody clears the
// records here, so those told are let go beyond the newest kKeptRecords.
class CMailReport {
public:
    static constexpr std::size_t kKeptRecords = 2000;

    CMailReport(mail::CNotificationRecords& records, std::FILE* out)
        : records_(records), out_(out) {}

    // Writes a line for every e-mail whose outcome arrived since the last call.
    void ReportNew();

private:
    mail::CNotificationRecords& records_;
    std::FILE* out_;
    std::size_t reported_ = 0;
};

// A stop-updating e-mail keeps no record: its outcome is told as it arrives.
void TellStopMailOutcome(const std::u16string& path, const std::u16string& emails,
                         std::string error);

}  // namespace tail
