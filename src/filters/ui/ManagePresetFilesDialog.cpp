#include "filters/ui/ManagePresetFilesDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "filters/ui/FilterDialogMessage.h"
#include "settings/PresetFileStore.h"

namespace filters_ui {

namespace {

std::u16string TooLongMessage(std::u16string_view path) {
    std::u16string text = u"The path \"";
    text += path;
    text += u"\" is too long for the preset list (at most ";
    const std::string limit = std::to_string(settings::preset_files::kMaxPathChars);
    text.append(limit.begin(), limit.end());
    text += u" characters); it was not added.";
    return text;
}

}  // namespace

CManagePresetFilesDialog::CManagePresetFilesDialog(const std::vector<std::u16string>& paths,
                                                   QString importFilter, QWidget* parent,
                                                   core::IUserInterface* ui)
    : QDialog(parent), importFilter_(std::move(importFilter)), ui_(ui) {
    setWindowTitle(tr("Manage Preset Filter Files"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("Presets"));
    list_->setHeaderLabels({tr("Filter File")});
    list_->setColumnWidth(0, 397);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const std::u16string& path : paths) {
        list_->addTopLevelItem(new QTreeWidgetItem({QString::fromStdU16String(path)}));
    }

    auto* add = new QPushButton(tr("&Add"), this);
    remove_ = new QPushButton(tr("&Remove"), this);
    remove_->setObjectName(QStringLiteral("Remove"));
    auto* removeAll = new QPushButton(tr("Re&move All"), this);
    connect(add, &QPushButton::clicked, this, &CManagePresetFilesDialog::Add);
    connect(remove_, &QPushButton::clicked, this, &CManagePresetFilesDialog::RemoveSelected);
    connect(removeAll, &QPushButton::clicked, list_, &QTreeWidget::clear);
    connect(list_, &QTreeWidget::itemSelectionChanged, this,
            &CManagePresetFilesDialog::UpdateButtons);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* side = new QVBoxLayout;
    side->addWidget(add);
    side->addWidget(remove_);
    side->addWidget(removeAll);
    side->addStretch();
    auto* row = new QHBoxLayout;
    row->addWidget(list_, 1);
    row->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    resize(560, 300);
    UpdateButtons();
}

std::vector<std::u16string> CManagePresetFilesDialog::Paths() const {
    std::vector<std::u16string> paths;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        paths.push_back(list_->topLevelItem(i)->text(0).toStdU16String());
    }
    return paths;
}

void CManagePresetFilesDialog::AddPaths(const QStringList& paths) {
    for (const QString& path : paths) {
        if (!settings::preset_files::FitsPresetList(path.toStdU16String())) {
            ShowExclamation(ui_, this, TooLongMessage(path.toStdU16String()));
            continue;
        }
        // Paths compare exactly: file names here are case-sensitive.
        if (!list_->findItems(path, Qt::MatchExactly).isEmpty()) continue;
        list_->addTopLevelItem(new QTreeWidgetItem({path}));
    }
}

void CManagePresetFilesDialog::Add() {
    AddPaths(QFileDialog::getOpenFileNames(this, tr("Add Preset Filter Files"), {}, importFilter_));
}

void CManagePresetFilesDialog::RemoveSelected() {
    qDeleteAll(list_->selectedItems());
    UpdateButtons();
}

void CManagePresetFilesDialog::UpdateButtons() {
    remove_->setEnabled(!list_->selectedItems().isEmpty());
}

}  // namespace filters_ui
