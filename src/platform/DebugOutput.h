#pragma once
// Debug strings of the program and of unattended failures. For now they go to
// standard error; the debug-output channel joins them when capture exists.

#include <string_view>

namespace platform {

void OutputDebugStringA(std::string_view text);
void OutputDebugStringW(std::u16string_view text);

// The prefix of every unattended failure the program reports.
inline constexpr std::string_view kDebugPrefix = "[Ostra Tarvik]: ";

}  // namespace platform
