#include "mail/StopUpdatingMail.h"

#include <array>
#include <string>

#include "mail/MailCompose.h"
#include "mail/MailDate.h"
#include "mail/MailTags.h"
#include "platform/NormalPath.h"

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

std::u16string QuietPeriodWords(std::int32_t seconds) {
    std::int32_t count = seconds;
    std::string_view unit = "second";
    if (seconds > 0 && seconds % 3600 == 0) {
        count = seconds / 3600;
        unit = "hour";
    } else if (seconds > 0 && seconds % 60 == 0) {
        count = seconds / 60;
        unit = "minute";
    }
    std::string words = std::to_string(count) + ' ' + std::string(unit);
    if (count != 1) words += 's';
    return std::u16string(words.begin(), words.end());
}

std::u16string StopUpdatingNoticeText(std::u16string_view path, std::int32_t seconds) {
    return u"No new lines in " + std::u16string(platform::ShortName(path)) + u" for " +
           QuietPeriodWords(seconds);
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
