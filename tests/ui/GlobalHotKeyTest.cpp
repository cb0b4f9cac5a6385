// The global hot key is an X11 facility; elsewhere it refuses quietly.

#include <xcb/xcb.h>
#include <QSignalSpy>
#include <QtTest>

#include "app/ui/GlobalHotKey.h"

class GlobalHotKeyTest : public QObject {
    Q_OBJECT
private slots:
    void WithoutX11NothingIsGrabbedAndNoKeyActivates() {
        app_ui::CGlobalHotKey hotKey;
        QSignalSpy activated(&hotKey, &app_ui::CGlobalHotKey::activated);
        QVERIFY(!hotKey.Register());
        QVERIFY(!hotKey.IsRegistered());

        // A key press of the window system reaching the filter does nothing
        // while no key is grabbed.
        xcb_key_press_event_t press{};
        press.response_type = XCB_KEY_PRESS;
        press.detail = 43;
        press.state = XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_SHIFT;
        QVERIFY(!hotKey.nativeEventFilter("xcb_generic_event_t", &press, nullptr));
        QCOMPARE(activated.count(), 0);

        hotKey.Unregister();  // unregistering what was never registered is harmless
        QVERIFY(!hotKey.IsRegistered());
    }
};

QTEST_MAIN(GlobalHotKeyTest)
#include "GlobalHotKeyTest.moc"
