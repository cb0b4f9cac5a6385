// The global hot key is an X11 facility; elsewhere it refuses quietly, and on
// Wayland the Options dialog says why. Under a real X server the key is taken
// only while the window is in the tray, so two shown programs both leave it
// to others.

#include <xcb/xcb.h>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "app/TarvikApp.h"
#include "app/ui/GlobalHotKey.h"
#include "platform/Registry.h"
#include "settings/AppProfile.h"
#include "settings/OptionsStore.h"

#include "RealProgram.h"

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

    void onlyWaylandIsNamedAsHavingNoHotKey() {
        QVERIFY(app_ui::CGlobalHotKey::UnavailableReason(QStringLiteral("wayland"))
                    .contains(QStringLiteral("Wayland")));
        QVERIFY(!app_ui::CGlobalHotKey::UnavailableReason(QStringLiteral("wayland-egl")).isEmpty());
        QVERIFY(app_ui::CGlobalHotKey::UnavailableReason(QStringLiteral("xcb")).isEmpty());
        QVERIFY(app_ui::CGlobalHotKey::UnavailableReason(QStringLiteral("offscreen")).isEmpty());
    }

    // Two shown programs on one X server with the hot key on: neither takes
    // the key (it is taken only from the tray), so neither is refused.
    void shownProgramsLeaveTheKeyToOthers() {
        const QString program = realprogram::ProgramPath();
        if (!QFile::exists(program)) QSKIP("the tarvik program is not built");
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xdotool.isEmpty() || !realprogram::XServer::Available()) {
            QSKIP("Xvfb and xdotool are needed (scripts/deps.sh installs them)");
        }
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString store = dir.filePath(QStringLiteral("registry.db"));
        platform::registry_store::UsePath(store.toStdString());
        {
            app::CTarvikApp app;
            bool maximized = true;
            settings::WindowRect rect;
            app.LoadOptions(maximized, rect);
            app.GetOptions().EnableHotkey = true;
            app.GetOptions().OnlyOneInstance = false;
            app.SaveOptions(settings::option_group::kOptionsDialog, false, nullptr);
            QVERIFY(settings::AppProfile::SetShowQTour(false));
        }
        realprogram::XServer server;
        QVERIFY(!server.Display().isEmpty());
        const QProcessEnvironment env =
            realprogram::XProgramEnvironment(server.Display(), store, dir.path());
        const auto shown = [&](const QProcess& process) {
            return !realprogram::RunTool(
                        xdotool,
                        {QStringLiteral("search"), QStringLiteral("--sync"),
                         QStringLiteral("--onlyvisible"), QStringLiteral("--all"),
                         QStringLiteral("--pid"), QString::number(process.processId()),
                         QStringLiteral("--name"), QStringLiteral("^Ostra Tarvik")},
                        env)
                        .isEmpty();
        };
        QProcess first;
        QProcess second;
        for (QProcess* process : {&first, &second}) {
            process->setProcessEnvironment(env);
            process->start(program, {});
            QVERIFY(process->waitForStarted(10000));
            QVERIFY(shown(*process));
        }
        for (QProcess* process : {&second, &first}) {
            process->terminate();
            if (!process->waitForFinished(30000)) process->kill();
        }
        const QString refusal =
            QStringLiteral("[Ostra Tarvik]: The hot key Ctrl+Shift+H is in use");
        const QString firstSaid = QString::fromLocal8Bit(first.readAllStandardError());
        const QString secondSaid = QString::fromLocal8Bit(second.readAllStandardError());
        QVERIFY2(firstSaid.count(refusal) == 0, qPrintable(firstSaid));
        QVERIFY2(secondSaid.count(refusal) == 0, qPrintable(secondSaid));
    }
};

QTEST_MAIN(GlobalHotKeyTest)
#include "GlobalHotKeyTest.moc"
