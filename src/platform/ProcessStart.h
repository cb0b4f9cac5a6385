#pragma once
// Starts a program from a command line without a shell and without waiting
// for it. The program is found from the first token through PATH; it gets
// this process's environment and current folder, standard input from
// /dev/null, standard output and error as this process has them, no other
// descriptors, default signal handling and a process group of its own (so a
// Ctrl+C meant for this program does not reach it). Ended children are
// reaped, so none linger.

#include <string>
#include <string_view>

namespace platform {

// False, with the reason in error, when the command line is empty or the
// program could not be started.
bool StartProcess(std::u16string_view commandLine, std::string& error);

}  // namespace platform
