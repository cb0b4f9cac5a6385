#pragma once
// Debug strings of the program and of unattended failures: they go through
// the debug-output channel (a capture document shows them) and to standard
// error.

#include <string_view>

namespace platform {

void OutputDebugStringA(std::string_view text);
void OutputDebugStringW(std::u16string_view text);

// The prefix of every unattended failure the program reports.
inline constexpr std::string_view kDebugPrefix = "[Ostra Tarvik]: ";

}  // namespace platform
