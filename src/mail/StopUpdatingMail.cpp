#include "mail/StopUpdatingMail.h"

#include <array>

#include "mail/MailCompose.h"
#include "mail/MailDate.h"
#include "mail/MailTags.h"

namespace mail {

std::u16string_view QuietSinceWords(bool sinceLastUpdate) {
    return sinceLastUpdate ? u"last update" : u"file open";
}

bool CanSendStopUpdatingMail(const MailSettings& settings, std::u16string_view emails) {
    if (emails.empty()) return false;
    if (settings.stopSubject.empty() && settings.stopBody.empty()) return false;
    return AreMailSettingsComplete(settings);
}

std::u16string ComposeStopUpdatingMessage(const MailSettings& settings,
                                          const StopUpdatingMailEvent& event,
                                          const platform::LocalTime& now) {
    const std::u16string date = FormatMailDate(now);
    const std::string seconds = std::to_string(event.seconds);
    const std::u16string secondsText(seconds.begin(), seconds.end());
    const std::u16string time = FormatTagTime(event.referenceTime);
    const std::array<MailTag, 4> tags = {{
        {u"%f", event.path},
        {u"%s", secondsText},
        {u"%c", QuietSinceWords(event.sinceLastUpdate)},
        {u"%t", time},
    }};
    const MailMessageParts parts{settings.mailFrom, event.emails, settings.stopSubject, date,
                                 settings.stopBody};
    return ComposeMessage(parts, tags);
}

std::optional<MailJob> ComposeStopUpdatingMail(const MailSettings& settings,
                                               const StopUpdatingMailEvent& event,
                                               const platform::LocalTime& now) {
    if (!CanSendStopUpdatingMail(settings, event.emails)) return std::nullopt;
    return MakeMailJob(settings, event.emails, ComposeStopUpdatingMessage(settings, event, now));
}

}  // namespace mail
