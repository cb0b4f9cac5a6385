#pragma once
// The command line of tarvik-tail:
//   tarvik-tail [--once] [--actions] [--interval MS] [--duration S] [--color WHEN] FILE...
//   tarvik-tail --capture [--actions] [--interval MS] [--duration S] [--color WHEN] [FILE...]

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tail {

// When lines are printed with their highlight colours.
enum class ColorMode { Auto, Always, Never };

struct TailArguments {
    bool once = false;
    bool help = false;
    // Follow the debug-output channel as a capture document does.
    bool capture = false;
    // Act on what is read as the desktop program does: run the actions of
    // highlight filters on new lines and e-mail when a file stops updating.
    bool actions = false;
    // Milliseconds between polls; none means IntervalChkFile from the settings.
    std::optional<std::uint32_t> intervalMs;
    // Seconds to follow, at most kMaxDurationSeconds; none means until
    // interrupted.
    std::optional<double> durationSeconds;
    // Auto colours only when standard output is a terminal.
    ColorMode color = ColorMode::Auto;
    std::vector<std::string> files;
    // What was adjusted on the way, for standard error.
    std::vector<std::string> notes;
};

// The longest --duration kept: a deadline this far off still fits the
// monotonic clock (nanoseconds in 64 bits, about 292 years from boot).
constexpr int kMaxDurationYears = 100;
constexpr double kMaxDurationSeconds = kMaxDurationYears * 365.0 * 24 * 60 * 60;

// Parses argv[1..]; on failure returns nothing and sets error to the reason.
std::optional<TailArguments> ParseTailArguments(const std::vector<std::string>& args,
                                                std::string& error);

extern const char* const kTailUsage;

}  // namespace tail
