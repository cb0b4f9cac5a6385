#pragma once
// "Open New Files Automatically by Pattern": the watched folder and pattern
// rows, the interval between scans, the bound on open files and whether
// files already there open at start-up. The dialog edits copies; OK checks
// them and leaves them for the caller to apply.

#include <QDialog>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "settings/AutoOpenPatternStore.h"

class QCheckBox;
class QPushButton;
class QSpinBox;
class QTreeWidget;

namespace core {
class IUserInterface;
}

namespace discovery_ui {

struct AutoOpenSettings {
    std::vector<settings::AutoOpenPattern> patterns;
    std::uint32_t checkInterval = 1;
    bool limitOpenFiles = false;
    std::int32_t maxOpenFiles = 10;
    bool openExistingOnStartUp = false;
};

class CAutoOpenDialog : public QDialog {
    Q_OBJECT
public:
    // Edits one row in "File Pattern"; empty when cancelled. Replaced in tests.
    using EditRow = std::function<std::optional<settings::AutoOpenPattern>(
        QWidget* parent, const settings::AutoOpenPattern& row)>;

    CAutoOpenDialog(const AutoOpenSettings& current, core::IUserInterface* ui,
                    QWidget* parent = nullptr, EditRow editRow = {});

    // What OK confirmed.
    AutoOpenSettings Settings() const;

    QTreeWidget* List() const { return list_; }
    QSpinBox* IntervalBox() const { return interval_; }
    QCheckBox* LimitBox() const { return limit_; }
    QSpinBox* MaxOpenFilesBox() const { return maxOpenFiles_; }
    QPushButton* EditButton() const { return edit_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* RemoveAllButton() const { return removeAll_; }

    void AddRow();
    void EditSelectedRow();
    void RemoveSelectedRows();
    void RemoveAllRows();
    void accept() override;

private:
    void AppendRow(const settings::AutoOpenPattern& row);
    std::vector<settings::AutoOpenPattern> Rows() const;
    void UpdateButtons();

    core::IUserInterface* ui_;
    EditRow editRow_;
    QTreeWidget* list_ = nullptr;
    QSpinBox* interval_ = nullptr;
    QCheckBox* limit_ = nullptr;
    QSpinBox* maxOpenFiles_ = nullptr;
    QCheckBox* openExisting_ = nullptr;
    QPushButton* edit_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* removeAll_ = nullptr;
};

}  // namespace discovery_ui
