#include "TailArguments.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace tail {

const char* const kTailUsage =
    "usage: tarvik-tail [--once] [--actions] [--interval MS] [--duration S] [--color WHEN]\n"
    "                   FILE...\n"
    "       tarvik-tail --capture [--actions] [--interval MS] [--duration S] [--color WHEN]\n"
    "                   [FILE...]\n"
    "Prints the lines a log document shows for each FILE, then follows the files\n"
    "and prints each new line once it is complete. A FILE named like a journal\n"
    "('journal:' for the whole journal, 'journal:?unit=ssh.service&priority=4')\n"
    "follows those entries of the systemd journal, and one named 'cmd:' and a\n"
    "command line follows what that command prints, unless a file has that name.\n"
    "  --capture       also capture the debug-output channel and print what a\n"
    "                  capture document shows (not with --once)\n"
    "  --actions       act as the desktop program does: run the actions of\n"
    "                  highlight filters on new lines (start programs, write files,\n"
    "                  send e-mails) and send the stop-updating e-mail of the\n"
    "                  settings when a file stays quiet; each e-mail sent or failed\n"
    "                  is told on standard error; print jobs are dropped, as there\n"
    "                  is no printer here (not with --once)\n"
    "  --once          print what the documents show and end\n"
    "  --interval MS   poll every MS milliseconds (default: the IntervalChkFile option)\n"
    "  --duration S    follow for S seconds (default: until interrupted)\n"
    "  --color WHEN    paint lines in their highlight colours: auto (when standard\n"
    "                  output is a terminal; the default), always or never\n";

namespace {

constexpr unsigned long kMaxIntervalMs = 24UL * 60 * 60 * 1000;

std::optional<std::uint32_t> ParseInterval(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) {
        return std::nullopt;
    }
    errno = 0;
    const unsigned long value = std::strtoul(text.c_str(), nullptr, 10);
    if (errno != 0 || value == 0 || value > kMaxIntervalMs) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

// A number of seconds; one too large for the clock is cut to
// kMaxDurationSeconds with a note.
std::optional<double> ParseDuration(const std::string& text, std::vector<std::string>& notes) {
    if (text.empty() || text.find_first_not_of("0123456789.") != std::string::npos) {
        return std::nullopt;
    }
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || std::isnan(value) || value < 0) return std::nullopt;
    // Out of range: digits beyond a double are huge, a tiny value is 0.
    if (errno == ERANGE && value > 1) value = HUGE_VAL;
    if (value > kMaxDurationSeconds) {
        value = kMaxDurationSeconds;
        notes.push_back("--duration " + text + " is longer than the clock holds; following for " +
                        std::to_string(static_cast<long long>(kMaxDurationSeconds)) + " seconds (" +
                        std::to_string(kMaxDurationYears) + " years) instead");
    }
    return value;
}

std::optional<ColorMode> ParseColorMode(const std::string& text) {
    if (text == "auto") return ColorMode::Auto;
    if (text == "always") return ColorMode::Always;
    if (text == "never") return ColorMode::Never;
    return std::nullopt;
}

// Splits "--name=value" into name and value.
bool SplitInlineValue(const std::string& arg, std::string& name,
                      std::optional<std::string>& value) {
    const std::size_t eq = arg.find('=');
    if (eq == std::string::npos) {
        name = arg;
        return false;
    }
    name = arg.substr(0, eq);
    value = arg.substr(eq + 1);
    return true;
}

}  // namespace

std::optional<TailArguments> ParseTailArguments(const std::vector<std::string>& args,
                                                std::string& error) {
    TailArguments parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            parsed.files.push_back(arg);
            continue;
        }
        std::string name;
        std::optional<std::string> value;
        SplitInlineValue(arg, name, value);
        const auto takeValue = [&]() -> std::optional<std::string> {
            if (value) return value;
            if (i + 1 < args.size()) return args[++i];
            return std::nullopt;
        };

        if (name == "--") {
            optionsEnded = true;
        } else if (name == "--once" && !value) {
            parsed.once = true;
        } else if (name == "--actions" && !value) {
            parsed.actions = true;
        } else if (name == "--capture" && !value) {
            parsed.capture = true;
        } else if ((name == "--help" || name == "-h") && !value) {
            parsed.help = true;
        } else if (name == "--interval") {
            const auto text = takeValue();
            parsed.intervalMs = text ? ParseInterval(*text) : std::nullopt;
            if (!parsed.intervalMs) {
                error = "--interval needs a number of milliseconds from 1 to 86400000";
                return std::nullopt;
            }
        } else if (name == "--duration") {
            const auto text = takeValue();
            parsed.durationSeconds = text ? ParseDuration(*text, parsed.notes) : std::nullopt;
            if (!parsed.durationSeconds) {
                error = "--duration needs a number of seconds";
                return std::nullopt;
            }
        } else if (name == "--color") {
            const auto text = takeValue();
            const auto mode = text ? ParseColorMode(*text) : std::nullopt;
            if (!mode) {
                error = "--color needs auto, always or never";
                return std::nullopt;
            }
            parsed.color = *mode;
        } else {
            error = "unknown option '" + arg + "'";
            return std::nullopt;
        }
    }
    if (parsed.capture && parsed.once) {
        error = "--capture follows the channel and cannot be used with --once";
        return std::nullopt;
    }
    if (parsed.actions && parsed.once) {
        error = "--actions acts on new lines and cannot be used with --once";
        return std::nullopt;
    }
    if (!parsed.help && !parsed.capture && parsed.files.empty()) {
        error = "no file given";
        return std::nullopt;
    }
    return parsed;
}

}  // namespace tail
