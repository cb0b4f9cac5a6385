#pragma once
// The rule of the stop-updating notification, as kept in the store under the
// "Stop Updating" key: whether it is on, how many quiet seconds trigger it,
// which files it watches, who gets the e-mail and the daily span in which no
// e-mail goes out.

#include <cstdint>
#include <string>
#include <vector>

namespace settings {

struct StopUpdatingSettings {
    // Longest listed path read, in bytes with the terminator.
    static constexpr unsigned kMaxFileValueBytes = 520;

    bool enabled = false;
    // Quiet seconds before the e-mail; never below 1 once loaded.
    std::int32_t seconds = 60;
    // Every open file, or only the listed ones.
    bool allFiles = true;
    // Addresses separated by commas, as typed.
    std::u16string emails;
    bool dontSendEnabled = false;
    // Seconds after local midnight.
    std::uint32_t dontSendBegin = 0;
    std::uint32_t dontSendEnd = 0;
    // Full paths, compared exactly.
    std::vector<std::u16string> files;
    // The same notice as a desktop notification, and as a web hook post.
    bool desktopNotice = false;
    bool postWebHook = false;
    std::u16string webHookUrl;
    std::u16string webHookBody;

    bool operator==(const StopUpdatingSettings&) const = default;
};

// Missing values keep their defaults; a stored number of seconds of 0 or
// less loads as 1. The listed files end at the first value that is missing,
// empty or too long.
StopUpdatingSettings LoadStopUpdatingSettings();
// Replaces the whole key in one transaction, so that no stale numbered file
// survives. False when nothing was written.
bool SaveStopUpdatingSettings(const StopUpdatingSettings& settings);

}  // namespace settings
