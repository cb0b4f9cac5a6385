#pragma once
// The tray icon shown while the main window hides in the tray. New data
// makes it blink between the normal and the alternate image every 600 ms and
// extends its tip, until the window comes back. The "SYSTRAY_POPUP" menu and
// the clicks leave as signals. Without a system tray (offscreen, some
// desktops) the state is kept all the same, so nothing depends on one.

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>

class QMenu;

namespace app_ui {

class CTrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kBlinkPeriodMs = 600;

    explicit CTrayIcon(QObject* parent = nullptr);
    ~CTrayIcon() override;

    static QString NormalTip();
    static QString NewDataTip();

    // Adds the icon with the normal image and tip.
    void Show();
    // Stops the blinking and removes the icon.
    void Hide();
    bool IsShown() const { return shown_; }

    // Sets the new-data tip, takes one blink step and starts blinking.
    void StartBlink();
    bool IsBlinking() const { return blinkTimer_.isActive(); }
    bool ShowsAlternate() const { return alternate_; }
    QString ToolTip() const { return tip_; }

    QMenu* PopupMenu() const { return menu_; }
    QSystemTrayIcon* SystemIcon() const { return icon_; }

signals:
    // A left click or "&Show Window".
    void showWindowRequested();
    // "E&xit" in the pop-up menu.
    void exitRequested();

private:
    void BlinkStep();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    QIcon normal_;
    QIcon alternateIcon_;
    QTimer blinkTimer_;
    QString tip_;
    bool shown_ = false;
    bool alternate_ = false;
};

}  // namespace app_ui
