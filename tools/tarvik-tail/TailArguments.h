#pragma once
// The command line of tarvik-tail:
//   tarvik-tail [--once] [--interval MS] [--duration S] [--color WHEN] FILE...

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
    // Milliseconds between polls; none means IntervalChkFile from the settings.
    std::optional<std::uint32_t> intervalMs;
    // Seconds to follow; none means until interrupted.
    std::optional<double> durationSeconds;
    // Auto colours only when standard output is a terminal.
    ColorMode color = ColorMode::Auto;
    std::vector<std::string> files;
};

// Parses argv[1..]; on failure returns nothing and sets error to the reason.
std::optional<TailArguments> ParseTailArguments(const std::vector<std::string>& args,
                                                std::string& error);

extern const char* const kTailUsage;

}  // namespace tail
