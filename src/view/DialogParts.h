#pragma once
// Small pieces the program's dialogs are built from.

#include <QString>
#include <string>
#include <vector>

class QLineEdit;
class QPushButton;
class QWidget;

namespace view {

// A push button with an object name (tests and accessibility find it by it)
// that never becomes the dialog's default on focus, so Enter keeps meaning OK.
QPushButton* DialogButton(const QString& text, const char* name);

// Lifts a line edit's default limit of 32767 characters: filter texts and
// paths have none, and the edit would cut them without a word.
void AllowAnyLength(QLineEdit* edit);

// The paths chosen in an "Open" box of all files, several at once; none when
// the box is cancelled.
std::vector<std::u16string> ChooseFilesToOpen(QWidget* parent);

}  // namespace view
