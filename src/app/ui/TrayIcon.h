#pragma once
// The tray icon shown while the main window hides in the tray. New data
// makes it blink between the normal and the alternate image every 600 ms and
// extends its tip, until the window comes back. The "SYSTRAY_POPUP" menu and
// the clicks leave as signals. Without a system tray (offscreen, some
// desktops) the state is kept all the same, so nothing depends on one; the
// main window asks IsAvailable before it hides itself here.

#include <QIcon>
#include <QObject>
#include <QString>
#include <QSystemTrayIcon>
#include <QTimer>
#include <functional>

class QMenu;

namespace app_ui {

class CTrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kBlinkPeriodMs = 600;

    explicit CTrayIcon(QObject* parent = nullptr);
    ~CTrayIcon() override;

    // How often a shown icon checks that the tray is still there.
    static constexpr int kAvailabilityCheckMs = 2000;

    // Whether the desktop has a system tray now. The probe replaces the
    // platform's answer (an empty probe restores it).
    static bool IsAvailable();
    static void SetAvailabilityProbe(std::function<bool()> probe);
    // Why the tray commands are disabled, for tool tips.
    static QString UnavailableReason();

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

    // Emits trayLost when the icon is shown and the tray has gone; a shown
    // icon runs it periodically.
    void CheckAvailability();

    QMenu* PopupMenu() const { return menu_; }
    QSystemTrayIcon* SystemIcon() const { return icon_; }

signals:
    // A left click or "&Show Window".
    void showWindowRequested();
    // "E&xit" in the pop-up menu.
    void exitRequested();
    // The tray went away while the icon was shown in it.
    void trayLost();

private:
    void BlinkStep();
    void OnActivated(QSystemTrayIcon::ActivationReason reason);

    QSystemTrayIcon* icon_ = nullptr;
    QMenu* menu_ = nullptr;
    QIcon normal_;
    QIcon alternateIcon_;
    QTimer blinkTimer_;
    QTimer availabilityTimer_;
    QString tip_;
    bool shown_ = false;
    bool alternate_ = false;
};

}  // namespace app_ui
