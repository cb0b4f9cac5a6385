#pragma once
// The sending side of the debug-output channel, in a small library of its
// own (tarvik_ods) that any program can link. Without a monitor a call
// returns at once; with one, each message waits at most
// kDebugSendWaitMs for the buffer, so a hung monitor never hangs a sender.
// A text longer than one buffer goes as several messages, cut between
// UTF-8 sequences. Safe to call from any thread.

#include <string_view>

namespace platform {

inline constexpr int kDebugSendWaitMs = 250;

// Sends UTF-8 text; false when no monitor took (all of) it.
bool SendDebugString(std::string_view utf8);

}  // namespace platform

extern "C" {
// Zero-terminated UTF-8 text.
void OutputDebugStringA(const char* text);
// Zero-terminated UTF-16 text; sent as UTF-8.
void OutputDebugStringW(const char16_t* text);
}
