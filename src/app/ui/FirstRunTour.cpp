#include "app/ui/FirstRunTour.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/AppProfile.h"

namespace app_ui {

CFirstRunTour::CFirstRunTour(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("Quick Tour"));
    pages_ = {
        tr("<b>Follow log files</b><p>Open one or more files with File, Open or by dropping "
           "them on the window. New lines appear as the files grow.</p>"),
        tr("<b>Spot what matters</b><p>Highlight filters colour the lines you care about; a red "
           "line marks where new text began while you looked elsewhere.</p>"),
        tr("<b>Stay out of the way</b><p>Press Esc or minimize to send the window to the tray. "
           "The tab of a file that changes flashes until you look at it.</p>"),
        tr("<b>Pick up where you left</b><p>Tools, Options can reopen your recent files at "
           "start-up and arrange their windows the way you like.</p>"),
    };
    text_ = new QLabel(this);
    text_->setWordWrap(true);
    text_->setMinimumSize(360, 120);
    text_->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    showAtStart_ = new QCheckBox(tr("&Show this tour at start-up"), this);
    showAtStart_->setChecked(true);
    back_ = new QPushButton(tr("&Back"), this);
    next_ = new QPushButton(tr("&Next"), this);
    auto* close = new QPushButton(tr("Close"), this);
    connect(back_, &QPushButton::clicked, this, [this] { ShowPage(page_ - 1); });
    connect(next_, &QPushButton::clicked, this, [this] { ShowPage(page_ + 1); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(showAtStart_);
    buttons->addStretch();
    buttons->addWidget(back_);
    buttons->addWidget(next_);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addLayout(buttons);
    const std::uint32_t stored = settings::AppProfile::QTourID();
    ShowPage(stored < static_cast<std::uint32_t>(pages_.size()) ? static_cast<int>(stored) : 0);
}

bool CFirstRunTour::Wanted() {
    return settings::AppProfile::ShowQTour();
}

void CFirstRunTour::ShowPage(int page) {
    page_ = std::clamp(page, 0, PageCount() - 1);
    text_->setText(pages_.at(page_));
    back_->setEnabled(page_ > 0);
    next_->setEnabled(page_ + 1 < PageCount());
}

void CFirstRunTour::done(int result) {
    settings::AppProfile::SetQTourID(static_cast<std::uint32_t>(page_));
    settings::AppProfile::SetShowQTour(showAtStart_->isChecked());
    QDialog::done(result);
}

}  // namespace app_ui
