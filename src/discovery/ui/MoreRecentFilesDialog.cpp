#include "discovery/ui/MoreRecentFilesDialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace discovery_ui {

CMoreRecentFilesDialog::CMoreRecentFilesDialog(const std::vector<std::u16string>& entries,
                                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(tr("Open More Recent Files"));
    list_ = new QListWidget;
    list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    for (const std::u16string& entry : entries) {
        if (!entry.empty()) list_->addItem(QString::fromStdU16String(entry));
    }
    counts_ = new QLabel;
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel);
    open_ = buttons->addButton(tr("&Open"), QDialogButtonBox::AcceptRole);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(counts_);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(list_, &QListWidget::itemSelectionChanged, this, &CMoreRecentFilesDialog::UpdateCounts);
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
    UpdateCounts();
}

void CMoreRecentFilesDialog::UpdateCounts() {
    const int selected = static_cast<int>(list_->selectedItems().size());
    counts_->setText(tr("Total: %1, Selected: %2").arg(list_->count()).arg(selected));
    open_->setEnabled(selected > 0);
}

QString CMoreRecentFilesDialog::CountsText() const {
    return counts_->text();
}

std::vector<std::u16string> CMoreRecentFilesDialog::SelectedPaths() const {
    std::vector<std::u16string> paths;
    for (int row = 0; row < list_->count(); ++row) {
        if (list_->item(row)->isSelected())
            paths.push_back(list_->item(row)->text().toStdU16String());
    }
    return paths;
}

}  // namespace discovery_ui
