#include "mail/StopUpdatingRule.h"

#include <algorithm>

namespace mail {

bool StopUpdatingApplies(const settings::StopUpdatingSettings& settings, std::u16string_view path) {
    const bool posts = settings.postWebHook && !settings.webHookUrl.empty();
    if (!settings.enabled || settings.seconds <= 0) return false;
    if (settings.emails.empty() && !posts && !settings.desktopNotice) return false;
    if (settings.allFiles) return true;
    return std::find(settings.files.begin(), settings.files.end(), path) != settings.files.end();
}

bool InDontSendSpan(const settings::StopUpdatingSettings& settings, std::int64_t secondOfDay) {
    if (!settings.dontSendEnabled) return false;
    const std::int64_t begin = settings.dontSendBegin;
    const std::int64_t endPlusQuiet = std::int64_t{settings.dontSendEnd} + settings.seconds;
    if (settings.dontSendEnd > settings.dontSendBegin) {
        return begin <= secondOfDay && secondOfDay <= endPlusQuiet;
    }
    // Across midnight; the end plus the quiet seconds is not carried into
    // the next day.
    return secondOfDay <= endPlusQuiet || secondOfDay >= begin;
}

StopUpdatingDecision DecideStopUpdating(const settings::StopUpdatingSettings& settings,
                                        std::int64_t now, std::int64_t referenceTime,
                                        std::int64_t secondOfDay) {
    if (now - referenceTime < settings.seconds) return StopUpdatingDecision::Wait;
    if (InDontSendSpan(settings, secondOfDay)) return StopUpdatingDecision::Suppressed;
    return StopUpdatingDecision::Send;
}

}  // namespace mail
