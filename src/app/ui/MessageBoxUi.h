#pragma once
// The engine's message boxes as QMessageBox with the matching icons, and the
// wait cursor as Qt's override cursor.

#include <QMessageBox>

#include "app/IUserInterface.h"

class QWidget;

namespace app_ui {

class CMessageBoxUi : public app::IUserInterface {
public:
    explicit CMessageBoxUi(QWidget* parent) : parent_(parent) {}

    app::MessageAnswer ShowMessage(std::u16string_view text, app::MessageIcon icon,
                                   app::MessageButtons buttons = app::MessageButtons::Ok) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;

    // The conversions, public so that tests can check them without a dialog.
    static QMessageBox::Icon IconOf(app::MessageIcon icon);
    static QMessageBox::StandardButtons ButtonsOf(app::MessageButtons buttons);
    static app::MessageAnswer AnswerOf(int button);

private:
    QWidget* parent_;
};

}  // namespace app_ui
