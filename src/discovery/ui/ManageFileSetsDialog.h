#pragma once
// "Manage File Sets": the sets on the left with their member counts, the
// members of the selected set on the right. The dialog edits copies; OK
// checks the names and leaves the sets for the caller to save.

#include <QDialog>
#include <functional>
#include <string>
#include <vector>

#include "settings/FileSetStore.h"

class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace core {
class IUserInterface;
}

namespace discovery_ui {

class CManageFileSetsDialog : public QDialog {
    Q_OBJECT
public:
    // Chooses files to add to a set; the multiple-selection open dialog by
    // default, replaced in tests.
    using ChooseFiles = std::function<std::vector<std::u16string>(QWidget*)>;

    CManageFileSetsDialog(std::vector<settings::FileSet> sets, core::IUserInterface* ui,
                          QWidget* parent = nullptr, ChooseFiles choose = {});

    const std::vector<settings::FileSet>& Sets() const { return sets_; }

    // The buttons as the user presses them.
    void NewSet();
    void DeleteSelectedSets();
    void AddFiles();
    void RemoveSelectedFiles();
    void SelectSet(int row);
    void SetName(const QString& name);

    QTreeWidget* SetList() const { return setList_; }
    QTreeWidget* FileList() const { return fileList_; }
    QLineEdit* NameEdit() const { return nameEdit_; }

    void accept() override;

private:
    int SelectedSet() const;
    void FillSetList();
    void ShowSelectedSet();
    void UpdateCount(int row);

    std::vector<settings::FileSet> sets_;
    core::IUserInterface* ui_;
    ChooseFiles choose_;
    QTreeWidget* setList_ = nullptr;
    QTreeWidget* fileList_ = nullptr;
    QLineEdit* nameEdit_ = nullptr;
    QPushButton* delete_ = nullptr;
    QPushButton* addFiles_ = nullptr;
    QPushButton* remove_ = nullptr;
    bool filling_ = false;
};

}  // namespace discovery_ui
