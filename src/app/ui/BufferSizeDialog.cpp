#include "app/ui/BufferSizeDialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QVBoxLayout>

#include <limits>

#include "app/TarvikApp.h"
#include "app/ui/DialogText.h"

namespace app_ui {

namespace {

constexpr std::uint64_t kUnitBytes[] = {1, 1024, 1024 * 1024};

}  // namespace

CBufferSizeDialog::CBufferSizeDialog(app::CTarvikApp& app, core::IUserInterface* ui,
                                     QWidget* parent)
    : QDialog(parent), app_(app), ui_(ui) {
    setWindowTitle(tr("Buffer Size"));
    const app::BufferLimit current = app::BufferLimitOf(app_.GetOptions());

    limit_ = new QCheckBox(tr("&Limit the buffer size of each document"), this);
    limit_->setObjectName(QStringLiteral("LimitBufSize"));
    limit_->setChecked(current.limit);

    size_ = new QLineEdit(this);
    size_->setObjectName(QStringLiteral("MaxBufSiz"));
    size_->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,10}")), size_));
    unit_ = new QComboBox(this);
    unit_->setObjectName(QStringLiteral("MaxBufSizUnit"));
    unit_->addItems({tr("bytes"), tr("KB"), tr("MB")});
    ShowSize(current.maxBytes);

    retain_ = new QSpinBox(this);
    retain_->setObjectName(QStringLiteral("RetainLineNum"));
    retain_->setRange(0, std::numeric_limits<int>::max());
    retain_->setValue(current.retainLines);

    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(size_, 1);
    sizeRow->addWidget(unit_);
    auto* form = new QFormLayout;
    form->addRow(tr("&Maximum buffer size:"), sizeRow);
    form->addRow(tr("Lines are kept when truncating:"), retain_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CBufferSizeDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CBufferSizeDialog::reject);
    connect(limit_, &QCheckBox::toggled, this, &CBufferSizeDialog::UpdateEnabledStates);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(limit_);
    layout->addLayout(form);
    layout->addWidget(buttons);
    UpdateEnabledStates();
}

std::optional<std::uint32_t> CBufferSizeDialog::ParseSize(const QString& text, Unit unit) {
    bool isNumber = false;
    const qulonglong count = text.trimmed().toULongLong(&isNumber);
    if (!isNumber || count == 0) return std::nullopt;
    const std::uint64_t unitBytes = kUnitBytes[unit];
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
    if (count > kMax / unitBytes) return std::nullopt;
    return static_cast<std::uint32_t>(count * unitBytes);
}

// The largest unit that shows the size exactly.
void CBufferSizeDialog::ShowSize(std::uint32_t bytes) {
    int unit = Bytes;
    for (int candidate = Megabytes; candidate > Bytes; --candidate) {
        if (bytes != 0 && bytes % kUnitBytes[candidate] == 0) {
            unit = candidate;
            break;
        }
    }
    unit_->setCurrentIndex(unit);
    size_->setText(QString::number(bytes / kUnitBytes[unit]));
}

void CBufferSizeDialog::UpdateEnabledStates() {
    const bool on = limit_->isChecked();
    size_->setEnabled(on);
    unit_->setEnabled(on);
    retain_->setEnabled(on);
}

// Without the limit the size box is greyed out; whatever it holds then, a
// size that cannot be read keeps the current one.
std::optional<app::BufferLimit> CBufferSizeDialog::ReadLimit() const {
    const std::optional<std::uint32_t> bytes =
        ParseSize(size_->text(), static_cast<Unit>(unit_->currentIndex()));
    if (!bytes && limit_->isChecked()) return std::nullopt;
    return app::BufferLimit{limit_->isChecked(), bytes.value_or(app_.GetOptions().MaxBufSiz),
                            retain_->value()};
}

void CBufferSizeDialog::accept() {
    const std::optional<app::BufferLimit> limit = ReadLimit();
    if (!limit) {
        ShowRefusal(ui_, this, kBufferSizeRefused);
        size_->setFocus();
        size_->selectAll();
        return;
    }
    app::ApplyBufferLimit(app_, *limit);
    QDialog::accept();
}

}  // namespace app_ui
