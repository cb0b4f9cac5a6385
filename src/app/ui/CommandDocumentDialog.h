#pragma once
// "Open Command": the command line whose output a document shows, the
// folder it runs in and whether it starts again when it ends. The dialog
// only collects them; the main frame keeps the choice and opens the name.

#include <QDialog>

#include "core/IUserInterface.h"
#include "settings/CommandDocumentStore.h"

class QCheckBox;
class QLineEdit;

namespace app_ui {

class CCommandDocumentDialog : public QDialog {
    Q_OBJECT
public:
    explicit CCommandDocumentDialog(core::IUserInterface* ui = nullptr, QWidget* parent = nullptr);

    // "cmd:" and the command line.
    std::u16string Name() const;
    settings::CommandDocumentChoice Choice() const;

    QLineEdit* CommandEdit() const { return command_; }
    QLineEdit* FolderEdit() const { return folder_; }
    QCheckBox* RestartBox() const { return restart_; }

public slots:
    void accept() override;

private:
    void BrowseFolder();

    core::IUserInterface* ui_ = nullptr;
    QLineEdit* command_ = nullptr;
    QLineEdit* folder_ = nullptr;
    QCheckBox* restart_ = nullptr;
};

}  // namespace app_ui
