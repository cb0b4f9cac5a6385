#pragma once
// "Manage Preset Filter Files": the preset list of one filter kind, edited
// as a copy; the caller takes Paths() on OK.

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

#include "core/IUserInterface.h"

class QPushButton;
class QTreeWidget;

namespace filters_ui {

class CManagePresetFilesDialog : public QDialog {
    Q_OBJECT
public:
    CManagePresetFilesDialog(const std::vector<std::u16string>& paths, QString importFilter,
                             QWidget* parent = nullptr, core::IUserInterface* ui = nullptr);

    // The rows in order.
    std::vector<std::u16string> Paths() const;
    // Appends each path not in the list yet (compared exactly); "&Add"
    // calls this with the files chosen. A path too long for the store is
    // refused with a message: it would hide every later preset.
    void AddPaths(const QStringList& paths);

private:
    void Add();
    void RemoveSelected();
    void UpdateButtons();

    QString importFilter_;
    core::IUserInterface* ui_;
    QTreeWidget* list_ = nullptr;
    QPushButton* remove_ = nullptr;
};

}  // namespace filters_ui
