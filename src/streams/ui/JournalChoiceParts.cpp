#include "streams/ui/JournalChoiceParts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <algorithm>

namespace streams_ui {

namespace {

constexpr const char* kPriorityNames[] = {"emerg",   "alert",  "crit", "err",
                                          "warning", "notice", "info", "debug"};

}  // namespace

QString FromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::string ToUtf8(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

CBootChoice::CBootChoice(bool thisBoot, QWidget* parent) : QWidget(parent) {
    whole_ = new QRadioButton(tr("The &whole journal"), this);
    whole_->setObjectName(QStringLiteral("WholeJournal"));
    thisBoot_ = new QRadioButton(tr("This &boot only"), this);
    thisBoot_->setObjectName(QStringLiteral("ThisBoot"));
    (thisBoot ? thisBoot_ : whole_)->setChecked(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(whole_);
    row->addWidget(thisBoot_);
    row->addStretch();
}

bool CBootChoice::ThisBoot() const {
    return thisBoot_->isChecked();
}

QComboBox* MakePriorityBox(int maxPriority) {
    auto* box = new QComboBox;
    box->setObjectName(QStringLiteral("Priority"));
    box->addItem(QObject::tr("any"), -1);
    for (int level = 0; level < 8; ++level) {
        box->addItem(QStringLiteral("%1 (%2)").arg(QLatin1String(kPriorityNames[level])).arg(level),
                     level);
    }
    box->setCurrentIndex(std::max(0, box->findData(maxPriority)));
    return box;
}

int ChosenPriority(const QComboBox* box) {
    return box->currentData().toInt();
}

}  // namespace streams_ui
