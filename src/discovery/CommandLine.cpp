#include "discovery/CommandLine.h"

#include <cstdint>
#include <limits>
#include <utility>

#include "discovery/PathIdentity.h"

namespace discovery {

namespace {

bool IsSwitch(const std::u16string& argument) {
    if (argument.size() < 2) return false;
    if (argument[0] == u'-') return true;
    return argument[0] == u'/' && argument.size() == 2;
}

char16_t SwitchLetter(const std::u16string& argument) {
    const char16_t letter = argument[1];
    return letter >= u'a' && letter <= u'z' ? static_cast<char16_t>(letter - u'a' + u'A') : letter;
}

bool IsDigit(char16_t ch) {
    return ch >= u'0' && ch <= u'9';
}

}  // namespace

int GoToLineFromArgument(const std::u16string& argument) {
    std::size_t at = 0;
    while (at < argument.size() && (argument[at] == u' ' || argument[at] == u'\t')) ++at;
    bool negative = false;
    if (at < argument.size() && (argument[at] == u'-' || argument[at] == u'+')) {
        negative = argument[at] == u'-';
        ++at;
    }
    constexpr std::int64_t kLargest = std::numeric_limits<int>::max();
    std::int64_t value = 0;
    for (; at < argument.size() && IsDigit(argument[at]); ++at) {
        value = value * 10 + (argument[at] - u'0');
        if (value > kLargest) value = kLargest;
    }
    if (negative || value <= 0) return 1;
    return static_cast<int>(value);
}

namespace {

// Calls visit(step, index of the argument the step names) for each step.
template <typename Visit>
void WalkCommandLine(const std::vector<std::u16string>& argv, Visit visit) {
    int goToLine = -1;
    bool captureRequested = false;
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::u16string& argument = argv[i];
        if (!IsSwitch(argument)) {
            visit(CommandLineStep{CommandLineStep::Kind::OpenFile, argument, goToLine}, i);
            continue;
        }
        const char16_t letter = SwitchLetter(argument);
        const bool hasNext = i + 1 < argv.size();
        if (letter == u'D' && !captureRequested) {
            captureRequested = true;
            visit(CommandLineStep{CommandLineStep::Kind::CaptureDebugOutput, {}, goToLine}, i);
        } else if (letter == u'L' && hasNext) {
            goToLine = GoToLineFromArgument(argv[++i]);
        } else if (letter == u'S' && hasNext) {
            ++i;
            visit(CommandLineStep{CommandLineStep::Kind::OpenFileSet, argv[i], goToLine}, i);
        }
    }
}

}  // namespace

std::vector<CommandLineStep> ParseCommandLine(const std::vector<std::u16string>& argv) {
    std::vector<CommandLineStep> steps;
    WalkCommandLine(
        argv, [&steps](CommandLineStep step, std::size_t) { steps.push_back(std::move(step)); });
    return steps;
}

std::vector<std::u16string> WithoutEmptyArguments(const std::vector<std::u16string>& argv) {
    std::vector<std::u16string> kept;
    if (argv.empty()) return kept;
    kept.push_back(argv[0]);
    for (std::size_t i = 1; i < argv.size(); ++i) {
        const std::u16string& argument = argv[i];
        if (argument.empty()) continue;
        const bool takesNext = IsSwitch(argument) &&
                               (SwitchLetter(argument) == u'L' || SwitchLetter(argument) == u'S');
        if (takesNext && i + 1 < argv.size()) {
            // The switch and its argument go or stay together.
            if (!argv[++i].empty()) {
                kept.push_back(argument);
                kept.push_back(argv[i]);
            }
            continue;
        }
        kept.push_back(argument);
    }
    return kept;
}

std::vector<std::u16string> WithNormalPaths(std::vector<std::u16string> argv) {
    std::vector<std::size_t> files;
    WalkCommandLine(argv, [&files](const CommandLineStep& step, std::size_t index) {
        if (step.kind == CommandLineStep::Kind::OpenFile) files.push_back(index);
    });
    for (const std::size_t index : files) argv[index] = NormalDocumentName(argv[index]);
    return argv;
}

}  // namespace discovery
