#pragma once
// Everything the running application keeps for notification e-mails: the
// settings (read on first use), the sender with its threads, the records of
// highlight notifications, the notifier that ties them together and the
// stop-updating notification. Owned by the application object; used on the
// user-interface thread. The e-mail action of highlight filters reaches it
// as their mail port.

#include <optional>
#include <string_view>

#include "filters/IHighlightMail.h"
#include "mail/MailNotifier.h"
#include "mail/MailSender.h"
#include "mail/MailSettings.h"
#include "mail/NotificationRecords.h"
#include "mail/StopUpdatingWatch.h"
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
    // Declared in this order so that the sender, which ends its threads, goes
    // before the records its completions refer to.
    const platform::IClock& clock_;
    std::optional<MailSettings> settings_;
    CNotificationRecords records_;
    CMailSender sender_;
    CMailNotifier notifier_;
    CStopUpdatingWatch stopUpdating_;
};

}  // namespace mail
