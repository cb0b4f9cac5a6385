#pragma once
// What a command line asks for, decided without touching anything: the first
// instance's own arguments and those handed over by a later start go through
// the same rules.
//
// An argument starting with '-' is a switch chosen by its second character
// (any case): D captures debug output (only the first D acts), L takes the
// next argument as the line to go to, S the next argument as a file set to
// open at once; other switches are ignored, and L or S as the last argument
// does nothing. A '/' switch must be exactly two characters, so that absolute
// paths, which start with '/' here, stay paths. Every other argument is a file.

#include <string>
#include <vector>

namespace discovery {

struct CommandLineStep {
    enum class Kind { CaptureDebugOutput, OpenFileSet, OpenFile };

    Kind kind = Kind::OpenFile;
    std::u16string text;  // the path or the set name
    // The pending go-to line when the step runs; -1 when none.
    int goToLine = -1;

    bool operator==(const CommandLineStep&) const = default;
};

// The steps for argv, whose first element stands for the program name and is
// skipped. An empty argv gives no steps.
std::vector<CommandLineStep> ParseCommandLine(const std::vector<std::u16string>& argv);

// argv with every file argument made absolute and lexically normal (a stream
// source's name stays a name, see NormalDocumentName), switches
// and their arguments unchanged: a running instance that is handed the
// arguments opens what this one was asked to, whatever its own folder.
std::vector<std::u16string> WithNormalPaths(std::vector<std::u16string> argv);

// argv without its empty arguments, an L or S switch whose argument is empty
// dropped together with it. The hand-over to a running instance cannot carry
// an empty argument (an empty string ends its list), so both instances go by
// this form and open the same files.
std::vector<std::u16string> WithoutEmptyArguments(const std::vector<std::u16string>& argv);

// The line number an L switch takes from its argument: the leading decimal
// number, or 1 when that is 0, negative or missing.
int GoToLineFromArgument(const std::u16string& argument);

}  // namespace discovery
