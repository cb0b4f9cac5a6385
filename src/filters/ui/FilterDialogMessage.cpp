#include "filters/ui/FilterDialogMessage.h"

#include <QMessageBox>

namespace filters_ui {

void ShowExclamation(core::IUserInterface* ui, QWidget* parent, std::u16string_view text) {
    if (ui) {
        ui->ShowMessage(text, core::MessageIcon::Exclamation);
        return;
    }
    QMessageBox::warning(parent, QStringLiteral("Ostra Tarvik"), ToQString(text));
}

}  // namespace filters_ui
