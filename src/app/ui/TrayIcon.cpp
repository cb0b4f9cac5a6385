#include "app/ui/TrayIcon.h"

#include <QMenu>

#include "app/ui/FrameIcons.h"

namespace app_ui {

namespace {

std::function<bool()>& AvailabilityProbe() {
    static std::function<bool()> probe;
    return probe;
}

}  // namespace

bool CTrayIcon::IsAvailable() {
    const auto& probe = AvailabilityProbe();
    return probe ? probe() : QSystemTrayIcon::isSystemTrayAvailable();
}

void CTrayIcon::SetAvailabilityProbe(std::function<bool()> probe) {
    AvailabilityProbe() = std::move(probe);
}

QString CTrayIcon::UnavailableReason() {
    return tr("This desktop has no system tray.");
}

CTrayIcon::CTrayIcon(QObject* parent)
    : QObject(parent), normal_(ApplicationIcon()), alternateIcon_(TrayAlternateIcon()) {
    icon_ = new QSystemTrayIcon(normal_, this);
    menu_ = new QMenu;
    menu_->setObjectName(QStringLiteral("SYSTRAY_POPUP"));
    QAction* show = menu_->addAction(tr("&Show Window"), this, &CTrayIcon::showWindowRequested);
    menu_->setDefaultAction(show);
    menu_->addSeparator();
    menu_->addAction(tr("E&xit"), this, &CTrayIcon::exitRequested);
    icon_->setContextMenu(menu_);
    connect(icon_, &QSystemTrayIcon::activated, this, &CTrayIcon::OnActivated);
    blinkTimer_.setInterval(kBlinkPeriodMs);
    connect(&blinkTimer_, &QTimer::timeout, this, &CTrayIcon::BlinkStep);
    availabilityTimer_.setInterval(kAvailabilityCheckMs);
    connect(&availabilityTimer_, &QTimer::timeout, this, &CTrayIcon::CheckAvailability);
    tip_ = NormalTip();
}

// The menu has no parent widget (a tray menu belongs to no window).
CTrayIcon::~CTrayIcon() {
    delete menu_;
}

QString CTrayIcon::NormalTip() {
    return QStringLiteral("Ostra Tarvik (Unicode)");
}

QString CTrayIcon::NewDataTip() {
    return NormalTip() + QStringLiteral(" - New data arrived!");
}

void CTrayIcon::Show() {
    if (shown_) return;
    alternate_ = false;
    tip_ = NormalTip();
    icon_->setIcon(normal_);
    icon_->setToolTip(tip_);
    icon_->show();
    shown_ = true;
    availabilityTimer_.start();
}

void CTrayIcon::Hide() {
    blinkTimer_.stop();
    availabilityTimer_.stop();
    icon_->hide();
    shown_ = false;
    alternate_ = false;
}

void CTrayIcon::CheckAvailability() {
    if (shown_ && !IsAvailable()) emit trayLost();
}

void CTrayIcon::StartBlink() {
    if (!shown_) return;
    tip_ = NewDataTip();
    icon_->setToolTip(tip_);
    BlinkStep();
    blinkTimer_.start();
}

void CTrayIcon::BlinkStep() {
    alternate_ = !alternate_;
    icon_->setIcon(alternate_ ? alternateIcon_ : normal_);
}

void CTrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
    if (reason == QSystemTrayIcon::Trigger) emit showWindowRequested();
}

}  // namespace app_ui
