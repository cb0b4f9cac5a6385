#include "app/ui/MessageBoxUi.h"

#include <QApplication>
#include <QString>

#include "view/PlainMessageBox.h"

namespace app_ui {

QMessageBox::Icon CMessageBoxUi::IconOf(core::MessageIcon icon) {
    switch (icon) {
        case core::MessageIcon::Information:
            return QMessageBox::Information;
        case core::MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case core::MessageIcon::Question:
            return QMessageBox::Question;
        case core::MessageIcon::Stop:
            return QMessageBox::Critical;
        case core::MessageIcon::None:
            return QMessageBox::NoIcon;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons CMessageBoxUi::ButtonsOf(core::MessageButtons buttons) {
    switch (buttons) {
        case core::MessageButtons::Ok:
            return QMessageBox::Ok;
        case core::MessageButtons::OkCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case core::MessageButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case core::MessageButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

core::MessageAnswer CMessageBoxUi::AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Cancel:
            return core::MessageAnswer::Cancel;
        case QMessageBox::Yes:
            return core::MessageAnswer::Yes;
        case QMessageBox::No:
            return core::MessageAnswer::No;
        default:
            return core::MessageAnswer::Ok;
    }
}

core::MessageAnswer CMessageBoxUi::ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                               core::MessageButtons buttons) {
    QMessageBox box(IconOf(icon), view::MessageBoxCaption(),
                    QString::fromStdU16String(std::u16string(text)), ButtonsOf(buttons), parent_);
    view::UsePlainText(box);
    // Closing the box with Esc or its title button means the safe answer.
    if (buttons == core::MessageButtons::YesNo) box.setEscapeButton(QMessageBox::No);
    // The user reads and answers the box with the normal cursor; the work
    // that asked goes on busy afterwards.
    for (int i = 0; i < waitDepth_; ++i) QApplication::restoreOverrideCursor();
    const int button = box.exec();
    for (int i = 0; i < waitDepth_; ++i) QApplication::setOverrideCursor(Qt::WaitCursor);
    return AnswerOf(button);
}

void CMessageBoxUi::BeginWaitCursor() {
    ++waitDepth_;
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CMessageBoxUi::EndWaitCursor() {
    if (waitDepth_ == 0) return;
    --waitDepth_;
    QApplication::restoreOverrideCursor();
}

}  // namespace app_ui
