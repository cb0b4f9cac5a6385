#include "app/ui/StatusPanes.h"

#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QTime>

#include "app/ui/DialogText.h"
#include "app/ui/FrameIcons.h"

namespace app_ui {

namespace {

constexpr int kMonitoringIconSize = 16;

struct PaneLayout {
    const char* label;
    int width;
};

constexpr PaneLayout kPanes[CStatusPanes::kPaneCount] = {
    {"Clock", 60},
    {"Monitoring status", 18},
    {"Caret position", 100},
    {"Text length in editor", 70},
    {"Maximum buffer size", 70},
    {"Refresh rate", 50},
};

}  // namespace

CStatusPanes::CStatusPanes(QStatusBar* bar) : QObject(bar) {
    for (int index = 0; index < kPaneCount; ++index) {
        panes_[index] = AddPane(bar, tr(kPanes[index].label), kPanes[index].width);
    }
    clockTimer_.setInterval(kClockPeriodMs);
    connect(&clockTimer_, &QTimer::timeout, this, &CStatusPanes::UpdateClock);
}

QLabel* CStatusPanes::AddPane(QStatusBar* bar, const QString& label, int width) {
    auto* pane = new QLabel(bar);
    pane->setToolTip(label);
    pane->setMinimumWidth(width);
    pane->setAlignment(Qt::AlignCenter);
    pane->installEventFilter(this);
    bar->addPermanentWidget(pane);
    return pane;
}

QLabel* CStatusPanes::PaneLabel(Pane pane) const {
    const int index = static_cast<int>(pane) - 1;
    return index >= 0 && index < kPaneCount ? panes_[index] : nullptr;
}

QString CStatusPanes::ClockText(const QTime& time) {
    return QStringLiteral("%1:%2:%3")
        .arg(time.hour())
        .arg(time.minute(), 2, 10, QLatin1Char('0'))
        .arg(time.second(), 2, 10, QLatin1Char('0'));
}

void CStatusPanes::SetClockEnabled(bool enabled) {
    if (enabled) {
        UpdateClock();
        clockTimer_.start();
        return;
    }
    clockTimer_.stop();
    PaneLabel(Clock)->clear();
}

void CStatusPanes::UpdateClock() {
    PaneLabel(Clock)->setText(ClockText(QTime::currentTime()));
}

void CStatusPanes::SetMonitoring(Monitoring state) {
    if (state == monitoring_) return;
    monitoring_ = state;
    QLabel* pane = PaneLabel(MonitoringState);
    switch (state) {
        case Monitoring::Running:
            pane->setPixmap(MonitoringIcon().pixmap(kMonitoringIconSize));
            pane->setToolTip(tr("Monitoring"));
            break;
        case Monitoring::Stopped:
            pane->setPixmap(StoppedIcon().pixmap(kMonitoringIconSize));
            pane->setToolTip(tr("Stopped"));
            break;
        case Monitoring::NoDocument:
            pane->clear();
            pane->setToolTip(tr("Monitoring status"));
            break;
    }
}

void CStatusPanes::SetCaretText(std::u16string_view text) {
    PaneLabel(CaretPosition)->setText(ToQString(text));
}

void CStatusPanes::SetTextLengthText(std::u16string_view text) {
    PaneLabel(TextLength)->setText(ToQString(text));
}

void CStatusPanes::SetMaxBufferSizeText(std::u16string_view text) {
    PaneLabel(MaxBufferSize)->setText(ToQString(text));
}

void CStatusPanes::SetRefreshRateText(std::u16string_view text) {
    PaneLabel(RefreshRate)->setText(ToQString(text));
}

bool CStatusPanes::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        for (int index = 0; index < kPaneCount; ++index) {
            if (panes_[index] == watched) ReportDoubleClick(index + 1);
        }
    }
    return QObject::eventFilter(watched, event);
}

void CStatusPanes::ReportDoubleClick(int pane) {
    emit paneDoubleClicked(pane);
    if (pane == Clock) emit optionsRequested();
    if (pane == MaxBufferSize) emit bufferSizeRequested();
    if (pane == RefreshRate) emit refreshRateRequested();
}

}  // namespace app_ui
