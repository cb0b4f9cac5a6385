#include "app/ui/MessageBoxUi.h"

#include <QApplication>
#include <QString>

namespace app_ui {

namespace {

// The caption every message box of the program carries.
const QString kCaption = QStringLiteral("Ostra Tarvik (Unicode)");

}  // namespace

QMessageBox::Icon CMessageBoxUi::IconOf(app::MessageIcon icon) {
    switch (icon) {
        case app::MessageIcon::Information:
            return QMessageBox::Information;
        case app::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case app::MessageIcon::Question:
            return QMessageBox::Question;
        case app::MessageIcon::Stop:
            return QMessageBox::Critical;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons CMessageBoxUi::ButtonsOf(app::MessageButtons buttons) {
    switch (buttons) {
        case app::MessageButtons::Ok:
            return QMessageBox::Ok;
        case app::MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case app::MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case app::MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

app::MessageAnswer CMessageBoxUi::AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return app::MessageAnswer::Cancel;
        case QMessageBox::Yes:
            return app::MessageAnswer::Yes;
        case QMessageBox::No:
            return app::MessageAnswer::No;
        default:
            return app::MessageAnswer::Ok;
    }
}

app::MessageAnswer CMessageBoxUi::ShowMessage(std::u16string_view text, app::MessageIcon icon,
                                              app::MessageButtons buttons) {
    QMessageBox box(IconOf(icon), kCaption, QString::fromStdU16String(std::u16string(text)),
                    ButtonsOf(buttons), parent_);
    // Closing the box with Esc or its title button means the safe answer.
    if (buttons == app::MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
    return AnswerOf(box.exec());
}

void CMessageBoxUi::BeginWaitCursor() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CMessageBoxUi::EndWaitCursor() {
    QApplication::restoreOverrideCursor();
}

}  // namespace app_ui
