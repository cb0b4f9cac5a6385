#pragma once
// "Editor for File Extension": one file extension and the editor that opens
// files with it. OK refuses an incomplete entry, an extension without its
// leading dot and, when adding, an extension already listed.

#include <QDialog>

#include <vector>

#include "settings/FileExtEditorStore.h"

class QLineEdit;

namespace core {
class IUserInterface;
}

namespace app_ui {

class CEditorEntryDialog : public QDialog {
    Q_OBJECT
public:
    // rows are the entries listed now; adding says whether entry is new.
    CEditorEntryDialog(const settings::FileExtEditor& entry, bool adding,
                       std::vector<settings::FileExtEditor> rows, core::IUserInterface* ui,
                       QWidget* parent = nullptr);

    settings::FileExtEditor Entry() const;
    void accept() override;

private:
    void BrowseEditor();

    bool adding_;
    std::vector<settings::FileExtEditor> rows_;
    core::IUserInterface* ui_;
    QLineEdit* extension_ = nullptr;
    QLineEdit* editor_ = nullptr;
};

// The file picker of both editor dialogs ("..."): an existing program file,
// starting from start; empty when cancelled.
QString ChooseEditorProgram(QWidget* parent, const QString& start);

}  // namespace app_ui
