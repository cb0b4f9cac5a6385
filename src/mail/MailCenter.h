#pragma once
// Everything the running application keeps for notification e-mails: the
// settings (read on first use), the sender with its threads, the records of
// highlight notifications, the notifier that ties them together and the
// stop-updating notification, and beside them the web hook poster, whose
// highlight posts share the records. Owned by the application object; used
// on the user-interface thread. The e-mail action of highlight filters
// reaches it as their mail port, the web hook action through WebHooks().

#include <optional>
#include <string_view>

#include "filters/IHighlightMail.h"
#include "mail/MailNotifier.h"
#include "mail/MailSender.h"
#include "mail/MailSettings.h"
#include "mail/NotificationRecords.h"
#include "mail/StopUpdatingWatch.h"
#include "mail/WebHookNotifier.h"
#include "mail/WebHookPoster.h"
#include "platform/IClock.h"
#include "platform/IUiQueue.h"

namespace mail {

class CMailCenter final : public filters::IHighlightMail {
public:
    // Without a queue (a headless program) job outcomes go to the debug output.
    CMailCenter(platform::IUiQueue* queue, const platform::IClock& clock);
    CMailCenter(const CMailCenter&) = delete;
    CMailCenter& operator=(const CMailCenter&) = delete;

    CMailNotifier& Notifier() { return notifier_; }
    CMailSender& Sender() { return sender_; }
    CWebHookPoster& Poster() { return poster_; }
    CWebHookNotifier& WebHooks() { return webHooks_; }
    CNotificationRecords& Records() { return records_; }
    CStopUpdatingWatch& StopUpdating() { return stopUpdating_; }
    const CStopUpdatingWatch& StopUpdating() const { return stopUpdating_; }
    const CNotificationRecords& Records() const { return records_; }
    // The settings as loaded so far (empty until the first notification or edit).
    std::optional<MailSettings>& Settings() { return settings_; }
    // The time the notifications and the sample e-mail are dated with.
    const platform::IClock& Clock() const { return clock_; }

    // Composes, starts and records the notification of a matched line.
    void SendHighlightMail(std::u16string_view logName, std::u16string_view line,
                           std::optional<std::u16string_view> previousLines,
                           const filters::HighlightFilter& filter,
                           filters::DocumentRef document) override;

private:
    // Declared in this order so that the sender and the poster, which end
    // their threads, go before the records their completions refer to.
    const platform::IClock& clock_;
    std::optional<MailSettings> settings_;
    CNotificationRecords records_;
    CMailSender sender_;
    CWebHookPoster poster_;
    CMailNotifier notifier_;
    CWebHookNotifier webHooks_;
    CStopUpdatingWatch stopUpdating_;
};

}  // namespace mail
