#include "filters/ui/InExFilterDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>

#include "app/TarvikApp.h"
#include "filters/FilterFile.h"
#include "filters/ui/FilterDialogMessage.h"
#include "filters/ui/FilterFileButtons.h"
#include "filters/ui/InExFilterListModel.h"
#include "filters/ui/RegexHelp.h"
#include "view/DialogParts.h"

namespace filters_ui {

namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

}  // namespace

CInExFilterDialog::CInExFilterDialog(app::CTarvikApp& app, core::IUserInterface* ui,
                                     QWidget* parent)
    : QDialog(parent), app_(app), ui_(ui) {
    setWindowTitle(tr("Set Include & Exclude Filters"));
    model_ = new CInExFilterListModel(filters::MakeInExFilterRows(app.InExFilters()), this);

    list_ = Named(new QTreeView, "FilterList");
    list_->setModel(model_);
    list_->setRootIsDecorated(false);
    list_->setUniformRowHeights(true);
    list_->setAllColumnsShowFocus(true);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->header()->setStretchLastSection(false);
    // The widths of the classic dialog font; a wider font still shows every
    // title whole.
    const int widths[] = {260, 75, 110, 60};
    const int padding = 2 * list_->style()->pixelMetric(QStyle::PM_HeaderMargin) +
                        list_->style()->pixelMetric(QStyle::PM_HeaderMarkSize);
    int total = 0;
    for (int column = 0; column < CInExFilterListModel::kColumnCount; ++column) {
        const QString title =
            model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
        const int width = std::max(
            widths[column], list_->header()->fontMetrics().horizontalAdvance(title) + padding);
        list_->header()->resizeSection(column, width);
        total += width;
    }
    list_->setMinimumSize(total + 24, 220);

    auto* top = new QHBoxLayout;
    top->addWidget(list_, 1);
    top->addWidget(BuildListButtons());

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(BuildEditControls());
    layout->addWidget(BuildOptions());
    layout->addWidget(buttons);

    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] { LoadSelectedRow(); });
    connect(list_->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            [this] { UpdateEnabling(); });
    // A check box ticked in the list shows in the Enable box of that row.
    connect(model_, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex& first) {
        if (first.row() == CurrentRow() && !loading_) LoadSelectedRow();
    });
    LoadSelectedRow();
}

QWidget* CInExFilterDialog::BuildListButtons() {
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    QPushButton* add = view::DialogButton(tr("&New"), "New");
    remove_ = view::DialogButton(tr("&Remove"), "Remove");
    QPushButton* removeAll = view::DialogButton(tr("Remo&ve All"), "RemoveAll");
    up_ = view::DialogButton(tr("U&p"), "Up");
    down_ = view::DialogButton(tr("&Down"), "Down");
    for (QPushButton* button : {add, remove_, removeAll, up_, down_}) column->addWidget(button);
    column->addSpacing(12);
    struct TypeButton {
        const char* text;
        const char* name;
        bool include;
        bool enable;
    };
    const TypeButton typeButtons[] = {
        {"Enable All Include", "EnableAllInclude", true, true},
        {"Disable All Include", "DisableAllInclude", true, false},
        {"Enable All Exclude", "EnableAllExclude", false, true},
        {"Disable All Exclude", "DisableAllExclude", false, false},
    };
    for (const TypeButton& type : typeButtons) {
        QPushButton* button = view::DialogButton(tr(type.text), type.name);
        connect(button, &QPushButton::clicked, this,
                [this, type] { model_->SetEnableOfType(type.include, type.enable); });
        column->addWidget(button);
    }
    column->addStretch(1);

    connect(add, &QPushButton::clicked, this, [this] { NewRow(); });
    connect(remove_, &QPushButton::clicked, this, [this] { RemoveSelectedRows(); });
    connect(removeAll, &QPushButton::clicked, this, [this] { RemoveAllRows(); });
    connect(up_, &QPushButton::clicked, this, [this] { MoveRow(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { MoveRow(1); });
    return panel;
}

QWidget* CInExFilterDialog::BuildEditControls() {
    auto* group = new QGroupBox(tr("Selected filter"));
    auto* grid = new QGridLayout(group);
    phrase_ = Named(new QLineEdit, "FilterPhrase");
    view::AllowAnyLength(phrase_);
    auto* label = new QLabel(tr("&Filter phrase:"));
    label->setBuddy(phrase_);
    QPushButton* help = view::DialogButton(tr("&?"), "RegexHelp");
    help->setMaximumWidth(help->fontMetrics().horizontalAdvance(QStringLiteral("MMM")));
    connect(help, &QPushButton::clicked, this, [this] { OpenRegexHelp(); });
    grid->addWidget(label, 0, 0);
    grid->addWidget(phrase_, 0, 1, 1, 4);
    grid->addWidget(help, 0, 5);

    enable_ = Named(new QCheckBox(tr("&Enable")), "Enable");
    matchCase_ = Named(new QCheckBox(tr("&Match case")), "MatchCase");
    regularExpression_ = Named(new QCheckBox(tr("Reg&ular expression")), "RegularExpression");
    include_ = Named(new QRadioButton(tr("&Include")), "Include");
    exclude_ = Named(new QRadioButton(tr("Ex&clude")), "Exclude");
    include_->setChecked(true);
    grid->addWidget(enable_, 1, 1);
    grid->addWidget(matchCase_, 1, 2);
    grid->addWidget(regularExpression_, 1, 3);
    auto* type = new QHBoxLayout;
    type->addWidget(include_);
    type->addWidget(exclude_);
    grid->addLayout(type, 1, 4, 1, 2);
    grid->setColumnStretch(4, 1);

    connect(phrase_, &QLineEdit::textChanged, this, [this] { StoreEditedRow(); });
    for (QAbstractButton* box : std::initializer_list<QAbstractButton*>{
             enable_, matchCase_, regularExpression_, include_}) {
        connect(box, &QAbstractButton::toggled, this, [this] { StoreEditedRow(); });
    }
    return group;
}

QWidget* CInExFilterDialog::BuildOptions() {
    const settings::Options& options = app_.GetOptions();
    enableFilters_ = Named(new QCheckBox(tr("Ena&ble all include/exclude filters (Ctrl+Shift+I)")),
                           "EnableInExFilters");
    reloadAll_ =
        Named(new QCheckBox(tr("Reload &all documents after clicking OK")), "ReloadAllDocs");
    removeBeforeImport_ =
        Named(new QCheckBox(tr("Rem&ove all filters before importing filters from file")),
              "RemoveAllFiltersBeforeImport");
    enableFilters_->setChecked(options.EnableInExFilters);
    reloadAll_->setChecked(options.ReloadAllDocsInExclude);
    removeBeforeImport_->setChecked(options.RemoveAllFiltersBeforeImport);
    auto* panel = new QWidget;
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    for (QCheckBox* box : {enableFilters_, reloadAll_}) column->addWidget(box);
    auto* files = new CFilterFileButtons(FilterFileKind::InEx, tr("Impor&t >>"), this,
                                         {[this](const QString& path) { ImportFile(path); },
                                          {},
                                          [this](const QString& path) { ExportFile(path); },
                                          ui_});
    auto* importRow = new QHBoxLayout;
    importRow->addWidget(removeBeforeImport_);
    importRow->addStretch(1);
    importRow->addWidget(files->ImportButton());
    importRow->addWidget(files->ExportButton());
    column->addLayout(importRow);
    return panel;
}

const std::vector<filters::InExFilterRow>& CInExFilterDialog::Rows() const {
    return model_->Rows();
}

int CInExFilterDialog::CurrentRow() const {
    const QModelIndex current = list_->selectionModel()->currentIndex();
    if (!current.isValid() || !list_->selectionModel()->isRowSelected(current.row())) return -1;
    return current.row();
}

void CInExFilterDialog::SelectRow(int row) {
    const QModelIndex index = model_->index(row, 0);
    list_->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list_->scrollTo(index);
}

std::vector<int> CInExFilterDialog::SelectedRows() const {
    std::vector<int> rows;
    for (const QModelIndex& index : list_->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    return rows;
}

void CInExFilterDialog::LoadSelectedRow() {
    const int row = CurrentRow();
    if (row >= 0) {
        loading_ = true;
        const filters::InExFilterRow& value = model_->Row(row);
        phrase_->setText(QString::fromStdU16String(value.text));
        enable_->setChecked(value.enable);
        matchCase_->setChecked(value.matchCase);
        regularExpression_->setChecked(value.regularExpression);
        (value.include ? include_ : exclude_)->setChecked(true);
        loading_ = false;
    }
    UpdateEnabling();
}

void CInExFilterDialog::StoreEditedRow() {
    const int row = CurrentRow();
    if (loading_ || row < 0) return;
    filters::InExFilterRow value = model_->Row(row);
    value.text = phrase_->text().toStdU16String();
    value.enable = enable_->isChecked();
    value.matchCase = matchCase_->isChecked();
    value.regularExpression = regularExpression_->isChecked();
    value.include = include_->isChecked();
    loading_ = true;
    model_->SetRow(row, value);
    loading_ = false;
}

void CInExFilterDialog::UpdateEnabling() {
    const int row = CurrentRow();
    const bool selected = row >= 0;
    for (QWidget* control : std::initializer_list<QWidget*>{
             phrase_, enable_, matchCase_, regularExpression_, include_, exclude_, remove_}) {
        control->setEnabled(selected);
    }
    up_->setEnabled(selected && row > 0);
    down_->setEnabled(selected && row + 1 < model_->rowCount());
}

void CInExFilterDialog::NewRow() {
    filters::InExFilterRow row;
    row.enable = true;
    row.matchCase = matchCase_->isChecked();
    row.regularExpression = regularExpression_->isChecked();
    row.include = include_->isChecked();
    SelectRow(model_->Append(row));
    phrase_->setFocus();
}

void CInExFilterDialog::RemoveSelectedRows() {
    model_->Remove(SelectedRows());
    list_->selectionModel()->clearSelection();
    LoadSelectedRow();
}

void CInExFilterDialog::RemoveAllRows() {
    model_->RemoveAll();
    LoadSelectedRow();
}

void CInExFilterDialog::ImportFile(const QString& path) {
    if (removeBeforeImport_->isChecked()) RemoveAllRows();
    const std::u16string file = path.toStdU16String();
    std::vector<filters::InExFilterRow> imported;
    bool leftOut = false;
    if (!filters::ReadInExFilterFile(file, imported, &leftOut)) {
        ShowExclamation(ui_, this, filters::ImportFailedMessage(file));
        return;
    }
    for (const filters::InExFilterRow& row : imported) model_->Append(row);
    UpdateEnabling();
    if (leftOut) ShowExclamation(ui_, this, filters::LeftOutMessage(imported.size()));
}

void CInExFilterDialog::ExportFile(const QString& path) {
    const std::u16string file = path.toStdU16String();
    if (!filters::WriteInExFilterFile(file, model_->Rows())) {
        ShowExclamation(ui_, this, filters::ExportFailedMessage(file));
    }
}

void CInExFilterDialog::MoveRow(int offset) {
    const int row = CurrentRow();
    const int other = row + offset;
    if (row < 0 || other < 0 || other >= model_->rowCount()) return;
    model_->SwapWithNext(std::min(row, other));
    SelectRow(other);
}

void CInExFilterDialog::accept() {
    if (auto problem = filters::FindInExRowProblem(model_->Rows())) {
        SelectRow(static_cast<int>(problem->row));
        ShowExclamation(ui_, this, problem->message);
        phrase_->setFocus();
        phrase_->selectAll();
        return;
    }
    settings::Options& options = app_.GetOptions();
    options.EnableInExFilters = enableFilters_->isChecked();
    options.ReloadAllDocsInExclude = reloadAll_->isChecked();
    options.RemoveAllFiltersBeforeImport = removeBeforeImport_->isChecked();
    filters::InExFilterLists lists = filters::SplitInExFilterRows(model_->Rows());
    app_.ApplyInExFilters(std::move(lists.include), std::move(lists.exclude));
    QDialog::accept();
}

}  // namespace filters_ui
