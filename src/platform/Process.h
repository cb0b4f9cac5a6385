#pragma once
// Starting other programs without a shell: the program is looked up in PATH
// when its name has no slash, the arguments reach it exactly as given, and
// every child is reaped so that none lingers as a zombie.

#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class StartResult { Started, NotFound, Failed };

// Starts argv[0] with the arguments and returns at once; nothing waits for
// the program, yet it is reaped when it ends. Standard input is /dev/null.
StartResult StartDetached(const std::vector<std::string>& argv);

// Runs argv[0] to its end and returns its exit status; -1 when it could not
// start or did not exit normally. Its standard output goes to output (when
// given), its standard error is dropped.
int RunAndWait(const std::vector<std::string>& argv, std::string* output = nullptr);

// Splits a command line into arguments by the Windows rules: blanks separate
// arguments outside double quotes, "" inside quotes is one quote, 2n
// backslashes before a quote are n backslashes, 2n+1 are n and a literal
// quote, other backslashes are literal.
std::vector<std::u16string> SplitCommandLine(std::u16string_view commandLine);

// The full path of the running program; empty when it cannot be told.
std::string ProgramPath();

}  // namespace platform
