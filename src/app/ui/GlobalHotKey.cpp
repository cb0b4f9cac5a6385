#include "app/ui/GlobalHotKey.h"

#include <QtGui/qguiapplication_platform.h>
#include <X11/Xlib.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>
#include <QGuiApplication>

namespace app_ui {

namespace {

constexpr unsigned kModifiers = ControlMask | ShiftMask;
// The key must work with Caps Lock and Num Lock on as well.
constexpr unsigned kLockVariants[] = {0, LockMask, Mod2Mask, LockMask | Mod2Mask};

Display* X11Display() {
    if (QGuiApplication::platformName() != QStringLiteral("xcb")) return nullptr;
    auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->display() : nullptr;
}

}  // namespace

CGlobalHotKey::CGlobalHotKey(QObject* parent) : QObject(parent) {}

CGlobalHotKey::~CGlobalHotKey() {
    Unregister();
}

bool CGlobalHotKey::Register() {
    if (IsRegistered()) return true;
    Display* display = X11Display();
    if (display == nullptr) return false;
    const KeyCode keycode = XKeysymToKeycode(display, XK_H);
    if (keycode == 0) return false;
    const Window root = DefaultRootWindow(display);
    for (unsigned lock : kLockVariants) {
        XGrabKey(display, keycode, kModifiers | lock, root, True, GrabModeAsync, GrabModeAsync);
    }
    XSync(display, False);
    keycode_ = keycode;
    qApp->installNativeEventFilter(this);
    return true;
}

void CGlobalHotKey::Unregister() {
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
