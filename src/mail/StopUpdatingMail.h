#pragma once
// The notification e-mail sent when a followed file has stopped updating.

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "mail/MailJob.h"
#include "mail/MailSettings.h"
#include "mail/MailTags.h"
#include "platform/IClock.h"

namespace mail {

struct StopUpdatingMailEvent {
    std::u16string_view path;
    // The recipients of stop-updating notifications, as typed.
    std::u16string_view emails;
    // Set: the quiet time counts from the last update; clear: from the opening.
    bool sinceLastUpdate = false;
    std::int32_t seconds = 0;
    // Local time of that update or opening.
    platform::LocalTime referenceTime;
};

// The words "%c" stands for.
std::u16string_view QuietSinceWords(bool sinceLastUpdate);

// The texts the tags of the stop-updating templates stand for, and the tags
// ("%f %s %c %t") referring to them and to the event.
struct StopUpdatingTagValues {
    explicit StopUpdatingTagValues(const StopUpdatingMailEvent& event);
    // The tags point into this object.
    StopUpdatingTagValues(const StopUpdatingTagValues&) = delete;
    StopUpdatingTagValues& operator=(const StopUpdatingTagValues&) = delete;
    std::u16string seconds;
    std::u16string time;
    std::array<MailTag, 4> tags;
};

// A quiet period in words, in the largest unit that divides it: "90
// seconds", "10 minutes", "1 hour".
std::u16string QuietPeriodWords(std::int32_t seconds);

// The desktop notice for a quiet file: "No new lines in app.log for 10
// minutes", the file by its name without the folder.
std::u16string StopUpdatingNoticeText(std::u16string_view path, std::int32_t seconds);

// Server, sender and recipients set, a subject or a body, and the account
// name when authentication is on.
bool CanSendStopUpdatingMail(const MailSettings& settings, std::u16string_view emails);

std::u16string ComposeStopUpdatingMessage(const MailSettings& settings,
                                          const StopUpdatingMailEvent& event,
                                          const platform::LocalTime& now);

// The job for the event, or nothing when the settings do not suffice.
std::optional<MailJob> ComposeStopUpdatingMail(const MailSettings& settings,
                                               const StopUpdatingMailEvent& event,
                                               const platform::LocalTime& now);

}  // namespace mail
