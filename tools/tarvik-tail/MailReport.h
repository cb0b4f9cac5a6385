#pragma once
// Tells on standard error what became of each notification e-mail of the
// highlight actions: sent, or failed with the reason.

#include <cstddef>
#include <cstdio>

#include "mail/NotificationRecords.h"

namespace tail {

class CMailReport {
public:
    CMailReport(const mail::CNotificationRecords& records, std::FILE* out)
        : records_(records), out_(out) {}

    // Writes a line for every e-mail whose outcome arrived since the last call.
    void ReportNew();

private:
    const mail::CNotificationRecords& records_;
    std::FILE* out_;
    std::size_t reported_ = 0;
};

}  // namespace tail
