#include "platform/CommandLineArgs.h"

namespace platform {

namespace {

bool IsBlank(char16_t ch) {
    return ch == u' ' || ch == u'\t';
}

std::size_t SkipBlanks(std::u16string_view text, std::size_t at) {
    while (at < text.size() && IsBlank(text[at])) ++at;
    return at;
}

// The program: quotes group, nothing is escaped.
std::u16string TakeProgram(std::u16string_view text, std::size_t& at) {
    std::u16string program;
    bool quoted = false;
    for (; at < text.size(); ++at) {
        const char16_t ch = text[at];
        if (ch == u'"') {
            quoted = !quoted;
        } else if (IsBlank(ch) && !quoted) {
            break;
        } else {
            program += ch;
        }
    }
    return program;
}

std::u16string TakeArgument(std::u16string_view text, std::size_t& at) {
    std::u16string argument;
    bool quoted = false;
    while (at < text.size()) {
        const char16_t ch = text[at];
        if (IsBlank(ch) && !quoted) break;
        if (ch == u'\\') {
            std::size_t backslashes = 0;
            while (at < text.size() && text[at] == u'\\') {
                ++backslashes;
                ++at;
            }
            if (at < text.size() && text[at] == u'"') {
                argument.append(backslashes / 2, u'\\');
                if (backslashes % 2 == 1) {
                    argument += u'"';
                    ++at;
                }
            } else {
                argument.append(backslashes, u'\\');
            }
            continue;
        }
        if (ch == u'"') {
            if (quoted && at + 1 < text.size() && text[at + 1] == u'"') {
                argument += u'"';
                at += 2;
                continue;
            }
            quoted = !quoted;
            ++at;
            continue;
        }
        argument += ch;
        ++at;
    }
    return argument;
}

}  // namespace

std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine) {
    std::vector<std::u16string> arguments;
    std::size_t at = SkipBlanks(commandLine, 0);
    if (at == commandLine.size()) return arguments;
    arguments.push_back(TakeProgram(commandLine, at));
    for (at = SkipBlanks(commandLine, at); at < commandLine.size();
         at = SkipBlanks(commandLine, at)) {
        arguments.push_back(TakeArgument(commandLine, at));
    }
    return arguments;
}

}  // namespace platform
