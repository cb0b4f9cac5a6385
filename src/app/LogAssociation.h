#pragma once
// The .log file association: the file-type entries of the class root that
// name this program as a handler of .log files, and with them the desktop's
// default application for .log files.
//
// ".log" holds the file type ("logfile" when it had none, which then gets
// the text "Log File"); the type's "shell\Ostra Tarvik (Unicode)\command"
// holds the quoted program path and the quoted %1. Removing the association
// deletes the command and its verb only; ".log" and the type stay.

#include <string>
#include <string_view>

#include "core/IUserInterface.h"

namespace app {

inline constexpr std::u16string_view kAssociateFailed =
    u"Failed to associate with .log file. Please make sure you have permission to write system "
    u"registry.";
inline constexpr std::u16string_view kUnassociateFailed =
    u"Failed to unassociate with .log file. Please make sure you have permission to write system "
    u"registry.";
inline constexpr std::u16string_view kLogVerb = u"Ostra Tarvik (Unicode)";

// The command the association writes for the program at programPath.
std::u16string AssociationCommand(std::u16string_view programPath);

// Whether .log names a type whose command is the one for programPath
// (compared with A-Z folded).
bool IsLogAssociated(std::u16string_view programPath);

// Writes the entries for programPath; true when the command was written.
// Then our desktop entry becomes the desktop's default for .log files, and
// the default it replaces is remembered beside the command.
bool AssociateLog(std::u16string_view programPath);

// Deletes the command and its verb, reporting a failure through ui, and
// gives the desktop's default back. Nothing happens when .log has no type.
void UnassociateLog(core::IUserInterface* ui);

// The program the association names: the running one.
std::u16string RunningProgramPath();

// The Options dialog's box was changed: associates the running program
// (reporting a failure through ui) or removes the association.
void ChangeLogAssociation(bool associate, core::IUserInterface* ui);

}  // namespace app
