#pragma once
// "Set Tab Alias": shows a document's full path and lets the user name its
// tab. "&Use File Name" fills in the file name; an empty alias is refused.
// The dialog only collects the text; the tab strip stores it.

#include <QDialog>

#include "core/IUserInterface.h"

class QLineEdit;
class QPushButton;

namespace app_ui {

class CTabAliasDialog : public QDialog {
    Q_OBJECT
public:
    // ui shows the refusal; without one a message box over the dialog does.
    CTabAliasDialog(const QString& fullPath, const QString& currentLabel,
                    core::IUserInterface* ui = nullptr, QWidget* parent = nullptr);

    QString Alias() const;
    QLineEdit* AliasEdit() const { return alias_; }
    QPushButton* UseFileNameButton() const { return useFileName_; }

public slots:
    void accept() override;

private:
    void UseFileName();

    QString fullPath_;
    core::IUserInterface* ui_ = nullptr;
    QLineEdit* alias_ = nullptr;
    QPushButton* useFileName_ = nullptr;
};

}  // namespace app_ui
