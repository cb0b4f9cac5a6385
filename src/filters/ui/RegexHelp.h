#pragma once
// The "&?" button of both filter dialogs: the regular-expression help page
// installed beside the executable.

class QWidget;

namespace filters_ui {

// Opens <executable folder>/help/tvregex.htm in the desktop's viewer. Nothing
// happens when the page cannot be opened.
void OpenRegexHelp(QWidget* parent);

}  // namespace filters_ui
