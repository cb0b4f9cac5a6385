#include "app/ui/DefaultEditorDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/ExternalEditor.h"
#include "app/TarvikApp.h"
#include "app/ui/DialogText.h"
#include "app/ui/EditorEntryDialog.h"

namespace app_ui {

namespace {

QPushButton* NamedButton(const QString& text, const char* name) {
    auto* button = new QPushButton(text);
    button->setObjectName(QLatin1String(name));
    return button;
}

}  // namespace

CDefaultEditorDialog::CDefaultEditorDialog(app::CTarvikApp& app, core::IUserInterface* ui,
                                           QWidget* parent, EditEntry editEntry)
    : QDialog(parent), app_(app), ui_(ui), editEntry_(std::move(editEntry)) {
    if (!editEntry_) {
        editEntry_ = [this](const settings::FileExtEditor& entry, bool adding,
                            const std::vector<settings::FileExtEditor>& rows)
            -> std::optional<settings::FileExtEditor> {
            CEditorEntryDialog dialog(entry, adding, rows, ui_, this);
            if (dialog.exec() != QDialog::Accepted) return std::nullopt;
            return dialog.Entry();
        };
    }
    setWindowTitle(tr("Set Default Editor"));
    defaultEditor_ = new QLineEdit(ToQString(app.GetOptions().DefaultEditor));
    defaultEditor_->setObjectName(QStringLiteral("DefaultEditor"));
    defaultEditor_->setMaxLength(static_cast<int>(settings::FileExtEditorStore::kMaxCommandChars));
    auto* defaultLabel = new QLabel(tr("Default &Editor:"));
    defaultLabel->setBuddy(defaultEditor_);
    auto* browse = NamedButton(tr("..."), "Browse");
    auto* reset = NamedButton(tr("&Default"), "Default");

    list_ = new QTreeWidget;
    list_->setObjectName(QStringLiteral("Editors"));
    list_->setHeaderLabels({tr("File Ext."), tr("Editor")});
    list_->setRootIsDecorated(false);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->header()->setStretchLastSection(true);
    auto* listLabel = new QLabel(tr("Editors for &special file extension:"));
    listLabel->setBuddy(list_);
    for (const settings::FileExtEditor& entry : app.FileExtEditors()) AppendRow(entry);
    auto* add = NamedButton(tr("&Add"), "Add");
    edit_ = NamedButton(tr("Edi&t"), "Edit");
    remove_ = NamedButton(tr("&Remove"), "Remove");

    auto* grid = new QGridLayout;
    grid->addWidget(defaultLabel, 0, 0, 1, 3);
    grid->addWidget(defaultEditor_, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(reset, 1, 2);
    grid->addWidget(listLabel, 2, 0, 1, 3);
    grid->addWidget(list_, 3, 0, 1, 3);
    auto* rowButtons = new QHBoxLayout;
    rowButtons->addWidget(add);
    rowButtons->addWidget(edit_);
    rowButtons->addWidget(remove_);
    rowButtons->addStretch();
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(rowButtons);
    layout->addWidget(buttons);

    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = ChooseEditorProgram(this, QString());
        if (!chosen.isEmpty()) defaultEditor_->setText(chosen);
    });
    connect(reset, &QPushButton::clicked, this,
            [this] { defaultEditor_->setText(ToQString(settings::Options{}.DefaultEditor)); });
    connect(add, &QPushButton::clicked, this, &CDefaultEditorDialog::AddRow);
    connect(edit_, &QPushButton::clicked, this, &CDefaultEditorDialog::EditRow);
    connect(remove_, &QPushButton::clicked, this, &CDefaultEditorDialog::RemoveRow);
    connect(list_, &QTreeWidget::itemSelectionChanged, this, &CDefaultEditorDialog::UpdateButtons);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &CDefaultEditorDialog::EditRow);
    connect(buttons, &QDialogButtonBox::accepted, this, &CDefaultEditorDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    UpdateButtons();
    resize(560, 360);
}

std::vector<settings::FileExtEditor> CDefaultEditorDialog::Rows() const {
    std::vector<settings::FileExtEditor> rows;
    for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        rows.push_back({ToU16(item->text(0)), ToU16(item->text(1))});
    }
    return rows;
}

void CDefaultEditorDialog::AppendRow(const settings::FileExtEditor& entry) {
    new QTreeWidgetItem(list_, {ToQString(entry.extension), ToQString(entry.command)});
}

void CDefaultEditorDialog::UpdateButtons() {
    const bool selected = !list_->selectedItems().isEmpty();
    edit_->setEnabled(selected);
    remove_->setEnabled(selected);
}

void CDefaultEditorDialog::AddRow() {
    if (const auto entry = editEntry_({}, true, Rows())) AppendRow(*entry);
}

void CDefaultEditorDialog::EditRow() {
    QTreeWidgetItem* item = list_->currentItem();
    if (!item || !item->isSelected()) return;
    const settings::FileExtEditor current{ToU16(item->text(0)), ToU16(item->text(1))};
    if (const auto entry = editEntry_(current, false, Rows())) {
        item->setText(0, ToQString(entry->extension));
        item->setText(1, ToQString(entry->command));
    }
}

void CDefaultEditorDialog::RemoveRow() {
    QTreeWidgetItem* item = list_->currentItem();
    if (item && item->isSelected()) delete item;
    UpdateButtons();
}

void CDefaultEditorDialog::accept() {
    if (defaultEditor_->text().isEmpty()) {
        ShowRefusal(ui_, this, app::kDefaultEditorRequired);
        defaultEditor_->setFocus();
        return;
    }
    app::ApplyDefaultEditorDialog(app_, ToU16(defaultEditor_->text()), Rows());
    QDialog::accept();
}

}  // namespace app_ui
