// tarvik-testwriter: a log writer for the following tests. It changes files
// the way logging programs and rotation tools do, from a second process, so
// that a follower meets real appends, truncations, renames and deletions.
//
//   tarvik-testwriter COMMAND FIELD...   runs one command (see WriterCommand.h)
//   tarvik-testwriter                    runs script lines from standard input,
//                                        answering "ok" or "error: REASON" to each
// The exit status is 0 when every command succeeded, 1 otherwise.

#include <iostream>
#include <string>
#include <vector>

#include "WriterCommand.h"

namespace {

bool RunScript(std::istream& in, std::ostream& out) {
    bool allSucceeded = true;
    for (std::string line; std::getline(in, line);) {
        if (line.empty()) continue;
        std::vector<std::string> words = testwriter::SplitScriptLine(line);
        if (words.empty()) words.push_back(line.substr(0, line.find(' ')));
        const std::string failure = testwriter::RunCommand(words);
        allSucceeded = allSucceeded && failure.empty();
        out << (failure.empty() ? "ok" : "error: " + failure) << std::endl;
    }
    return allSucceeded;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return RunScript(std::cin, std::cout) ? 0 : 1;
    const std::string failure = testwriter::RunCommand({argv + 1, argv + argc});
    if (failure.empty()) return 0;
    std::cerr << "tarvik-testwriter: " << failure << '\n';
    return 1;
}
