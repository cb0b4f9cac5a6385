#include "app/ui/GlobalHotKey.h"

#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <QGuiApplication>
#include <cstdlib>
#include <string>

#include "platform/DebugOutput.h"

namespace app_ui {

namespace {

constexpr unsigned kModifiers = ControlMask | ShiftMask;
// The key must work with Caps Lock and Num Lock on as well.
constexpr unsigned kLockVariants[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

QNativeInterface::QX11Application* X11() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return nullptr;
    return qApp->nativeInterface<QNativeInterface::QX11Application>();
}

Display* X11Display() {
    auto* x11 = X11();
    return x11 ? x11->display() : nullptr;
}

// Grabs the key in one modifier variant and waits for the server's answer:
// a key another program holds already is refused with an error.
bool GrabChecked(xcb_connection_t* connection, Window root, KeyCode keycode, unsigned mods) {
    const xcb_void_cookie_t cookie = xcb_grab_key_checked(
        connection, 1, static_cast<xcb_window_t>(root), static_cast<std::uint16_t>(mods), keycode,
        XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    xcb_generic_error_t* error = xcb_request_check(connection, cookie);
    if (error == nullptr) return true;
    std::free(error);
    return false;
}

}  // namespace

CGlobalHotKey::CGlobalHotKey(QObject* parent) : QObject(parent) {}

CGlobalHotKey::~CGlobalHotKey() {
    Unregister();
}

QString CGlobalHotKey::UnavailableReason(const QString& platformName) {
    if (!platformName.startsWith(QStringLiteral("wayland"))) return {};
    return tr(
        "On Wayland no program can have a global hot key: Ctrl+Shift+H is not "
        "available.");
}

bool CGlobalHotKey::Register() {
    wanted_ = true;
    if (IsRegistered()) return true;
    auto* x11 = X11();
    Display* display = x11 ? x11->display() : nullptr;
    xcb_connection_t* connection = x11 ? x11->connection() : nullptr;
    if (display == nullptr || connection == nullptr) return false;
    const KeyCode keycode = XKeysymToKeycode(display, XK_H);
    if (keycode == 0) return false;
    const Window root = DefaultRootWindow(display);
    bool grabbed = true;
    for (unsigned lock : kLockVariants) {
        grabbed = grabbed && GrabChecked(connection, root, keycode, kModifiers | lock);
    }
    if (!grabbed) {
        // Gives back the variants that were had: all or nothing.
        for (unsigned lock : kLockVariants) {
            xcb_ungrab_key(connection, keycode, static_cast<xcb_window_t>(root),
                           static_cast<std::uint16_t>(kModifiers | lock));
        }
        xcb_flush(connection);
        if (!refusalReported_) {
            refusalReported_ = true;
            platform::OutputDebugStringA(std::string(platform::kDebugPrefix) +
                                         "The hot key Ctrl+Shift+H is in use by another program.");
        }
        return false;
    }
    keycode_ = keycode;
    qApp->installNativeEventFilter(this);
    return true;
}

void CGlobalHotKey::Unregister() {
    wanted_ = false;
    if (!IsRegistered()) return;
    if (Display* display = X11Display()) {
        const Window root = DefaultRootWindow(display);
        for (unsigned lock : kLockVariants) {
            XUngrabKey(display, static_cast<int>(keycode_), kModifiers | lock, root);
        }
        XSync(display, False);
    }
    if (qApp) qApp->removeNativeEventFilter(this);
    keycode_ = 0;
}

bool CGlobalHotKey::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
    if (!IsRegistered() || eventType != "xcb_generic_event_t" || message == nullptr) return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7F) != XCB_KEY_PRESS) return false;
    const auto* key = static_cast<const xcb_key_press_event_t*>(message);
    if (key->detail != keycode_ || (key->state & kModifiers) != kModifiers) return false;
    emit activated();
    return true;
}

}  // namespace app_ui
