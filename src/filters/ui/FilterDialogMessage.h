#pragma once
// How the filter dialogs speak: through the engine's user interface when
// they have one, else with a plain message box over the dialog.

#include <QString>

#include <string>
#include <string_view>

#include "core/IUserInterface.h"

class QWidget;

namespace filters_ui {

inline QString ToQString(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

// An exclamation box with the text.
void ShowExclamation(core::IUserInterface* ui, QWidget* parent, std::u16string_view text);

}  // namespace filters_ui
