#include "mail/StopUpdatingMail.h"

#include <array>

#include "mail/MailCompose.h"
#include "mail/MailDate.h"
#include "mail/MailTags.h"

namespace mail {

std::u16string_view QuietSinceWords(bool sinceLastUpdate) {
    return sinceLastUpdate ? u"last update" : u"file open";
}

namespace {

std::u16string DecimalText(std::int32_t number) {
    const std::string digits = std::to_string(number);
    return std::u16string(digits.begin(), digits.end());
}

}  // namespace

StopUpdatingTagValues::StopUpdatingTagValues(const StopUpdatingMailEvent& event)
    : seconds(DecimalText(event.seconds)),
      time(FormatTagTime(event.referenceTime)),
      tags{{
          {u"%f", event.path},
          {u"%s", seconds},
          {u"%c", QuietSinceWords(event.sinceLastUpdate)},
          {u"%t", time},
      }} {}

bool CanSendStopUpdatingMail(const MailSettings& settings, std::u16string_view emails) {
    if (emails.empty()) return false;
    if (settings.stopSubject.empty() && settings.stopBody.empty()) return false;
    return AreMailSettingsComplete(settings);
}

std::u16string ComposeStopUpdatingMessage(const MailSettings& settings,
                                          const StopUpdatingMailEvent& event,
                                          const platform::LocalTime& now) {
    const std::u16string date = FormatMailDate(now);
    const StopUpdatingTagValues values(event);
    const MailMessageParts parts{settings.mailFrom, event.emails, settings.stopSubject, date,
                                 settings.stopBody};
    return ComposeMessage(parts, values.tags);
}

std::optional<MailJob> ComposeStopUpdatingMail(const MailSettings& settings,
                                               const StopUpdatingMailEvent& event,
                                               const platform::LocalTime& now) {
    if (!CanSendStopUpdatingMail(settings, event.emails)) return std::nullopt;
    return MakeMailJob(settings, event.emails, ComposeStopUpdatingMessage(settings, event, now));
}

}  // namespace mail
