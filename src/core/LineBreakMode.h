#pragma once
// The line-break modes a buffer reports. The mode is informational only: it
// never changes how lines are split or joined.

namespace core {

inline constexpr int kLineBreakDos = 0;
inline constexpr int kLineBreakUnix = 1;
inline constexpr int kLineBreakMac = 2;

constexpr bool IsValidLineBreakMode(int mode) {
    return mode >= kLineBreakDos && mode <= kLineBreakMac;
}

constexpr const char* LineBreakModeName(int mode) {
    switch (mode) {
        case kLineBreakUnix:
            return "UNIX";
        case kLineBreakMac:
            return "MAC";
        default:
            return "DOS";
    }
}

}  // namespace core
