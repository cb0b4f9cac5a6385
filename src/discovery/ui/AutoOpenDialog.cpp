#include "discovery/ui/AutoOpenDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "discovery/AutoOpenRules.h"
#include "discovery/ui/FilePatternDialog.h"

namespace discovery_ui {

namespace {

constexpr int kSpinMaximum = 32767;

QSpinBox* MakeSpin(int value) {
    auto* spin = new QSpinBox;
    spin->setRange(1, kSpinMaximum);
    spin->setValue(value);
    return spin;
}

}  // namespace

CAutoOpenDialog::CAutoOpenDialog(const AutoOpenSettings& current, core::IUserInterface* ui,
                                 QWidget* parent, EditRow editRow)
    : QDialog(parent), ui_(ui), editRow_(std::move(editRow)) {
    if (!editRow_) {
        editRow_ =
            [ui](QWidget* owner,
                 const settings::AutoOpenPattern& row) -> std::optional<settings::AutoOpenPattern> {
            CFilePatternDialog dialog(row, ui, owner);
            if (dialog.exec() != QDialog::Accepted) return std::nullopt;
            return dialog.Pattern();
        };
    }
    setWindowTitle(tr("Open New Files Automatically by Pattern"));
    list_ = new QTreeWidget;
    list_->setHeaderLabels({tr("Folder"), tr("File Name Pattern")});
    list_->setColumnWidth(0, 380);
    list_->setColumnWidth(1, 120);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    for (const settings::AutoOpenPattern& row : current.patterns) AppendRow(row);

    auto* add = new QPushButton(tr("&Add"));
    edit_ = new QPushButton(tr("&Edit"));
    remove_ = new QPushButton(tr("&Remove"));
    removeAll_ = new QPushButton(tr("Remove A&ll"));
    auto* rowButtons = new QVBoxLayout;
    for (QPushButton* button : {add, edit_, remove_, removeAll_}) rowButtons->addWidget(button);
    rowButtons->addStretch();
    auto* rows = new QHBoxLayout;
    rows->addWidget(list_);
    rows->addLayout(rowButtons);

    interval_ =
        MakeSpin(static_cast<int>(std::min<std::uint32_t>(current.checkInterval, kSpinMaximum)));
    limit_ =
        new QCheckBox(tr("&Close the first open file when number of open files is greater than"));
    limit_->setChecked(current.limitOpenFiles);
    maxOpenFiles_ = MakeSpin(std::min(current.maxOpenFiles, kSpinMaximum));
    maxOpenFiles_->setEnabled(current.limitOpenFiles);
    openExisting_ = new QCheckBox(tr("&Open existing log files that match patterns on startup"));
    openExisting_->setChecked(current.openExistingOnStartUp);
    auto* intervalLabel = new QLabel(tr("&Interval for checking new files: "));
    intervalLabel->setBuddy(interval_);
    auto* grid = new QGridLayout;
    grid->addWidget(intervalLabel, 0, 0);
    grid->addWidget(interval_, 0, 1);
    grid->addWidget(new QLabel(tr("second(s)")), 0, 2);
    grid->addWidget(limit_, 1, 0);
    grid->addWidget(maxOpenFiles_, 1, 1);
    grid->addWidget(openExisting_, 2, 0, 1, 3);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(add, &QPushButton::clicked, this, &CAutoOpenDialog::AddRow);
    connect(edit_, &QPushButton::clicked, this, &CAutoOpenDialog::EditSelectedRow);
    connect(remove_, &QPushButton::clicked, this, &CAutoOpenDialog::RemoveSelectedRows);
    connect(removeAll_, &QPushButton::clicked, this, &CAutoOpenDialog::RemoveAllRows);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CAutoOpenDialog::UpdateButtons);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &CAutoOpenDialog::EditSelectedRow);
    connect(limit_, &QCheckBox::toggled, maxOpenFiles_, &QWidget::setEnabled);
    connect(buttons, &QDialogButtonBox::accepted, this, &CAutoOpenDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateButtons();
}

void CAutoOpenDialog::AppendRow(const settings::AutoOpenPattern& row) {
    new QTreeWidgetItem(list_, {QString::fromStdU16String(row.folder),
                                QString::fromStdU16String(row.fileNamePattern)});
}

std::vector<settings::AutoOpenPattern> CAutoOpenDialog::Rows() const {
    std::vector<settings::AutoOpenPattern> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        rows.push_back({discovery::WithFolderSeparator(item->text(0).toStdU16String()),
                        item->text(1).toStdU16String()});
    }
    return rows;
}

void CAutoOpenDialog::UpdateButtons() {
    const bool selected = !list_->selectedItems().isEmpty();
    edit_->setEnabled(selected);
    remove_->setEnabled(selected);
    removeAll_->setEnabled(list_->topLevelItemCount() > 0);
}

void CAutoOpenDialog::AddRow() {
    if (const auto row = editRow_(this, {})) {
        AppendRow(*row);
        UpdateButtons();
    }
}

void CAutoOpenDialog::EditSelectedRow() {
    QTreeWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return;
    const settings::AutoOpenPattern current{item->text(0).toStdU16String(),
                                            item->text(1).toStdU16String()};
    if (const auto row = editRow_(this, current)) {
        item->setText(0, QString::fromStdU16String(row->folder));
        item->setText(1, QString::fromStdU16String(row->fileNamePattern));
    }
}

void CAutoOpenDialog::RemoveSelectedRows() {
    for (QTreeWidgetItem* item : list_->selectedItems()) delete item;
    UpdateButtons();
}

void CAutoOpenDialog::RemoveAllRows() {
    list_->clear();
    UpdateButtons();
}

AutoOpenSettings CAutoOpenDialog::Settings() const {
    return {Rows(), static_cast<std::uint32_t>(interval_->value()), limit_->isChecked(),
            maxOpenFiles_->value(), openExisting_->isChecked()};
}

void CAutoOpenDialog::accept() {
    const auto problem = discovery::AutoOpenDialogProblem(interval_->value(), limit_->isChecked(),
                                                          maxOpenFiles_->value(), Rows());
    if (problem) {
        ShowAutoOpenMessage(ui_, this, problem->message, true);
        switch (problem->field) {
            case discovery::AutoOpenField::Interval:
                interval_->setFocus();
                break;
            case discovery::AutoOpenField::MaxOpenFiles:
                maxOpenFiles_->setFocus();
                break;
            default:
                list_->setFocus();
                break;
        }
        return;
    }
    QDialog::accept();
}

}  // namespace discovery_ui
