#include "filters/ui/FilterDialogMessage.h"

#include "view/PlainMessageBox.h"

namespace filters_ui {

void ShowExclamation(core::IUserInterface* ui, QWidget* parent, std::u16string_view text) {
    if (ui) {
        ui->ShowMessage(text, core::MessageIcon::Exclamation);
        return;
    }
    view::ShowPlainMessage(parent, QMessageBox::Warning, ToQString(text));
}

}  // namespace filters_ui
