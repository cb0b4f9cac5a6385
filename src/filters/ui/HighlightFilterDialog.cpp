#include "filters/ui/HighlightFilterDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "app/MailSettingsQuestion.h"
#include "app/TarvikApp.h"
#include "filters/FilterFile.h"
#include "filters/FilterFileImport.h"
#include "filters/HighlightFilterValidation.h"
#include "filters/ui/ColorChoice.h"
#include "filters/ui/FilterDialogMessage.h"
#include "filters/ui/FilterFileButtons.h"
#include "filters/ui/HighlightFilterEditPanel.h"
#include "filters/ui/HighlightFilterListModel.h"
#include "view/DialogParts.h"

namespace filters_ui {

namespace {

using filters::HighlightChangeMark;
using filters::HighlightSetting;

QCheckBox* Check(const QString& text, const char* name, bool on) {
    auto* box = new QCheckBox(text);
    box->setObjectName(QLatin1String(name));
    box->setChecked(on);
    return box;
}

}  // namespace

CHighlightFilterDialog::CHighlightFilterDialog(app::CTarvikApp& app, core::IUserInterface* ui,
                                               QWidget* parent,
                                               std::function<void()> openMailSettings)
    : QDialog(parent), app_(app), ui_(ui), openMailSettings_(std::move(openMailSettings)) {
    setWindowTitle(tr("Set Highlight Filters"));
    model_ = new CHighlightFilterListModel(
        filters::MakeHighlightFilterEdits(app.HighlightFilters()), this);

    list_ = new QTreeView;
    list_->setObjectName(QStringLiteral("FilterList"));
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->resizeSection(0, 280);
    list_->setMinimumWidth(280 + 24);

    auto* listColumn = new QVBoxLayout;
    listColumn->addWidget(list_, 1);
    listColumn->addWidget(BuildListButtons());

    panel_ = new CHighlightFilterEditPanel;
    auto* top = new QHBoxLayout;
    top->addLayout(listColumn, 0);
    top->addWidget(panel_, 1);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(BuildOptions());
    layout->addWidget(buttons);

    connect(panel_, &CHighlightFilterEditPanel::settingEdited, this,
            [this](HighlightSetting setting) { OnSettingEdited(setting); });
    connect(model_, &CHighlightFilterListModel::enableClicked, this,
            [this](int row, bool enable) { SetEnable(row, enable); });
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { LoadSelectedRow(); });
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { LoadSelectedRow(); });
    LoadSelectedRow();
}

QWidget* CHighlightFilterDialog::BuildListButtons() {
    auto* panel = new QWidget;
    auto* grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    QPushButton* add = view::DialogButton(tr("&New"), "New");
    remove_ = view::DialogButton(tr("&Remove"), "Remove");
    QPushButton* removeAll = view::DialogButton(tr("Remove A&ll"), "RemoveAll");
    up_ = view::DialogButton(tr("Up"), "Up");
    down_ = view::DialogButton(tr("Down"), "Down");
    QPushButton* enableAll = view::DialogButton(tr("Enable All"), "EnableAll");
    QPushButton* disableAll = view::DialogButton(tr("Disable All"), "DisableAll");
    grid->addWidget(add, 0, 0);
    grid->addWidget(remove_, 0, 1);
    grid->addWidget(removeAll, 0, 2);
    grid->addWidget(up_, 1, 0);
    grid->addWidget(down_, 1, 1);
    grid->addWidget(enableAll, 2, 0);
    grid->addWidget(disableAll, 2, 1);

    connect(add, &QPushButton::clicked, this, [this] { NewRow(); });
    connect(remove_, &QPushButton::clicked, this, [this] { RemoveRows(false); });
    connect(removeAll, &QPushButton::clicked, this, [this] { RemoveRows(true); });
    connect(up_, &QPushButton::clicked, this, [this] { MoveRow(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { MoveRow(1); });
    for (const auto& [button, enable] :
         {std::pair{enableAll, true}, std::pair{disableAll, false}}) {
        connect(button, &QPushButton::clicked, this, [this, enable = enable] {
            for (int row = 0; row < model_->rowCount(); ++row) SetEnable(row, enable);
        });
    }
    return panel;
}

QWidget* CHighlightFilterDialog::BuildOptions() {
    const filters::HighlightOptions options = app_.HighlightOptions();
    lineColor_ = options.HLLineBkgColor;
    auto* group = new QGroupBox(tr("All filters"));
    auto* grid = new QGridLayout(group);
    highlightLine_ = Check(tr("Highlight entire line th&at includes highlight phrases"),
                           "HighlightLine", options.HighlightLine);
    lineColorButton_ = view::DialogButton(tr("Background C&olor"), "HLLineBkgColor");
    lineColorButton_->setIcon(ColorSwatch(lineColor_));
    fillBlank_ = Check(tr("&Fill blank of lines using background color"), "FillLineBlankInBkgColor",
                       options.FillLineBlankInBkgColor);
    ignoreShowAs_ =
        Check(tr("\"Next/Previous Highlight\" ignore filters with \"Show as\""),
              "IgnoreReplaceTextForGotoHFilter", options.IgnoreReplaceTextForGotoHFilter);
    ignoreEntireLine_ = Check(
        tr("\"Next/Previous Highlight\" ignore filters highlighting entire line"),
        "IgnoreHighlightEntireLineForGotoHFilter", options.IgnoreHighlightEntireLineForGotoHFilter);
    removeBeforeImport_ =
        Check(tr("Remove all filters before importing filters from file"),
              "RemoveAllFiltersBeforeImport", options.RemoveAllFiltersBeforeImport);
    auto* files = new CFilterFileButtons(FilterFileKind::Highlight, tr("Import &>>"), this,
                                         {[this](const QString& path) { ImportFile(path); },
                                          [this] { return model_->rowCount() > 0; },
                                          [this](const QString& path) { ExportFile(path); }, ui_});
    auto* importRow = new QHBoxLayout;
    importRow->addWidget(removeBeforeImport_);
    importRow->addWidget(files->ImportButton());
    importRow->addWidget(files->ExportButton());
    importRow->addStretch(1);
    auto* lineRow = new QHBoxLayout;
    lineRow->addWidget(highlightLine_);
    lineRow->addWidget(lineColorButton_);
    lineRow->addStretch(1);
    grid->addLayout(lineRow, 0, 0, 1, 2);
    grid->addWidget(fillBlank_, 1, 0);
    grid->addLayout(importRow, 1, 1);
    grid->addWidget(ignoreShowAs_, 2, 0);
    grid->addWidget(ignoreEntireLine_, 2, 1);

    lineColorButton_->setEnabled(highlightLine_->isChecked());
    connect(highlightLine_, &QCheckBox::toggled, lineColorButton_, &QWidget::setEnabled);
    connect(lineColorButton_, &QPushButton::clicked, this, [this] {
        if (ChooseColor(this, tr("Background Color"), lineColor_)) {
            lineColorButton_->setIcon(ColorSwatch(lineColor_));
        }
    });
    return group;
}

const std::vector<filters::HighlightFilterEdit>& CHighlightFilterDialog::Rows() const {
    return model_->Rows();
}

filters::HighlightOptions CHighlightFilterDialog::EditedOptions() const {
    filters::HighlightOptions options;
    options.HighlightLine = highlightLine_->isChecked();
    options.HLLineBkgColor = lineColor_;
    options.FillLineBlankInBkgColor = fillBlank_->isChecked();
    options.IgnoreReplaceTextForGotoHFilter = ignoreShowAs_->isChecked();
    options.IgnoreHighlightEntireLineForGotoHFilter = ignoreEntireLine_->isChecked();
    options.RemoveAllFiltersBeforeImport = removeBeforeImport_->isChecked();
    return options;
}

int CHighlightFilterDialog::CurrentRow() const {
    const QModelIndex current = list_->selectionModel()->currentIndex();
    if (!current.isValid() || !list_->selectionModel()->isRowSelected(current.row())) return -1;
    return current.row();
}

void CHighlightFilterDialog::SelectRow(int row) {
    const QModelIndex index = model_->index(row);
    list_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(index);
}

void CHighlightFilterDialog::LoadSelectedRow() {
    const int row = CurrentRow();
    panel_->Load(row >= 0 ? &model_->Row(row).filter : nullptr);
    UpdateEnabling();
}

void CHighlightFilterDialog::UpdateEnabling() {
    const int row = CurrentRow();
    remove_->setEnabled(row >= 0);
    up_->setEnabled(row > 0);
    down_->setEnabled(row >= 0 && row + 1 < model_->rowCount());
}

void CHighlightFilterDialog::OnSettingEdited(HighlightSetting setting) {
    const int row = CurrentRow();
    if (row < 0) return;
    filters::HighlightFilterEdit& edit = model_->Row(row);
    panel_->Apply(setting, edit.filter);
    filters::NoteHighlightEdit(edit, setting, reload_);
    model_->RowChanged(row);
}

void CHighlightFilterDialog::SetEnable(int row, bool enable) {
    filters::HighlightFilterEdit& edit = model_->Row(row);
    if (edit.filter.Enable == enable) return;
    edit.filter.Enable = enable;
    filters::NoteHighlightEdit(edit, HighlightSetting::Enable, reload_);
    model_->RowChanged(row);
    if (row == CurrentRow()) panel_->Load(&edit.filter);
}

void CHighlightFilterDialog::NewRow() {
    filters::HighlightFilterEdit edit;
    edit.filter = panel_->NewFilter();
    edit.changeMark = HighlightChangeMark::New;
    SelectRow(model_->Append(std::move(edit)));
    panel_->PhraseEdit()->setFocus();
}

void CHighlightFilterDialog::RemoveRows(bool all) {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    list_->selectionModel()->clearSelection();
    if (all ? model_->RemoveAll() : model_->Remove(std::move(rows))) reload_ = true;
    LoadSelectedRow();
}

void CHighlightFilterDialog::ImportFile(const QString& path) {
    if (removeBeforeImport_->isChecked()) {
        RemoveRows(true);
        panel_->Clear();
    }
    const std::u16string file = path.toStdU16String();
    filters::HighlightFileImport imported;
    if (!filters::ReadHighlightFilterFile(file, imported)) {
        ShowExclamation(ui_, this, filters::ImportFailedMessage(file));
        return;
    }
    if (imported.touchesShowAs) reload_ = true;
    const bool leftOut = imported.leftOut;
    std::vector<filters::HighlightFilterEdit> rows;
    filters::AppendImportedHighlightRows(rows, std::move(imported));
    for (filters::HighlightFilterEdit& row : rows) model_->Append(std::move(row));
    UpdateEnabling();
    if (leftOut) ShowExclamation(ui_, this, filters::LeftOutMessage(rows.size()));
}

void CHighlightFilterDialog::ExportFile(const QString& path) {
    if (model_->rowCount() == 0) return;
    std::vector<filters::HighlightFilter> list;
    for (const filters::HighlightFilterEdit& row : model_->Rows()) list.push_back(row.filter);
    const std::u16string file = path.toStdU16String();
    if (!filters::WriteHighlightFilterFile(file, list)) {
        ShowExclamation(ui_, this, filters::ExportFailedMessage(file));
    }
}

void CHighlightFilterDialog::MoveRow(int offset) {
    const int row = CurrentRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= model_->rowCount()) return;
    model_->SwapWithNext(std::min(row, other));
    SelectRow(other);
}

void CHighlightFilterDialog::accept() {
    if (auto problem = filters::FindHighlightRowProblem(model_->Rows())) {
        SelectRow(static_cast<int>(problem->row));
        // The checks trimmed the action texts; show them as they are now.
        LoadSelectedRow();
        ShowExclamation(ui_, this, problem->message);
        QWidget* field = panel_->FieldControl(problem->field);
        field->setFocus();
        if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
        return;
    }
    app_.ApplyHighlightFilters(model_->AllRows(), EditedOptions(), reload_);
    QDialog::accept();
    if (ui_ && app::AskToCompleteMailSettings(app_, *ui_) && openMailSettings_) {
        openMailSettings_();
    }
}

}  // namespace filters_ui
