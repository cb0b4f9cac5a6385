#include "export/ui/SaveAllAsDialog.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <utility>

#include "export/TextExport.h"
#include "view/DialogParts.h"

namespace exporting_ui {

namespace {

constexpr int kKeyRole = Qt::UserRole;

const void* KeyOf(const QTreeWidgetItem* item) {
    return reinterpret_cast<const void*>(item->data(0, kKeyRole).value<quintptr>());
}

}  // namespace

CSaveAllAsDialog::CSaveAllAsDialog(std::vector<SaveAllRow> rows, bool writeFilePath, int blankLines,
                                   QWidget* parent)
    : QDialog(parent), rows_(std::move(rows)) {
    setWindowTitle(tr("Save All As"));
    list_ = new QTreeWidget;
    list_->setObjectName(QStringLiteral("Files"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({tr("File"), tr("Size")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->header()->setStretchLastSection(false);
    list_->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(1, QHeaderView::ResizeToContents);

    writeFilePath_ = new QCheckBox(tr("&Write file path to destination file"));
    writeFilePath_->setObjectName(QStringLiteral("WriteFilePath"));
    writeFilePath_->setChecked(writeFilePath);
    blankLines_ = new QSpinBox;
    blankLines_->setObjectName(QStringLiteral("BlankLines"));
    blankLines_->setRange(0, exporting::kMaxBlankLines);
    blankLines_->setValue(std::clamp(blankLines, 0, exporting::kMaxBlankLines));
    auto* add = new QLabel(tr("&Add "));
    add->setBuddy(blankLines_);
    auto* blankRow = new QHBoxLayout;
    blankRow->addWidget(add);
    blankRow->addWidget(blankLines_);
    blankRow->addWidget(new QLabel(tr("blank line(s) between two files")));
    blankRow->addStretch();

    up_ = view::DialogButton(tr("&Up"), "Up");
    down_ = view::DialogButton(tr("&Down"), "Down");
    remove_ = view::DialogButton(tr("&Remove"), "Remove");
    auto* reset = view::DialogButton(tr("Reset"), "Reset");
    save_ = view::DialogButton(tr("&Save"), "Save");
    save_->setDefault(true);
    auto* cancel = view::DialogButton(tr("Cancel"), "Cancel");
    auto* buttons = new QVBoxLayout;
    for (QPushButton* button : {up_, down_, remove_, reset}) buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(save_);
    buttons->addWidget(cancel);

    auto* left = new QVBoxLayout;
    left->addWidget(list_);
    left->addWidget(writeFilePath_);
    left->addLayout(blankRow);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 1);
    layout->addLayout(buttons);
    resize(560, 320);

    connect(up_, &QPushButton::clicked, this, &CSaveAllAsDialog::MoveUp);
    connect(down_, &QPushButton::clicked, this, &CSaveAllAsDialog::MoveDown);
    connect(remove_, &QPushButton::clicked, this, &CSaveAllAsDialog::RemoveSelected);
    connect(reset, &QPushButton::clicked, this, &CSaveAllAsDialog::FillRows);
    connect(save_, &QPushButton::clicked, this, [this] {
        if (list_->topLevelItemCount() > 0) accept();
    });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CSaveAllAsDialog::UpdateButtons);
    FillRows();
}

void CSaveAllAsDialog::FillRows() {
    list_->clear();
    for (const SaveAllRow& row : rows_) {
        auto* item = new QTreeWidgetItem({row.file, row.size});
        item->setData(0, kKeyRole, QVariant::fromValue(reinterpret_cast<quintptr>(row.key)));
        list_->addTopLevelItem(item);
    }
    UpdateButtons();
}

std::vector<int> CSaveAllAsDialog::SelectedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        if (list_->topLevelItem(row)->isSelected()) rows.push_back(row);
    }
    return rows;
}

void CSaveAllAsDialog::MoveRow(int from, int to) {
    QTreeWidgetItem* item = list_->takeTopLevelItem(from);
    list_->insertTopLevelItem(to, item);
    item->setSelected(true);
}

void CSaveAllAsDialog::MoveUp() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty() || rows.front() == 0) return;
    for (const int row : rows) MoveRow(row, row - 1);
    list_->scrollToItem(list_->topLevelItem(rows.front() - 1));
    UpdateButtons();
}

void CSaveAllAsDialog::MoveDown() {
    const std::vector<int> rows = SelectedRows();
    if (rows.empty() || rows.back() == list_->topLevelItemCount() - 1) return;
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) MoveRow(*row, *row + 1);
    list_->scrollToItem(list_->topLevelItem(rows.back() + 1));
    UpdateButtons();
}

void CSaveAllAsDialog::RemoveSelected() {
    const std::vector<int> rows = SelectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) delete list_->takeTopLevelItem(*row);
    UpdateButtons();
}

void CSaveAllAsDialog::UpdateButtons() {
    const bool selected = !list_->selectedItems().isEmpty();
    up_->setEnabled(selected);
    down_->setEnabled(selected);
    remove_->setEnabled(selected);
    save_->setEnabled(list_->topLevelItemCount() > 0);
}

std::vector<const void*> CSaveAllAsDialog::Keys() const {
    std::vector<const void*> keys;
    for (int row = 0; row < list_->topLevelItemCount(); ++row) {
        keys.push_back(KeyOf(list_->topLevelItem(row)));
    }
    return keys;
}

bool CSaveAllAsDialog::WriteFilePath() const {
    return writeFilePath_->isChecked();
}

int CSaveAllAsDialog::BlankLines() const {
    return blankLines_->value();
}

}  // namespace exporting_ui
