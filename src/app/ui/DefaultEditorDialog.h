#pragma once
// "Set Default Editor": the editor for every file, and the editors for
// special file extensions in their order. OK refuses an empty default
// editor, then stores both.

#include <QDialog>

#include <functional>
#include <optional>
#include <vector>

#include "settings/FileExtEditorStore.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace app {
class CTarvikApp;
}

namespace core {
class IUserInterface;
}

namespace app_ui {

class CDefaultEditorDialog : public QDialog {
    Q_OBJECT
public:
    // Edits one row in the "Editor for File Extension" dialog: the entry,
    // whether it is new, the rows listed now; nothing when cancelled.
    // Replaced in tests.
    using EditEntry = std::function<std::optional<settings::FileExtEditor>(
        const settings::FileExtEditor& entry, bool adding,
        const std::vector<settings::FileExtEditor>& rows)>;

    CDefaultEditorDialog(app::CTarvikApp& app, core::IUserInterface* ui, QWidget* parent = nullptr,
                         EditEntry editEntry = {});

    std::vector<settings::FileExtEditor> Rows() const;
    void accept() override;

private:
    void AddRow();
    void EditRow();
    void RemoveRow();
    void AppendRow(const settings::FileExtEditor& entry);
    void UpdateButtons();

    app::CTarvikApp& app_;
    core::IUserInterface* ui_;
    EditEntry editEntry_;
    QLineEdit* defaultEditor_ = nullptr;
    QTreeWidget* list_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* remove_ = nullptr;
};

}  // namespace app_ui
