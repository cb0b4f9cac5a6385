#pragma once
// Starting other programs without a shell: the program is looked up in PATH
// when its name has no slash, the arguments reach it exactly as given, and
// every child is reaped so that none lingers as a zombie. A child gets this
// process's environment and current folder, standard input from /dev/null,
// no descriptors beyond the standard three, default signal handling and a
// process group of its own (so a Ctrl+C meant for this program does not
// reach it).

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class StartResult { Started, NotFound, Failed };

// Starts argv[0] with the arguments and returns at once; nothing waits for
// the program, yet it is reaped when it ends (ChildReaper.h), and onEnded,
// when given, runs then on the reaper's thread; it never runs for a failed
// start. Standard output and error are this process's. The reason of a
// failure (the process limit reached among them) goes to error when given.
StartResult StartDetached(const std::vector<std::string>& argv, std::string* error = nullptr,
                          std::function<void()> onEnded = {});

// Starts a program from a command line split by the Windows rules
// (CommandLineArgs.h), without waiting, as StartDetached does. False, with
// the reason in error, when the line is empty or the program could not be
// started.
bool StartProcess(std::u16string_view commandLine, std::string& error,
                  std::function<void()> onEnded = {});

// Runs argv[0] to its end and returns its exit status; -1 when it could not
// start or did not exit normally. Its standard output goes to output (when
// given), its standard error is dropped.
int RunAndWait(const std::vector<std::string>& argv, std::string* output = nullptr);

// A child whose standard output and error go to one pipe.
struct OutputChild {
    pid_t pid = -1;
    // The pipe's reading end, non-blocking; -1 when none.
    int output = -1;
};

// Starts argv[0] in folder (this process's when empty) in a process group of
// its own, with standard input from /dev/null and standard output and error
// into a pipe whose reading end goes to child. Nothing reaps it: the caller
// waits for it (see ProcessGroup.h). Returns 0, else the error number.
int StartWithOutput(const std::vector<std::string>& argv, const std::string& folder,
                    OutputChild& child);

// A child with a pipe of its own for each of its standard descriptors.
struct PipedChild {
    pid_t pid = -1;
    // Our ends, non-blocking: the child's standard input (to write), its
    // standard output and its standard error (to read).
    int input = -1;
    int output = -1;
    int errors = -1;
};

// Starts argv[0] as StartWithOutput does, in this process's folder, with a
// pipe for each standard descriptor. Returns 0, else the error number.
int StartWithPipes(const std::vector<std::string>& argv, PipedChild& child);

// The full path of the running program; empty when it cannot be told.
std::string ProgramPath();

}  // namespace platform
