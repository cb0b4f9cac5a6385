#pragma once
// The notification e-mail of a highlight filter whose phrase occurred in new
// text of a document.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "filters/HighlightDocumentRef.h"
#include "filters/HighlightFilter.h"
#include "mail/MailJob.h"
#include "mail/MailSettings.h"
#include "mail/MailTags.h"
#include "platform/IClock.h"

namespace mail {

// What the highlight action hands over for one matched line.
struct HighlightMailEvent {
    // The document's path, or the title of the debug-output capture.
    std::u16string_view logName;
    std::u16string_view line;
    // Each previous line followed by CR LF; none at all gives "N/A".
    std::optional<std::u16string_view> previousLines;
    // The filter's phrase and its e-mail list exactly as typed.
    std::u16string_view phrase;
    std::u16string_view emails;
    // Copied from the filter's SendFirstOccured into the record.
    bool requiresConfirmation = false;
    filters::DocumentRef document = nullptr;
};

// The event of filter's phrase in line of the log named logName; it refers
// to the texts and the filter.
HighlightMailEvent HighlightEventOf(std::u16string_view logName, std::u16string_view line,
                                    std::optional<std::u16string_view> previousLines,
                                    const filters::HighlightFilter& filter,
                                    filters::DocumentRef document);

inline constexpr std::u16string_view kMissingSettingsError = u"Miss email settings.";
inline constexpr std::u16string_view kNoPreviousLines = u"N/A";

// The tags of the highlight templates ("%f %h %t %n %p") for an event, the
// time already formatted for "%t"; they refer to the event and the time.
std::array<MailTag, 5> HighlightTags(const HighlightMailEvent& event, std::u16string_view time);

// The settings suffice for a highlight notification: server and sender set,
// a subject or a body, and the account name when authentication is on.
bool CanSendHighlightMail(const MailSettings& settings);

// The message composed from the highlight templates for an event at time now.
std::u16string ComposeHighlightMessage(const MailSettings& settings,
                                       const HighlightMailEvent& event,
                                       const platform::LocalTime& now);

// The job for the event, or nothing when the settings do not suffice.
std::optional<MailJob> ComposeHighlightMail(const MailSettings& settings,
                                            const HighlightMailEvent& event,
                                            const platform::LocalTime& now);

}  // namespace mail
