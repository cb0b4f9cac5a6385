#pragma once
// The regular-expression help of both filter dialogs ("&?"): the page
// tvregex.htm, opened with the desktop's usual program for it. A built
// program has the page in its own folder; an installed one (bin/) in
// ../share/ostra-tarvik/.

#include <QString>

namespace filters_ui {

// The page for a program in programFolder: the one beside the program, else
// the installed one, else (neither exists) the path beside the program.
QString RegexHelpPathFor(const QString& programFolder);

// The page's full path for this program; empty when its folder is unknown.
QString RegexHelpPath();

// Asks the desktop to open the page. Nothing happens when the program's
// folder is unknown; whether the desktop managed to open it is not checked.
void OpenRegexHelp();

}  // namespace filters_ui
