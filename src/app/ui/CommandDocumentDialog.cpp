#include "app/ui/CommandDocumentDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/DialogText.h"
#include "streams/CommandSource.h"

namespace app_ui {

CCommandDocumentDialog::CCommandDocumentDialog(core::IUserInterface* ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setWindowTitle(tr("Open Command"));
    command_ = new QLineEdit(this);
    command_->setObjectName(QStringLiteral("Command"));
    command_->setPlaceholderText(tr("for example: ssh web1 tail -F /var/log/syslog"));
    folder_ = new QLineEdit(this);
    folder_->setObjectName(QStringLiteral("Folder"));
    folder_->setPlaceholderText(QDir::currentPath());
    auto* browse = new QPushButton(tr("&Browse..."), this);
    connect(browse, &QPushButton::clicked, this, &CCommandDocumentDialog::BrowseFolder);
    restart_ = new QCheckBox(tr("&Start again when it ends"), this);
    restart_->setObjectName(QStringLiteral("Restart"));

    auto* commandLabel = new QLabel(tr("&Command line:"), this);
    commandLabel->setBuddy(command_);
    auto* folderLabel = new QLabel(tr("&Working folder:"), this);
    folderLabel->setBuddy(folder_);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse);
    auto* form = new QFormLayout;
    form->addRow(commandLabel, command_);
    form->addRow(folderLabel, folderRow);
    form->addRow(QString(), restart_);
    auto* note = new QLabel(
        tr("The command runs through /bin/sh; its output and errors are shown as they come."),
        this);
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CCommandDocumentDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CCommandDocumentDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(note);
    layout->addWidget(buttons);
    setMinimumWidth(520);
}

std::u16string CCommandDocumentDialog::Name() const {
    return std::u16string(streams::kCommandPrefix) + command_->text().trimmed().toStdU16String();
}

settings::CommandDocumentChoice CCommandDocumentDialog::Choice() const {
    settings::CommandDocumentChoice choice;
    const QString folder = folder_->text().trimmed();
    if (!folder.isEmpty()) choice.folder = QDir(folder).absolutePath().toStdU16String();
    choice.restart = restart_->isChecked();
    return choice;
}

void CCommandDocumentDialog::BrowseFolder() {
    const QString chosen =
        QFileDialog::getExistingDirectory(this, tr("Working Folder"), folder_->text());
    if (!chosen.isEmpty()) folder_->setText(chosen);
}

void CCommandDocumentDialog::accept() {
    if (command_->text().trimmed().isEmpty()) {
        ShowRefusal(ui_, this, u"Please enter a command line.");
        command_->setFocus();
        return;
    }
    const QString folder = folder_->text().trimmed();
    if (!folder.isEmpty() && !QFileInfo(folder).isDir()) {
        ShowRefusal(ui_, this, u"The working folder does not exist.");
        folder_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace app_ui
