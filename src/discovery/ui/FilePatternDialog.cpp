#include "discovery/ui/FilePatternDialog.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

#include "core/IUserInterface.h"
#include "discovery/AutoOpenRules.h"
#include "discovery/PathIdentity.h"
#include "view/PlainMessageBox.h"

namespace discovery_ui {

void ShowAutoOpenMessage(core::IUserInterface* ui, QWidget* parent, const std::u16string& text,
                         bool warning) {
    const auto icon = warning ? core::MessageIcon::Exclamation : core::MessageIcon::Information;
    if (ui) {
        ui->ShowMessage(text, icon);
    } else {
        view::ShowPlainMessage(parent, warning ? QMessageBox::Warning : QMessageBox::Information,
                               QString::fromStdU16String(text));
    }
}

CFilePatternDialog::CFilePatternDialog(const settings::AutoOpenPattern& pattern,
                                       core::IUserInterface* ui, QWidget* parent,
                                       ShowFolder showFolder)
    : QDialog(parent), ui_(ui), showFolder_(std::move(showFolder)) {
    if (!showFolder_) {
        showFolder_ = [](const QString& folder) {
            QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
        };
    }
    setWindowTitle(tr("File Pattern"));
    folder_ = new QLineEdit(QString::fromStdU16String(pattern.folder));
    pattern_ = new QLineEdit(QString::fromStdU16String(pattern.fileNamePattern));
    auto* folderLabel = new QLabel(tr("&Folder to be Monitored:"));
    folderLabel->setBuddy(folder_);
    auto* patternLabel = new QLabel(tr("File &Name Pattern:"));
    patternLabel->setBuddy(pattern_);
    auto* browse = new QPushButton(tr("&Browse"));
    auto* open = new QPushButton(tr("&Open"));
    auto* help =
        new QLabel(tr("Wildcards are allowed in file name pattern:\n"
                      "* matches up with any characters\n"
                      "? matches up with single character\n"));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    auto* grid = new QGridLayout;
    grid->addWidget(folderLabel, 0, 0, 1, 3);
    grid->addWidget(folder_, 1, 0);
    grid->addWidget(browse, 1, 1);
    grid->addWidget(open, 1, 2);
    grid->addWidget(patternLabel, 2, 0, 1, 3);
    grid->addWidget(pattern_, 3, 0, 1, 3);
    grid->addWidget(help, 4, 0, 1, 3);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(buttons);
    connect(browse, &QPushButton::clicked, this, &CFilePatternDialog::Browse);
    connect(open, &QPushButton::clicked, this, &CFilePatternDialog::OpenFolder);
    connect(buttons, &QDialogButtonBox::accepted, this, &CFilePatternDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

settings::AutoOpenPattern CFilePatternDialog::Pattern() const {
    return {folder_->text().toStdU16String(), pattern_->text().toStdU16String()};
}

void CFilePatternDialog::Browse() {
    const QString chosen = QFileDialog::getExistingDirectory(
        this, tr("Please choose an folder to be monitored:"), folder_->text());
    if (!chosen.isEmpty()) folder_->setText(chosen);
}

void CFilePatternDialog::OpenFolder() {
    const QString folder = folder_->text();
    if (!folder.isEmpty() && QFileInfo(folder).isDir()) {
        showFolder_(folder);
        return;
    }
    ShowAutoOpenMessage(ui_, this,
                        u"Folder \"" + folder.toStdU16String() + u"\" isn't available.\n\n", false);
}

void CFilePatternDialog::accept() {
    const settings::AutoOpenPattern pattern = Pattern();
    if (const auto problem =
            discovery::FilePatternProblem(pattern.folder, pattern.fileNamePattern)) {
        ShowAutoOpenMessage(ui_, this, problem->message, true);
        (problem->field == discovery::AutoOpenField::Folder ? folder_ : pattern_)->setFocus();
        return;
    }
    // Stored absolute: a relative folder would mean another one whenever the
    // program starts in another folder.
    folder_->setText(QString::fromStdU16String(
        discovery::WithFolderSeparator(discovery::NormalPath(pattern.folder))));
    QDialog::accept();
}

}  // namespace discovery_ui
