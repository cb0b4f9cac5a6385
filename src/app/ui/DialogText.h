#pragma once
// The dialogs' bridge between the engine's UTF-16 texts and Qt's, and their
// refusal messages.

#include <QString>

#include <string>
#include <string_view>

#include "core/IUserInterface.h"

class QWidget;

namespace app_ui {

inline QString ToQString(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

inline std::u16string ToU16(const QString& text) {
    return text.toStdU16String();
}

// An exclamation box with the text; through the user interface when there
// is one, else as a plain message box over parent.
void ShowRefusal(core::IUserInterface* ui, QWidget* parent, std::u16string_view text);

}  // namespace app_ui
