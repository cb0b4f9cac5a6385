#include "capture/ui/CapturedProcessDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "view/PlainMessageBox.h"

namespace capture_ui {

CCapturedProcessDialog::CCapturedProcessDialog(bool allProcesses, std::uint32_t processId,
                                               core::IUserInterface* ui, QWidget* parent)
    : QDialog(parent), ui_(ui) {
    setWindowTitle(tr("Set Captured Process ID"));
    all_ = new QRadioButton(tr("Capture &all processes"));
    all_->setObjectName(QStringLiteral("AllProcesses"));
    single_ = new QRadioButton(tr("Capture &single process"));
    single_->setObjectName(QStringLiteral("SingleProcess"));
    processId_ = new QLineEdit(QString::number(processId));
    processId_->setObjectName(QStringLiteral("ProcessId"));
    // Up to ten digits; values beyond 32 bits are refused when read.
    processId_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), this));
    (allProcesses ? all_ : single_)->setChecked(true);

    auto* field = new QFormLayout;
    field->addRow(tr("&Process ID:"), processId_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(all_);
    layout->addWidget(single_);
    layout->addLayout(field);
    layout->addWidget(buttons);

    connect(single_, &QRadioButton::toggled, this, [this] { UpdateField(); });
    UpdateField();
}

void CCapturedProcessDialog::UpdateField() {
    processId_->setEnabled(single_->isChecked());
}

bool CCapturedProcessDialog::AllProcesses() const {
    return all_->isChecked();
}

std::optional<std::uint32_t> CCapturedProcessDialog::ProcessId() const {
    bool ok = false;
    const qulonglong value = processId_->text().toULongLong(&ok);
    if (!ok || value > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<std::uint32_t>(value);
}

void CCapturedProcessDialog::accept() {
    // All processes keep the stored id as it is, whatever the field holds.
    if (single_->isChecked() && !ProcessId()) {
        const std::u16string_view text = u"Please enter a process ID from 0 to 4294967295.";
        if (ui_) {
            ui_->ShowMessage(text, core::MessageIcon::Exclamation);
        } else {
            view::ShowPlainMessage(this, QMessageBox::Warning,
                                   QString::fromStdU16String(std::u16string(text)));
        }
        processId_->setFocus();
        processId_->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace capture_ui
