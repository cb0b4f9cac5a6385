#pragma once
// The prefixes of a captured message: "[sequence]", "[process id]" and
// "[time]" in that order, each only when asked for, and one blank after them
// when any was written. The time has the form "Tue Mar 02 15:32:21 2010".

#include <cstddef>
#include <cstdint>
#include <ctime>

namespace capture {

struct PrefixParts {
    // Nothing for a prefix that is off.
    const std::uint32_t* sequence = nullptr;
    const std::uint32_t* processId = nullptr;
    const std::time_t* time = nullptr;
};

// The longest prefix text: three bracketed parts and the blank.
inline constexpr std::size_t kMaxPrefixUnits = 12 + 12 + 26 + 1;

// Writes the prefix at out; returns the number of units written.
std::size_t WritePrefix(const PrefixParts& parts, char16_t* out);

// The local time of t in the form above (24 characters) at out.
void FormatCaptureTime(std::time_t t, char16_t* out);

}  // namespace capture
