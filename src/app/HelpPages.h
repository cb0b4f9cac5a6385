#pragma once
// The help pages (the manual, index.html, and the regular-expression page,
// tvregex.htm) and web addresses, opened with the desktop's usual program.
// A built program has the pages in its own folder; an installed one (in
// bin/) in ../share/ostra-tarvik/.

#include <string>
#include <string_view>

#include "core/IUserInterface.h"

namespace app {

inline constexpr std::string_view kManualPage = "index.html";
inline constexpr std::string_view kRegexPage = "tvregex.htm";

// The page for a program in programFolder: the one beside the program, else
// the installed one, else (neither exists) the path beside the program.
std::string HelpPagePathFor(std::string_view programFolder, std::string_view page);

// The page's full path for the running program; empty when its folder is
// unknown.
std::string HelpPagePath(std::string_view page);

// Opens the page; nothing happens when the program's folder is unknown, and
// whether the desktop managed to show it is not checked.
void OpenHelpPage(std::string_view page);

// "&Help Topics": the manual, under the wait cursor.
void OpenHelp(core::IUserInterface* ui);

// Opens a web address. When the desktop's opener cannot be started, the
// browser command registered for .htm in the class root is run with the
// address instead. True when a program was started.
bool OpenUrl(std::u16string_view address);

}  // namespace app
