#include "app/ui/TabAliasDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/ui/DialogText.h"
#include "app/ui/TabStrip.h"

namespace app_ui {

CTabAliasDialog::CTabAliasDialog(const QString& fullPath, const QString& currentLabel,
                                 core::IUserInterface* ui, QWidget* parent)
    : QDialog(parent), fullPath_(fullPath), ui_(ui) {
    setWindowTitle(tr("Set Tab Alias"));

    auto* path = new QLineEdit(fullPath, this);
    path->setReadOnly(true);
    path->setObjectName(QStringLiteral("File"));
    alias_ = new QLineEdit(currentLabel, this);
    alias_->setObjectName(QStringLiteral("Alias"));
    alias_->selectAll();

    auto* form = new QFormLayout;
    auto* pathLabel = new QLabel(tr("&File:"), this);
    pathLabel->setBuddy(path);
    auto* aliasLabel = new QLabel(tr("&Alias:"), this);
    aliasLabel->setBuddy(alias_);
    form->addRow(pathLabel, path);
    form->addRow(aliasLabel, alias_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    useFileName_ = buttons->addButton(tr("&Use File Name"), QDialogButtonBox::ActionRole);
    connect(useFileName_, &QPushButton::clicked, this, &CTabAliasDialog::UseFileName);
    connect(buttons, &QDialogButtonBox::accepted, this, &CTabAliasDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CTabAliasDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

QString CTabAliasDialog::Alias() const {
    return alias_->text();
}

void CTabAliasDialog::UseFileName() {
    alias_->setText(CTabStrip::FileNameOf(fullPath_));
    alias_->setFocus();
}

void CTabAliasDialog::accept() {
    if (alias_->text().isEmpty()) {
        ShowRefusal(ui_, this, u"Please enter alias.");
        alias_->setFocus();
        return;
    }
    QDialog::accept();
}

}  // namespace app_ui
