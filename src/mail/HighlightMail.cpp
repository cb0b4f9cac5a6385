#include "mail/HighlightMail.h"

#include <array>

#include "mail/MailCompose.h"
#include "mail/MailDate.h"
#include "mail/MailTags.h"

namespace mail {

std::array<MailTag, 5> HighlightTags(const HighlightMailEvent& event, std::u16string_view time) {
    // Nothing of the log (the path, the line, the lines before it) is
    // looked at for tags: a "%p" in a line stays as it is.
    return {{
        {u"%f", event.logName},
        {u"%h", event.phrase},
        {u"%t", time},
        {u"%n", event.line},
        {u"%p", event.previousLines.value_or(kNoPreviousLines)},
    }};
}

bool CanSendHighlightMail(const MailSettings& settings) {
    if (settings.highlightSubject.empty() && settings.highlightBody.empty()) return false;
    return AreMailSettingsComplete(settings);
}

std::u16string ComposeHighlightMessage(const MailSettings& settings,
                                       const HighlightMailEvent& event,
                                       const platform::LocalTime& now) {
    const std::u16string time = FormatTagTime(now);
    const std::u16string date = FormatMailDate(now);
    const std::array<MailTag, 5> tags = HighlightTags(event, time);
    const MailMessageParts parts{settings.mailFrom, event.emails, settings.highlightSubject, date,
                                 settings.highlightBody};
    return ComposeMessage(parts, tags);
}

std::optional<MailJob> ComposeHighlightMail(const MailSettings& settings,
                                            const HighlightMailEvent& event,
                                            const platform::LocalTime& now) {
    if (!CanSendHighlightMail(settings)) return std::nullopt;
    return MakeMailJob(settings, event.emails, ComposeHighlightMessage(settings, event, now));
}

HighlightMailEvent HighlightEventOf(std::u16string_view logName, std::u16string_view line,
                                    std::optional<std::u16string_view> previousLines,
                                    const filters::HighlightFilter& filter,
                                    filters::DocumentRef document) {
    HighlightMailEvent event;
    event.logName = logName;
    event.line = line;
    event.previousLines = previousLines;
    event.phrase = filter.phrase.text;
    event.emails = filter.Emails;
    event.requiresConfirmation = filter.SendFirstOccured;
    event.document = document;
    return event;
}

}  // namespace mail
