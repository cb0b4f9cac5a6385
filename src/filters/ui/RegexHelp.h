#pragma once
// The regular-expression help of both filter dialogs ("&?"): the page
// tvregex.htm in the program's folder, opened with the desktop's usual
// program for it.

#include <QString>

namespace filters_ui {

// The page's full path; empty when the program's folder is unknown.
QString RegexHelpPath();

// Asks the desktop to open the page. Nothing happens when the program's
// folder is unknown; whether the desktop managed to open it is not checked.
void OpenRegexHelp();

}  // namespace filters_ui
