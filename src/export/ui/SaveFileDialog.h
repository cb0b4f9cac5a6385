#pragma once
// The file dialog of Save As and Save All As: a web page with the highlight
// colours or plain text, the web page offered first.

#include <QString>

class QWidget;

namespace exporting_ui {

// Shows it; the chosen path, or empty when cancelled.
QString AskSaveFileName(QWidget* parent);

}  // namespace exporting_ui
