#pragma once
// The file dialog of Save As and Save All As: a web page with the highlight
// colours or plain text, the web page offered first.

#include <QString>

class QFileDialog;
class QWidget;

namespace exporting_ui {

// The dialog, set up but not shown: starts with an empty name, asks before
// an existing file is replaced, and adds the extension of the chosen kind
// to a name without one.
void SetUpSaveFileDialog(QFileDialog& dialog);

// Shows it; the chosen path, or empty when cancelled.
QString AskSaveFileName(QWidget* parent);

}  // namespace exporting_ui
