#include "mail/MailNotifier.h"

#include <string>
#include <utility>

#include "mail/MailDate.h"
#include "mail/StopUpdatingMail.h"
#include "platform/CodePage.h"
#include "platform/DebugOutput.h"

namespace mail {

namespace {

NotificationRecord MakeRecord(const HighlightMailEvent& event, const platform::LocalTime& now) {
    NotificationRecord record;
    record.requiresConfirmation = event.requiresConfirmation;
    record.document = event.document;
    record.time = now;
    record.filterText = event.phrase;
    record.logFile = event.logName;
    record.emails = event.emails;
    return record;
}

void ReportUnsentStopMail(std::u16string_view emails) {
    const std::string prefix(platform::kDebugPrefix);
    platform::OutputDebugStringA(prefix + "Failed to send email to " +
                                 platform::Utf16ToUtf8(emails) + "\n");
    platform::OutputDebugStringA(prefix + "Error: " + platform::Utf16ToUtf8(kMissingSettingsError) +
                                 "\n");
}

}  // namespace

CMailNotifier::CMailNotifier(std::optional<MailSettings>& settings, CMailSender& sender,
                             CNotificationRecords& records, const platform::IClock& clock)
    : settings_(settings), sender_(sender), records_(records), clock_(clock) {}

const MailSettings& CMailNotifier::Settings() {
    if (!settings_) settings_ = LoadMailSettings();
    return *settings_;
}

bool CMailNotifier::AreMailSettingsComplete() const {
    return mail::AreMailSettingsComplete(settings_);
}

std::uint64_t CMailNotifier::SendHighlightMail(const HighlightMailEvent& event) {
    const MailSettings& settings = Settings();
    const platform::LocalTime now = clock_.Local();
    NotificationRecord record = MakeRecord(event, now);
    std::optional<MailJob> job = ComposeHighlightMail(settings, event, now);
    if (!job) {
        record.state = NotificationState::Failure;
        record.errorMessage = kMissingSettingsError;
        return records_.AddNotificationRecord(std::move(record));
    }
    // The completion runs later on this same thread, so the record is in the
    // sending list before its outcome can arrive.
    record.threadId = sender_.Start(std::move(*job),
                                    [&records = records_](std::uint32_t jobId, std::string error) {
                                        records.OnMailSent(jobId, error);
                                    });
    return records_.AddNotificationRecord(std::move(record));
}

std::uint64_t CMailNotifier::SendHighlightMail(std::u16string_view logName,
                                               std::u16string_view line,
                                               std::optional<std::u16string_view> previousLines,
                                               const filters::HighlightFilter& filter,
                                               filters::DocumentRef document) {
    return SendHighlightMail(HighlightEventOf(logName, line, previousLines, filter, document));
}

bool CMailNotifier::SendStopUpdatingMail(std::u16string_view path, std::u16string_view emails,
                                         std::int32_t seconds, bool sinceLastUpdate,
                                         std::int64_t referenceTime) {
    const MailSettings& settings = Settings();
    StopUpdatingMailEvent event;
    event.path = path;
    event.emails = emails;
    event.seconds = seconds;
    event.sinceLastUpdate = sinceLastUpdate;
    event.referenceTime = LocalTimeAt(referenceTime);
    std::optional<MailJob> job = ComposeStopUpdatingMail(settings, event, clock_.Local());
    if (!job) {
        ReportUnsentStopMail(emails);
        if (stopMailOutcome_) {
            stopMailOutcome_(std::u16string(path), std::u16string(emails),
                             platform::Utf16ToUtf8(kMissingSettingsError));
        }
        return false;
    }
    MailCompletion completion;
    if (stopMailOutcome_) {
        completion = [outcome = stopMailOutcome_, path = std::u16string(path),
                      emails = std::u16string(emails)](std::uint32_t, std::string error) {
            outcome(path, emails, std::move(error));
        };
    }
    sender_.Start(std::move(*job), std::move(completion));
    return true;
}

}  // namespace mail
