#pragma once
// Message boxes whose text shows exactly as given: a path or a line of log
// text that looks like markup never restyles the box.

#include <QMessageBox>
#include <QString>

class QWidget;

namespace view {

// The caption every message box of the program carries.
QString MessageBoxCaption();

// Makes box show its text as plain text.
void UsePlainText(QMessageBox& box);

// A box with the text, the icon (NoIcon for none) and an OK button over
// parent; returns when it is closed.
void ShowPlainMessage(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                      const QString& caption = MessageBoxCaption());

}  // namespace view
