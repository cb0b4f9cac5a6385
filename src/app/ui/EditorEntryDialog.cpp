#include "app/ui/EditorEntryDialog.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ExternalEditor.h"
#include "app/ui/DialogText.h"

namespace app_ui {

QString ChooseEditorProgram(QWidget* parent, const QString& start) {
    return QFileDialog::getOpenFileName(parent, QObject::tr("Open"), start,
                                        QObject::tr("Executable File (*)"));
}

CEditorEntryDialog::CEditorEntryDialog(const settings::FileExtEditor& entry, bool adding,
                                       std::vector<settings::FileExtEditor> rows,
                                       core::IUserInterface* ui, QWidget* parent)
    : QDialog(parent), adding_(adding), rows_(std::move(rows)), ui_(ui) {
    setWindowTitle(tr("Editor for File Extension"));
    extension_ = new QLineEdit(ToQString(entry.extension));
    extension_->setObjectName(QStringLiteral("FileExt"));
    extension_->setMaxLength(static_cast<int>(settings::FileExtEditorStore::kMaxExtensionChars));
    editor_ = new QLineEdit(ToQString(entry.command));
    editor_->setObjectName(QStringLiteral("Editor"));
    editor_->setMaxLength(static_cast<int>(settings::FileExtEditorStore::kMaxCommandChars));
    auto* extensionLabel = new QLabel(tr("&File Ext.:"));
    extensionLabel->setBuddy(extension_);
    auto* editorLabel = new QLabel(tr("&Editor:"));
    editorLabel->setBuddy(editor_);
    auto* browse = new QPushButton(tr("..."));
    auto* grid = new QGridLayout;
    grid->addWidget(extensionLabel, 0, 0);
    grid->addWidget(extension_, 0, 1, 1, 2);
    grid->addWidget(editorLabel, 1, 0);
    grid->addWidget(editor_, 1, 1);
    grid->addWidget(browse, 1, 2);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(browse, &QPushButton::clicked, this, &CEditorEntryDialog::BrowseEditor);
    connect(buttons, &QDialogButtonBox::accepted, this, &CEditorEntryDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    resize(480, sizeHint().height());
}

settings::FileExtEditor CEditorEntryDialog::Entry() const {
    return {ToU16(extension_->text()), ToU16(editor_->text())};
}

void CEditorEntryDialog::BrowseEditor() {
    const QString chosen = ChooseEditorProgram(this, editor_->text());
    if (!chosen.isEmpty()) editor_->setText(chosen);
}

void CEditorEntryDialog::accept() {
    if (const auto refusal = app::CheckEditorEntry(Entry(), adding_, rows_)) {
        ShowRefusal(ui_, this, *refusal);
        extension_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace app_ui
