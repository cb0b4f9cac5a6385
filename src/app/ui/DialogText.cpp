#include "app/ui/DialogText.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace app_ui {

void ShowRefusal(core::IUserInterface* ui, QWidget* parent, std::u16string_view text) {
    if (ui) {
        ui->ShowMessage(text, core::MessageIcon::Exclamation);
        return;
    }
    QMessageBox::warning(parent, QGuiApplication::applicationDisplayName(), ToQString(text));
}

}  // namespace app_ui
