#include "app/ui/RefreshRateDialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

#include "app/RefreshRate.h"
#include "app/ui/DialogText.h"
#include "app/ui/StepRangeSpinBox.h"

namespace app_ui {

CRefreshRateDialog::CRefreshRateDialog(app::CTarvikApp& app, QWidget* parent)
    : QDialog(parent), app_(app) {
    setWindowTitle(tr("Set Refresh Rate"));
    constexpr int kTypedMax = static_cast<int>(app::kRefreshRateMax);
    rate_ = new CStepRangeSpinBox(0, kTypedMax, 1, app::kRefreshRateSpinMax, this);
    rate_->setObjectName(QStringLiteral("IntervalChkFile"));
    rate_->setValue(static_cast<int>(
        std::min<std::uint32_t>(app_.GetOptions().IntervalChkFile, app::kRefreshRateMax)));
    rate_->selectAll();

    auto* row = new QHBoxLayout;
    row->addWidget(rate_, 1);
    row->addWidget(new QLabel(tr("millisecond(s)"), this));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CRefreshRateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CRefreshRateDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
}

void CRefreshRateDialog::accept() {
    result_ = app_.SetRefreshRate(ToU16(rate_->cleanText()));
    if (result_ == app::RefreshRateResult::Refused) {
        rate_->setFocus();
        rate_->selectAll();
        return;
    }
    QDialog::accept();
}

}  // namespace app_ui
