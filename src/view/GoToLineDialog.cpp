#include "view/GoToLineDialog.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <algorithm>

#include "view/PlainMessageBox.h"

namespace view {

CGoToLineDialog::CGoToLineDialog(int lineCount, int lastLine, QWidget* parent)
    : QDialog(parent), lineCount_(std::max(1, lineCount)), line_(std::max(1, lastLine)) {
    setWindowTitle(tr("Go to Line"));
    prompt_ = new QLabel(PromptText(lineCount_), this);
    edit_ = new QLineEdit(QString::number(line_), this);
    edit_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), edit_));
    edit_->selectAll();
    prompt_->setBuddy(edit_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CGoToLineDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CGoToLineDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(prompt_);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
}

std::optional<int> CGoToLineDialog::ParseLine(const QString& text, int lineCount) {
    bool isNumber = false;
    const qlonglong line = text.trimmed().toLongLong(&isNumber);
    if (!isNumber || line < 1 || line > lineCount) return std::nullopt;
    return static_cast<int>(line);
}

QString CGoToLineDialog::PromptText(int lineCount) {
    return QStringLiteral("Enter Line Number (1 - %1):").arg(lineCount);
}

QString CGoToLineDialog::RangeMessage(int lineCount) {
    return QStringLiteral("Please enter a number between 1 and %1.").arg(lineCount);
}

void CGoToLineDialog::accept() {
    const std::optional<int> line = ParseLine(edit_->text(), lineCount_);
    if (!line) {
        ShowRangeMessage(RangeMessage(lineCount_));
        edit_->setFocus();
        edit_->selectAll();
        return;
    }
    line_ = *line;
    QDialog::accept();
}

void CGoToLineDialog::ShowRangeMessage(const QString& message) {
    ShowPlainMessage(this, QMessageBox::Warning, message,
                     QGuiApplication::applicationDisplayName());
}

}  // namespace view
