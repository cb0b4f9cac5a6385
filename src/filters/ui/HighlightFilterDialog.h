#pragma once
// The dialog "Set Highlight Filters": the list of filters in their colours,
// the selected filter's controls, the list buttons and the options that
// apply to every filter. It edits copies and remembers how each filter was
// changed; OK checks every row from the top and only then hands the rows to
// the application, Cancel leaves everything as it was.

#include <QDialog>

#include <cstdint>
#include <functional>
#include <vector>

#include "core/IUserInterface.h"
#include "filters/HighlightEditMarks.h"
#include "filters/HighlightFilterTakeOver.h"
#include "filters/HighlightOptions.h"

class QCheckBox;
class QPushButton;
class QTreeView;

namespace app {
class CTarvikApp;
}

namespace filters_ui {

class CHighlightFilterEditPanel;
class CHighlightFilterListModel;

class CHighlightFilterDialog : public QDialog {
    Q_OBJECT
public:
    // openMailSettings runs when, after OK, the user agrees to complete the
    // e-mail settings; without it the answer opens nothing.
    CHighlightFilterDialog(app::CTarvikApp& app, core::IUserInterface* ui,
                           QWidget* parent = nullptr, std::function<void()> openMailSettings = {});

    // The rows still in the list, in display order.
    const std::vector<filters::HighlightFilterEdit>& Rows() const;
    // Whether OK will read every document again.
    bool ReloadRequested() const { return reload_; }
    // The options as the controls show them now.
    filters::HighlightOptions EditedOptions() const;
    // The selected row, or -1.
    int CurrentRow() const;
    void SelectRow(int row);

    // Imports a filter file into the rows: with the remove-all box on every
    // row is marked removed first, whether the file can be read or not; the
    // file's filters follow the remaining rows in file order, as new ones.
    void ImportFile(const QString& path);
    // Writes the rows in the list to the file; with no row nothing is written.
    void ExportFile(const QString& path);

public slots:
    void accept() override;

private:
    QWidget* BuildListButtons();
    QWidget* BuildOptions();
    void LoadSelectedRow();
    void UpdateEnabling();
    void OnSettingEdited(filters::HighlightSetting setting);
    void SetEnable(int row, bool enable);
    void NewRow();
    void RemoveRows(bool all);
    void MoveRow(int offset);

    app::CTarvikApp& app_;
    core::IUserInterface* ui_;
    std::function<void()> openMailSettings_;
    CHighlightFilterListModel* model_ = nullptr;
    QTreeView* list_ = nullptr;
    CHighlightFilterEditPanel* panel_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QCheckBox* highlightLine_ = nullptr;
    QPushButton* lineColorButton_ = nullptr;
    QCheckBox* fillBlank_ = nullptr;
    QCheckBox* ignoreShowAs_ = nullptr;
    QCheckBox* ignoreEntireLine_ = nullptr;
    QCheckBox* removeBeforeImport_ = nullptr;
    std::uint32_t lineColor_ = 0;
    bool reload_ = false;
};

}  // namespace filters_ui
