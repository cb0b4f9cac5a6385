// tarvik-ods: sends debug strings through the debug-output channel, for
// shell scripts. With arguments, they go as one message joined by blanks;
// without, each line of standard input goes as one message.
//
// Exit status: 0 when a monitor took every message, 1 when none was
// listening (or it did not answer in time, or the channel's objects are
// not this user's own), 2 for a usage error.

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>

#include "platform/DebugChannelSender.h"

namespace {

constexpr const char* kUsage =
    "usage: tarvik-ods [TEXT...]\n"
    "Sends TEXT (the arguments joined by blanks) to the debug-output monitor;\n"
    "without TEXT, sends each line of standard input as one message.\n";

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    int first = 1;
    if (argc > 1 && std::strcmp(argv[1], "--") == 0) first = 2;
    bool allTaken = true;
    if (first < argc || first == 2) {
        std::string text;
        for (int i = first; i < argc; ++i) {
            if (i > first) text += ' ';
            text += argv[i];
        }
        allTaken = platform::SendDebugString(text);
    } else {
        std::string line;
        while (std::getline(std::cin, line)) {
            if (!platform::SendDebugString(line)) allTaken = false;
        }
    }
    return allTaken ? 0 : 1;
}
