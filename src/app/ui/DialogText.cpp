#include "app/ui/DialogText.h"

#include "view/PlainMessageBox.h"

namespace app_ui {

void ShowRefusal(core::IUserInterface* ui, QWidget* parent, std::u16string_view text) {
    if (ui) {
        ui->ShowMessage(text, core::MessageIcon::Exclamation);
        return;
    }
    view::ShowPlainMessage(parent, QMessageBox::Warning, ToQString(text));
}

}  // namespace app_ui
