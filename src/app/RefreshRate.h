#pragma once
// The value of the "Set Refresh Rate" dialog: the period of the monitoring
// timer in milliseconds.

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string_view>

namespace app {

inline constexpr std::u16string_view kRefreshRateRefused = u"Please enter a positive value.";
// The dialog's spin control offers 1 to this; larger typed values are taken
// as long as a timer can run with them.
inline constexpr std::uint32_t kRefreshRateSpinMax = 32767;
inline constexpr std::uint32_t kRefreshRateMax = 0x7FFFFFFF;

// The period the monitoring timer runs with: within sane bounds whatever the
// store holds. The refresh-rate pane shows this one.
inline constexpr std::uint32_t kRunningRefreshMin = 10;
inline constexpr std::uint32_t kRunningRefreshMax = 3600000;
constexpr std::uint32_t RunningRefreshPeriod(std::uint32_t configuredMs) {
    return std::clamp(configuredMs, kRunningRefreshMin, kRunningRefreshMax);
}

// The period typed in the dialog's edit: decimal digits, surrounding blanks
// ignored. Nothing for an empty text, anything but digits, 0, or a value
// beyond what a timer can run with.
std::optional<std::uint32_t> ParseRefreshRate(std::u16string_view text);

}  // namespace app
