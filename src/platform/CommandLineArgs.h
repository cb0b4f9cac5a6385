#pragma once
// A command line typed as one text, split into the program and its arguments
// the way programs on Windows split theirs, so that a command line copied
// from there means the same here.
//
// Blanks and tabs separate arguments. The program (the first token) ends at
// the first blank outside double quotes; its quotes are removed and its
// backslashes are taken as they are. In the arguments after it, 2n
// backslashes before a double quote give n backslashes and the quote opens
// or closes a quoted part; 2n+1 give n backslashes and a literal quote;
// inside a quoted part two quotes in a row give one literal quote; other
// backslashes are taken as they are.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Empty for a line of blanks only.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

}  // namespace platform
