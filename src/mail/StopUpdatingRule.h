#pragma once
// The decisions of the stop-updating notification, without I/O: which files
// it watches, and whether a quiet file gets its e-mail now.

#include <cstdint>
#include <string_view>

#include "settings/StopUpdatingSettings.h"

namespace mail {

inline constexpr int kSecondsPerDay = 24 * 60 * 60;

// On, with seconds and somewhere for the notice to go (recipients, a web
// hook URL to post to, or the desktop), and either every file or this exact
// path (letter case counts).
bool StopUpdatingApplies(const settings::StopUpdatingSettings& settings, std::u16string_view path);

// Whether the daily do-not-send span holds secondOfDay (local time). The span
// runs from its begin to the quiet seconds after its end, compared within the
// day; a begin equal to the end holds every moment.
bool InDontSendSpan(const settings::StopUpdatingSettings& settings, std::int64_t secondOfDay);

enum class StopUpdatingDecision {
    // Not quiet long enough yet.
    Wait,
    // Quiet long enough, but in the do-not-send span: asked again next poll.
    Suppressed,
    Send,
};

// now and referenceTime in seconds since 1970 (UTC); secondOfDay is now's
// local time of day.
StopUpdatingDecision DecideStopUpdating(const settings::StopUpdatingSettings& settings,
                                        std::int64_t now, std::int64_t referenceTime,
                                        std::int64_t secondOfDay);

}  // namespace mail
