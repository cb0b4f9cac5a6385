#pragma once
// The dialog "Set Include & Exclude Filters": both lists in one list control,
// the selected row's phrase and switches, the three options of the lists.
// It edits copies; OK checks every row from the top and only then hands the
// lists and options to the application, Cancel leaves everything as it was.

#include <QDialog>

#include <vector>

#include "core/IUserInterface.h"
#include "filters/InExFilterRows.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace app {
class CTarvikApp;
}

namespace filters_ui {

class CInExFilterListModel;

class CInExFilterDialog : public QDialog {
    Q_OBJECT
public:
    CInExFilterDialog(app::CTarvikApp& app, core::IUserInterface* ui, QWidget* parent = nullptr);

    // The rows as the dialog shows them now, in display order.
    const std::vector<filters::InExFilterRow>& Rows() const;
    // The selected row, or -1.
    int CurrentRow() const;
    void SelectRow(int row);

    // Imports a filter file into the rows: with the remove-all box on every
    // row goes first, whether the file can be read or not; the file's
    // filters follow the remaining rows in file order.
    void ImportFile(const QString& path);
    // Writes every row to the file, an empty file (byte-order mark only)
    // when there is none.
    void ExportFile(const QString& path);

public slots:
    void accept() override;

private:
    QWidget* BuildEditControls();
    QWidget* BuildListButtons();
    QWidget* BuildOptions();
    void LoadSelectedRow();
    void StoreEditedRow();
    void UpdateEnabling();
    void NewRow();
    void RemoveSelectedRows();
    void RemoveAllRows();
    void MoveRow(int offset);
    std::vector<int> SelectedRows() const;

    app::CTarvikApp& app_;
    core::IUserInterface* ui_;
    CInExFilterListModel* model_ = nullptr;
    QTreeView* list_ = nullptr;
    QLineEdit* phrase_ = nullptr;
    QCheckBox* enable_ = nullptr;
    QCheckBox* matchCase_ = nullptr;
    QCheckBox* regularExpression_ = nullptr;
    QRadioButton* include_ = nullptr;
    QRadioButton* exclude_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QCheckBox* enableFilters_ = nullptr;
    QCheckBox* reloadAll_ = nullptr;
    QCheckBox* removeBeforeImport_ = nullptr;
    // Set while a row is loaded into the controls, so that loading is not
    // taken for an edit.
    bool loading_ = false;
};

}  // namespace filters_ui
