#pragma once
// The global hot key Ctrl+Shift+H that brings the main window back from the
// tray. On X11 the key is grabbed on the root window; elsewhere (Wayland, the
// offscreen platform) there is no global key and Register says so.

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <QString>

namespace app_ui {

class CGlobalHotKey : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    explicit CGlobalHotKey(QObject* parent = nullptr);
    ~CGlobalHotKey() override;

    // Grabs Ctrl+Shift+H; false where no global key can be had or another
    // program holds it already (said once on the debug output).
    bool Register();
    void Unregister();
    bool IsRegistered() const { return keycode_ != 0; }
    // Whether the key is asked for (between Register and Unregister), had
    // or not.
    bool IsWanted() const { return wanted_; }
    // Why the platform offers no global key (empty where it may): said in
    // the Options dialog.
    static QString UnavailableReason(const QString& platformName);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

signals:
    void activated();

private:
    unsigned keycode_ = 0;
    bool refusalReported_ = false;
    bool wanted_ = false;
};

}  // namespace app_ui
