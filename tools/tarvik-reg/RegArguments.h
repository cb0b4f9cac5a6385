#pragma once
// The command line of tarvik-reg: an operation, its positional arguments and
// reg.exe-style switches (/v NAME, /ve, /va, /t TYPE, /d DATA, /f, /s, /y;
// "-" works in place of "/", case does not matter).

#include <optional>
#include <string>
#include <vector>

namespace tarvik_reg {

struct Arguments {
    std::string operation;  // lower case
    std::vector<std::string> positional;
    std::optional<std::string> valueName;  // /v
    bool defaultValue = false;             // /ve
    bool allValues = false;                // /va
    std::optional<std::string> type;       // /t
    std::optional<std::string> data;       // /d
    bool force = false;                    // /f
    bool recurse = false;                  // /s
    bool overwrite = false;                // /y
    bool help = false;                     // /?
};

// False with a message when the words do not form a valid command.
bool ParseArguments(const std::vector<std::string>& words, Arguments& arguments,
                    std::string& error);

}  // namespace tarvik_reg
