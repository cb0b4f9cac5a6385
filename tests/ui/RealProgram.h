#pragma once
// What the tests that start the real program share: where it is, a private X
// server for it, and running a helper program to its end.

#include <xcb/xcb.h>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStandardPaths>
#include <QString>
#include <QStringList>
#include <cstdlib>

namespace realprogram {

inline QString ProgramPath() {
    return QDir(QStringLiteral(TARVIK_TOOLS_DIR "/../src")).absoluteFilePath("tarvik");
}

// Runs a helper program to its end and gives its output; empty when it fails.
inline QString RunTool(const QString& program, const QStringList& args,
                       const QProcessEnvironment& env) {
    QProcess tool;
    tool.setProcessEnvironment(env);
    tool.start(program, args);
    if (!tool.waitForFinished(30000)) {
        tool.kill();
        tool.waitForFinished();
        return {};
    }
    if (tool.exitStatus() != QProcess::NormalExit || tool.exitCode() != 0) return {};
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

// A private X server, so that keys reach the program as a user's would.
class XServer {
public:
    static bool Available() {
        return !QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty();
    }

    XServer() {
        server_.start(QStringLiteral("Xvfb"),
                      {QStringLiteral("-displayfd"), QStringLiteral("1"), QStringLiteral("-screen"),
                       QStringLiteral("0"), QStringLiteral("1024x768x24"),
                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
        if (!server_.waitForStarted(10000)) return;
        while (server_.state() == QProcess::Running && !server_.canReadLine()) {
            server_.waitForReadyRead(30000);
        }
        const QByteArray number = server_.readLine().trimmed();
        if (!number.isEmpty()) display_ = QStringLiteral(":") + QString::fromLatin1(number);
    }
    ~XServer() {
        server_.terminate();
        if (!server_.waitForFinished(10000)) server_.kill();
        server_.waitForFinished();
    }
    QString Display() const { return display_; }

private:
    QProcess server_;
    QString display_;
};

// A system tray on a bare X server, as far as programs can tell: it owns the
// tray selection of screen 0 (the docking requests go unanswered).
class SystemTray {
public:
    explicit SystemTray(const QString& display) {
        connection_ = xcb_connect(display.toLatin1().constData(), nullptr);
        if (xcb_connection_has_error(connection_)) return;
        xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        const xcb_window_t window = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        const char name[] = "_NET_SYSTEM_TRAY_S0";
        xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
            connection_, xcb_intern_atom(connection_, 0, sizeof name - 1, name), nullptr);
        if (atom == nullptr) return;
        xcb_set_selection_owner(connection_, window, atom->atom, XCB_CURRENT_TIME);
        std::free(atom);
        xcb_flush(connection_);
    }
    ~SystemTray() { xcb_disconnect(connection_); }
    SystemTray(const SystemTray&) = delete;
    SystemTray& operator=(const SystemTray&) = delete;

private:
    xcb_connection_t* connection_ = nullptr;
};

// The environment for the program on display: its own store and runtime
// folder. On a real X server the desktop bus library keeps a buffer to the
// end, which the leak checker must not count against the program.
inline QProcessEnvironment XProgramEnvironment(const QString& display, const QString& store,
                                               const QString& runtimeFolder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.insert(QStringLiteral("DISPLAY"), display);
    env.insert(QStringLiteral("TARVIK_REGISTRY"), store);
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtimeFolder);
    const QString suppressions = QDir(runtimeFolder).filePath(QStringLiteral("leaks.supp"));
    QFile file(suppressions);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) file.write("leak:libdbus-1.so\n");
    env.insert(QStringLiteral("LSAN_OPTIONS"), QStringLiteral("suppressions=") + suppressions);
    return env;
}

}  // namespace realprogram
