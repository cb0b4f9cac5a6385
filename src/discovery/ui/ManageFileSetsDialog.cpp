#include "discovery/ui/ManageFileSetsDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/IUserInterface.h"
#include "discovery/FileSetRules.h"
#include "view/DialogParts.h"
#include "view/PlainMessageBox.h"

namespace discovery_ui {

namespace {

QTreeWidget* MakeList(const QStringList& headers) {
    auto* list = new QTreeWidget;
    list->setHeaderLabels(headers);
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    return list;
}

}  // namespace

CManageFileSetsDialog::CManageFileSetsDialog(std::vector<settings::FileSet> sets,
                                             core::IUserInterface* ui, QWidget* parent,
                                             ChooseFiles choose)
    : QDialog(parent),
      sets_(std::move(sets)),
      ui_(ui),
      choose_(choose ? std::move(choose) : ChooseFiles(view::ChooseFilesToOpen)) {
    setWindowTitle(tr("Manage File Sets"));
    setList_ = MakeList({tr("Set"), tr("Files")});
    fileList_ = MakeList({tr("File")});
    nameEdit_ = new QLineEdit;
    auto* newSet = new QPushButton(tr("&New Set"));
    delete_ = new QPushButton(tr("&Delete"));
    addFiles_ = new QPushButton(tr("&Add Files"));
    remove_ = new QPushButton(tr("&Remove"));
    auto* nameLabel = new QLabel(tr("Nam&e: "));
    nameLabel->setBuddy(nameEdit_);

    auto* grid = new QGridLayout;
    grid->addWidget(setList_, 0, 0);
    grid->addWidget(fileList_, 0, 1);
    auto* setButtons = new QHBoxLayout;
    setButtons->addWidget(newSet);
    setButtons->addWidget(delete_);
    grid->addLayout(setButtons, 1, 0);
    auto* fileButtons = new QHBoxLayout;
    fileButtons->addWidget(nameLabel);
    fileButtons->addWidget(nameEdit_);
    fileButtons->addWidget(addFiles_);
    fileButtons->addWidget(remove_);
    grid->addLayout(fileButtons, 1, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &CManageFileSetsDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(newSet, &QPushButton::clicked, this, &CManageFileSetsDialog::NewSet);
    connect(delete_, &QPushButton::clicked, this, &CManageFileSetsDialog::DeleteSelectedSets);
    connect(addFiles_, &QPushButton::clicked, this, &CManageFileSetsDialog::AddFiles);
    connect(remove_, &QPushButton::clicked, this, &CManageFileSetsDialog::RemoveSelectedFiles);
    connect(setList_, &QTreeWidget::itemSelectionChanged, this,
            &CManageFileSetsDialog::ShowSelectedSet);
    connect(nameEdit_, &QLineEdit::textEdited, this, &CManageFileSetsDialog::SetName);
    FillSetList();
    ShowSelectedSet();
}

int CManageFileSetsDialog::SelectedSet() const {
    const QTreeWidgetItem* current = setList_->currentItem();
    if (!current || !current->isSelected()) return -1;
    return setList_->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(current));
}

void CManageFileSetsDialog::FillSetList() {
    filling_ = true;
    setList_->clear();
    for (const settings::FileSet& set : sets_) {
        new QTreeWidgetItem(
            setList_, {QString::fromStdU16String(set.name), QString::number(set.paths.size())});
    }
    filling_ = false;
}

void CManageFileSetsDialog::ShowSelectedSet() {
    if (filling_) return;
    const int row = SelectedSet();
    const bool selected = row >= 0;
    for (QWidget* widget : {static_cast<QWidget*>(nameEdit_), static_cast<QWidget*>(fileList_),
                            static_cast<QWidget*>(addFiles_), static_cast<QWidget*>(remove_),
                            static_cast<QWidget*>(delete_)}) {
        widget->setEnabled(selected);
    }
    fileList_->clear();
    nameEdit_->clear();
    if (!selected) return;
    nameEdit_->setText(QString::fromStdU16String(sets_[row].name));
    for (const std::u16string& path : sets_[row].paths) {
        new QTreeWidgetItem(fileList_, {QString::fromStdU16String(path)});
    }
}

void CManageFileSetsDialog::SelectSet(int row) {
    setList_->clearSelection();
    if (row < 0 || row >= setList_->topLevelItemCount()) return;
    QTreeWidgetItem* item = setList_->topLevelItem(row);
    setList_->setCurrentItem(item);
    item->setSelected(true);
}

void CManageFileSetsDialog::UpdateCount(int row) {
    setList_->topLevelItem(row)->setText(1, QString::number(sets_[row].paths.size()));
}

void CManageFileSetsDialog::NewSet() {
    sets_.push_back({});
    new QTreeWidgetItem(setList_, {QString(), QStringLiteral("0")});
    SelectSet(static_cast<int>(sets_.size()) - 1);
    nameEdit_->setFocus();
}

void CManageFileSetsDialog::DeleteSelectedSets() {
    for (int row = setList_->topLevelItemCount() - 1; row >= 0; --row) {
        if (!setList_->topLevelItem(row)->isSelected()) continue;
        sets_.erase(sets_.begin() + row);
        delete setList_->takeTopLevelItem(row);
    }
    ShowSelectedSet();
}

void CManageFileSetsDialog::SetName(const QString& name) {
    const int row = SelectedSet();
    if (row < 0) return;
    sets_[row].name = name.toStdU16String();
    setList_->topLevelItem(row)->setText(0, name);
}

void CManageFileSetsDialog::AddFiles() {
    const int row = SelectedSet();
    if (row < 0) return;
    discovery::AddFileSetMembers(sets_[row], choose_(this));
    UpdateCount(row);
    ShowSelectedSet();
}

void CManageFileSetsDialog::RemoveSelectedFiles() {
    const int row = SelectedSet();
    if (row < 0) return;
    std::vector<std::u16string>& paths = sets_[row].paths;
    for (int member = fileList_->topLevelItemCount() - 1; member >= 0; --member) {
        if (fileList_->topLevelItem(member)->isSelected()) paths.erase(paths.begin() + member);
    }
    UpdateCount(row);
    ShowSelectedSet();
}

void CManageFileSetsDialog::accept() {
    if (const auto problem = discovery::FirstFileSetProblem(sets_)) {
        SelectSet(static_cast<int>(problem->index));
        if (ui_) {
            ui_->ShowMessage(problem->message, core::MessageIcon::None);
        } else {
            view::ShowPlainMessage(this, QMessageBox::NoIcon,
                                   QString::fromStdU16String(problem->message), windowTitle());
        }
        nameEdit_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace discovery_ui
