#include "MailReport.h"

#include <string>

#include "platform/CodePage.h"

namespace tail {

void CMailReport::ReportPost(const mail::NotificationRecord& record, const std::string& host,
                             const std::string& phrase) {
    if (record.state == mail::NotificationState::Success) {
        std::fprintf(out_, "tarvik-tail: web hook post to %s (\"%s\") done\n", host.c_str(),
                     phrase.c_str());
    } else {
        std::fprintf(out_, "tarvik-tail: web hook post to %s (\"%s\") failed: %s\n", host.c_str(),
                     phrase.c_str(), platform::Utf16ToUtf8(record.errorMessage).c_str());
    }
}

void CMailReport::ReportNew() {
    const auto& sent = records_.Sent();
    if (sent.size() < reported_) reported_ = 0;
    for (; reported_ < sent.size(); ++reported_) {
        const mail::NotificationRecord& record = sent[reported_];
        const std::string to = platform::Utf16ToUtf8(record.emails);
        const std::string phrase = platform::Utf16ToUtf8(record.filterText);
        if (record.channel == mail::NotificationChannel::WebHook) {
            ReportPost(record, to, phrase);
        } else if (record.state == mail::NotificationState::Success) {
            std::fprintf(out_, "tarvik-tail: e-mail sent to %s (\"%s\")\n", to.c_str(),
                         phrase.c_str());
        } else {
            std::fprintf(out_, "tarvik-tail: e-mail to %s (\"%s\") failed: %s\n", to.c_str(),
                         phrase.c_str(), platform::Utf16ToUtf8(record.errorMessage).c_str());
        }
    }
    std::fflush(out_);
    records_.PruneSent(kKeptRecords);
    reported_ = sent.size();
}

void TellStopMailOutcome(const std::u16string& path, const std::u16string& emails,
                         std::string error) {
    const std::string file = platform::Utf16ToUtf8(path);
    const std::string to = platform::Utf16ToUtf8(emails);
    if (error.empty()) {
        std::fprintf(stderr, "tarvik-tail: stop-updating e-mail for %s sent to %s\n", file.c_str(),
                     to.c_str());
    } else {
        std::fprintf(stderr, "tarvik-tail: stop-updating e-mail for %s to %s failed: %s\n",
                     file.c_str(), to.c_str(), error.c_str());
    }
}

}  // namespace tail

namespace tail {

void TellStopPostOutcome(const std::u16string& path, const std::string& host, std::string error) {
    const std::string file = platform::Utf16ToUtf8(path);
    if (error.empty()) {
        std::fprintf(stderr, "tarvik-tail: stop-updating post for %s to %s done\n", file.c_str(),
                     host.c_str());
    } else {
        std::fprintf(stderr, "tarvik-tail: stop-updating post for %s to %s failed: %s\n",
                     file.c_str(), host.c_str(), error.c_str());
    }
}

}  // namespace tail
