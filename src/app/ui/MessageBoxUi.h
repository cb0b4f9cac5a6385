#pragma once
// The engine's message boxes as QMessageBox with the matching icons, and the
// wait cursor as Qt's override cursor.

#include <QMessageBox>

#include "core/IUserInterface.h"

class QWidget;

namespace app_ui {

class CMessageBoxUi : public core::IUserInterface {
public:
    explicit CMessageBoxUi(QWidget* parent) : parent_(parent) {}

    core::MessageAnswer ShowMessage(
        std::u16string_view text, core::MessageIcon icon,
        core::MessageButtons buttons = core::MessageButtons::Ok) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // The conversions, public so that tests can check them without a dialog.
    static QMessageBox::Icon IconOf(core::MessageIcon icon);
    static QMessageBox::StandardButtons ButtonsOf(core::MessageButtons buttons);
    static core::MessageAnswer AnswerOf(int button);

private:
    QWidget* parent_;
    // Wait-cursor scopes open now.
    int waitDepth_ = 0;
};

}  // namespace app_ui
