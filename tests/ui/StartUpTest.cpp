// Start-up with real files and a real settings store: the recent files in the
// File menu, reopening them at start, and a later start handing its command
// line to the running program.

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include "app/TarvikApp.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/FirstRunTour.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/MainFrame.h"
#include "app/ui/RecentFilesMenu.h"
#include "app/ui/SplashScreen.h"
#include "app/ui/StartUp.h"
#include "app/ui/TrayIcon.h"
#include "core/TarvikDoc.h"
#include "discovery/RecentFileList.h"
#include "platform/Registry.h"
#include "platform/SingleInstance.h"
#include "settings/AppProfile.h"
#include "settings/OptionsStore.h"

#include "RealProgram.h"

using app_ui::CMainFrame;

namespace {

// Answers every message box that comes up and keeps its text.
class MessageBoxCatcher : public QObject {
public:
    QStringList texts;

    void Arm() {
        QTimer::singleShot(0, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                box->accept();
            }
            Arm();
        });
    }
};

QStringList DocumentPaths(const app::CTarvikApp& app) {
    QStringList paths;
    for (const auto& doc : app.Documents()) {
        paths << QString::fromStdU16String(doc->GetPathName());
    }
    return paths;
}

QStringList ListPaths(const discovery::CRecentFileList& list) {
    QStringList paths;
    for (const auto& entry : list.Entries()) paths << QString::fromStdU16String(entry);
    return paths;
}

// True once the running program listens for later starts in folder.
bool WaitForSocket(const QString& folder, int timeoutMs) {
    const platform::CSingleInstance names(app_ui::kInstanceMutexName, folder.toStdString());
    const QString socket = QString::fromStdString(names.SocketPath());
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (QFileInfo::exists(socket)) return true;
        QThread::msleep(50);
    }
    return false;
}

}  // namespace

class StartUpTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    int storeNumber_ = 0;
    QString storePath_;

    QString WriteFile(const QString& name, const QByteArray& content = "line\r\n") {
        const QString path = dir_.filePath(name);
        QFile file(path);
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(content);
        return path;
    }

    // Stores the list, newest first, as the previous run would have left it.
    static void StoreRecentList(const QStringList& newestFirst) {
        discovery::CRecentFileList list;
        for (auto it = newestFirst.crbegin(); it != newestFirst.crend(); ++it) {
            list.Add(it->toStdU16String());
        }
        QVERIFY(list.Save());
    }

private slots:
    void init() {
        ++storeNumber_;
        storePath_ = dir_.filePath(QStringLiteral("registry-%1.db").arg(storeNumber_));
        platform::registry_store::UsePath(storePath_.toStdString());
        // Offscreen there is no tray; these tests hide to one.
        app_ui::CTrayIcon::SetAvailabilityProbe([] { return true; });
    }

    void recentMenuNumbersTenEntriesAndDoublesAmpersands() {
        QStringList stored;
        for (int i = 1; i <= 12; ++i) stored << QStringLiteral("/var/log/f%1.log").arg(i);
        stored[0] = QStringLiteral("/var/log/a&b.log");
        StoreRecentList(stored);
        app::CTarvikApp app;
        CMainFrame frame(app);
        QCOMPARE(frame.RecentFiles().Size(), std::size_t{12});
        const QStringList texts = frame.RecentFilesMenu()->Texts();
        QCOMPARE(texts.size(), 10);
        QCOMPARE(texts.first(), QStringLiteral("&1 /var/log/a&&b.log"));
        QCOMPARE(texts.at(8), QStringLiteral("&9 /var/log/f9.log"));
        QCOMPARE(texts.last(), QStringLiteral("&0 /var/log/f10.log"));

        // Opening the menu again keeps the entries between two separators above Exit.
        QMenu* file = frame.menuBar()->actions().first()->menu();
        emit file->aboutToShow();
        const QList<QAction*> items = file->actions();
        QCOMPARE(items.last()->text(), QStringLiteral("E&xit"));
        QVERIFY(items.at(items.size() - 2)->isSeparator());
        QCOMPARE(items.at(items.size() - 3)->text(), texts.last());
        QCOMPARE(items.at(items.size() - 12)->text(), texts.first());
        QVERIFY(items.at(items.size() - 13)->isSeparator());
    }

    void emptyRecentListShowsThePlaceholderOnly() {
        app::CTarvikApp app;
        CMainFrame frame(app);
        QCOMPARE(frame.RecentFilesMenu()->Texts(), QStringList{QStringLiteral("Recent File")});
    }

    void openedFilesGoToTheFrontAndAFailingEntryLeavesTheList() {
        const QString missing = dir_.filePath(QStringLiteral("gone.log"));
        const QString old = WriteFile(QStringLiteral("old.log"));
        StoreRecentList({missing, old});
        app::CTarvikApp app;
        MessageBoxCatcher catcher;
        catcher.Arm();
        const QString fresh = WriteFile(QStringLiteral("fresh.log"));
        {
            CMainFrame frame(app);
            frame.OpenFiles({fresh.toStdU16String()});
            QCOMPARE(ListPaths(frame.RecentFiles()), (QStringList{fresh, missing, old}));

            frame.RecentFilesMenu()->Rebuild();
            QAction* second = nullptr;
            for (QAction* action : frame.findChildren<QAction*>()) {
                if (action->text().startsWith(QStringLiteral("&2 "))) second = action;
            }
            QVERIFY(second);
            second->trigger();
            QCOMPARE(ListPaths(frame.RecentFiles()), (QStringList{fresh, old}));
            QCOMPARE(catcher.texts.size(), 1);
            QVERIFY(catcher.texts.first().contains(QStringLiteral("gone.log")));
            QCOMPARE(app.Documents().size(), std::size_t{1});
        }
        // The list is written when the frame saves its state.
        discovery::CRecentFileList saved;
        saved.Load();
        QCOMPARE(ListPaths(saved), (QStringList{fresh, old}));
    }

    void reopenSkipsAMissingFirstEntryAndKeepsTheOrder() {
        const QString missing = dir_.filePath(QStringLiteral("missing.log"));
        QStringList existing;
        for (const char* name : {"r1.log", "r2.log", "r3.log", "r4.log"}) {
            existing << WriteFile(QString::fromLatin1(name), "kept text\r\n");
        }
        StoreRecentList(QStringList{missing} + existing);
        app::CTarvikApp app;
        bool maximized = true;
        settings::WindowRect rect;
        app.LoadOptions(maximized, rect);
        settings::Options& options = app.GetOptions();
        options.OpenFilesWhenStartup = true;
        options.OpenFilesNumberWhenStartup = 3;
        options.ArrangeReopenedFile = 0;
        MessageBoxCatcher catcher;
        catcher.Arm();
        CMainFrame frame(app);
        frame.show();
        // The command line opened the second one already: it is not opened twice.
        frame.OpenFiles({existing.at(1).toStdU16String()});
        app_ui::ReopenAtStartUp(frame, app);
        QCOMPARE(DocumentPaths(app), (QStringList{existing.at(1), existing.at(0), existing.at(2)}));
        QCOMPARE(ListPaths(frame.RecentFiles()),
                 (QStringList{existing.at(1), existing.at(0), existing.at(2), existing.at(3)}));
        QVERIFY(catcher.texts.isEmpty());
        QVERIFY(frame.ActiveChildFrame());
        QVERIFY(frame.ActiveChildFrame()->isMaximized());
        QVERIFY(app.Documents().front()->Buffer().LineCount() > 0);
    }

    void reopenIsOffByDefaultAndClearingEmptiesTheReopenedWindows() {
        const QString log = WriteFile(QStringLiteral("c1.log"), "visible text\r\n");
        StoreRecentList({log});
        app::CTarvikApp app;
        {
            CMainFrame frame(app);
            app_ui::ReopenAtStartUp(frame, app);
            QVERIFY(app.Documents().empty());
        }
        app.GetOptions().OpenFilesWhenStartup = true;
        app.GetOptions().ClearWndWhenOpenFileOnStartUp = true;
        CMainFrame frame(app);
        app_ui::ReopenAtStartUp(frame, app);
        QCOMPARE(app.Documents().size(), std::size_t{1});
        const auto& buffer = app.Documents().front()->Buffer();
        for (int line = 0; line < buffer.LineCount(); ++line) {
            QVERIFY(!QString::fromStdU16String(std::u16string(buffer.LineText(line)))
                         .contains(QStringLiteral("visible")));
        }
    }

    void reopenWalkRemovesEveryFailureInPlace() {
        discovery::CRecentFileList list;
        for (const char16_t* path : {u"e", u"d", u"bad2", u"c", u"bad1", u"a"}) list.Add(path);
        QStringList tried;
        const int opened = app_ui::ReopenRecentFiles(list, 3, [&tried](const std::u16string& p) {
            tried << QString::fromStdU16String(p);
            return !QString::fromStdU16String(p).startsWith(QStringLiteral("bad"));
        });
        QCOMPARE(opened, 3);
        QCOMPARE(tried, (QStringList{"a", "bad1", "c", "bad2", "d"}));
        QCOMPARE(ListPaths(list), (QStringList{"a", "c", "d", "e"}));
        QCOMPARE(app_ui::ReopenRecentFiles(list, 0, [](const std::u16string&) { return true; }), 0);
    }

    void handOverBringsTheWindowBackAndOpensItsFiles() {
        const QString log = WriteFile(QStringLiteral("handed.log"));
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.HideToTray();
        QVERIFY(frame.IsInTray());
        app_ui::ReceiveHandOver(frame, {});
        QVERIFY(!frame.IsInTray());
        QVERIFY(frame.isVisible());
        QVERIFY(app.Documents().empty());

        MessageBoxCatcher catcher;
        catcher.Arm();
        frame.HideToTray();
        app_ui::ReceiveHandOver(frame, {u"-L", u"2", log.toStdU16String(), u"/no/such.log"});
        QVERIFY(!frame.IsInTray());
        QCOMPARE(DocumentPaths(app), QStringList{log});
        QCOMPARE(catcher.texts.size(), 1);
        QVERIFY(catcher.texts.first().contains(QStringLiteral("/no/such.log")));
    }

    // An activated desktop notification: the window comes back from the tray
    // with the document active and the caret on the notified line; a
    // document closed since brings only the window.
    void activatedNoticeBringsItsDocumentBackAtTheLine() {
        const QString first = WriteFile(QStringLiteral("first.log"), "a\nb\nc\nd\ne\n");
        const QString second = WriteFile(QStringLiteral("second.log"));
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles({first.toStdU16String(), second.toStdU16String()});
        QCOMPARE(app.Documents().size(), std::size_t(2));
        core::CTarvikDoc* notified = app.Documents()[0].get();
        QVERIFY(frame.ActiveDocument() != notified);
        frame.HideToTray();
        const int closed = 0;
        app_ui::BringDocumentForward(frame, app, &closed, 1);
        QVERIFY(!frame.IsInTray());
        QVERIFY(frame.ActiveDocument() != notified);

        frame.HideToTray();
        app_ui::BringDocumentForward(frame, app, notified, 3);
        QVERIFY(!frame.IsInTray());
        QCOMPARE(frame.ActiveDocument(), notified);
        QTRY_COMPARE(notified->GetView()->GetCursorPos().line, 3);
    }

    void tourStartsAtTheStoredPageAndRemembersTheUsersChoice() {
        QVERIFY(app_ui::CFirstRunTour::Wanted());
        {
            app_ui::CFirstRunTour tour;
            QCOMPARE(tour.Page(), 0);
            tour.ShowPage(tour.PageCount() + 5);
            QCOMPARE(tour.Page(), tour.PageCount() - 1);
            tour.ShowPage(1);
            auto* box = tour.findChild<QCheckBox*>();
            QVERIFY(box);
            box->setChecked(false);
            tour.reject();
        }
        QVERIFY(!app_ui::CFirstRunTour::Wanted());
        QCOMPARE(settings::AppProfile::QTourID(), 1u);
        settings::AppProfile::SetQTourID(999);
        app_ui::CFirstRunTour reopened;
        QCOMPARE(reopened.Page(), 0);
    }

    void splashGoesAwayAfterItsMomentOrAtTheFirstKey() {
        QVERIFY(!app_ui::CSplashScreen::Wanted());
        QPointer<app_ui::CSplashScreen> timed = new app_ui::CSplashScreen;
        timed->ShowForAMoment();
        QVERIFY(timed->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(timed.isNull(), 5000);

        QPointer<app_ui::CSplashScreen> keyed = new app_ui::CSplashScreen;
        QWidget other;
        other.show();
        keyed->ShowForAMoment();
        QTest::keyClick(&other, Qt::Key_A);
        QTRY_VERIFY_WITH_TIMEOUT(keyed.isNull(), app_ui::CSplashScreen::kShowMs / 2);

        QPointer<app_ui::CSplashScreen> clicked = new app_ui::CSplashScreen;
        clicked->ShowForAMoment();
        QTest::mouseClick(clicked, Qt::RightButton);
        QTRY_VERIFY_WITH_TIMEOUT(clicked.isNull(), app_ui::CSplashScreen::kShowMs / 2);
    }

    void secondStartHandsItsFilesToTheFirstAndExits() {
        const QString program =
            QDir(QStringLiteral(TARVIK_TOOLS_DIR "/../src")).absoluteFilePath("tarvik");
        if (!QFile::exists(program)) QSKIP("the tarvik program is not built");
        const QString first = WriteFile(QStringLiteral("first.log"));
        const QString second = WriteFile(QStringLiteral("second.log"));
        const QString third = WriteFile(QStringLiteral("third.log"));
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        env.insert(QStringLiteral("TARVIK_REGISTRY"), storePath_);
        env.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime.path());

        QProcess running;
        running.setProcessEnvironment(env);
        running.start(program, {first});
        QVERIFY(running.waitForStarted(10000));
        const bool listening = WaitForSocket(runtime.path(), 30000);
        if (!listening) running.kill();
        QVERIFY(listening);

        QProcess later;
        later.setProcessEnvironment(env);
        later.start(program, {second, third});
        const bool laterEnded = later.waitForFinished(30000);
        if (!laterEnded) later.kill();
        QVERIFY(laterEnded);
        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);

        // Asked to end, as a session closing asks: it closes as Exit does and
        // saves what it was handed first.
        running.terminate();
        const bool runningEnded = running.waitForFinished(30000);
        if (!runningEnded) running.kill();
        QVERIFY(runningEnded);
        QCOMPARE(running.exitStatus(), QProcess::NormalExit);
        QCOMPARE(running.exitCode(), 0);
        discovery::CRecentFileList saved;
        saved.Load();
        QCOMPARE(ListPaths(saved), (QStringList{third, second, first}));
    }
    // cmake --install puts the launcher entry and our icon where desktops
    // look (share/applications, the hicolor theme), named as the program
    // names itself to the desktop.
    void installPutsTheDesktopEntryAndIconInPlace() {
        const QString cmake = QStandardPaths::findExecutable(QStringLiteral("cmake"));
        if (cmake.isEmpty()) QSKIP("cmake is not on the path");
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        QProcess install;
        install.start(cmake, {QStringLiteral("--install"),
                              QDir(QStringLiteral(TARVIK_TOOLS_DIR)).absoluteFilePath(".."),
                              QStringLiteral("--prefix"), prefix.path()});
        QVERIFY(install.waitForFinished(120000));
        QVERIFY2(install.exitCode() == 0, install.readAllStandardError().constData());
        const QString name = QString::fromLatin1(app_ui::kDesktopName);
        QFile entry(prefix.filePath("share/applications/" + name + ".desktop"));
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(entry.readAll()).split(QLatin1Char('\n'));
        QCOMPARE(lines.first(), QStringLiteral("[Desktop Entry]"));
        for (const char* line :
             {"Type=Application", "Exec=tarvik %F", "Categories=System;Monitor;Utility;",
              "MimeType=text/x-log;text/plain;"}) {
            QVERIFY2(lines.contains(QString::fromLatin1(line)), line);
        }
        QVERIFY(lines.contains(QStringLiteral("Icon=") + name));
        QFile icon(prefix.filePath("share/icons/hicolor/scalable/apps/" + name + ".svg"));
        QVERIFY(icon.open(QIODevice::ReadOnly));
        QVERIFY(icon.readAll().contains("<svg"));
        QVERIFY(QFile::exists(prefix.filePath(QStringLiteral("bin/tarvik"))));
    }

    // Hidden in the tray, the program still ends when it is asked to (as the
    // tray's Exit asks), so the next start shows its own window instead of
    // handing its command line to an invisible process.
    void exitWhileInTheTrayEndsTheProcessAndTheNextStartShowsItsWindow() {
        const QString program = realprogram::ProgramPath();
        if (!QFile::exists(program)) QSKIP("the tarvik program is not built");
        const QString xdotool = QStandardPaths::findExecutable(QStringLiteral("xdotool"));
        if (xdotool.isEmpty() || !realprogram::XServer::Available()) {
            QSKIP("Xvfb and xdotool are needed (scripts/deps.sh installs them)");
        }
        realprogram::XServer server;
        QVERIFY(!server.Display().isEmpty());
        realprogram::SystemTray tray(server.Display());
        {
            // Esc hides the window to the tray; no tour window in the way.
            app::CTarvikApp app;
            bool maximized = true;
            settings::WindowRect rect;
            app.LoadOptions(maximized, rect);
            app.GetOptions().MinimizeEsc = true;
            app.SaveOptions(settings::option_group::kOptionsDialog, false, nullptr);
            QVERIFY(settings::AppProfile::SetShowQTour(false));
        }
        QTemporaryDir runtime;
        QVERIFY(runtime.isValid());
        QFile::setPermissions(runtime.path(),
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        const QProcessEnvironment env =
            realprogram::XProgramEnvironment(server.Display(), storePath_, runtime.path());
        const QString mainWindow = QStringLiteral("^Ostra Tarvik \\(Unicode\\)");
        const auto visibleWindowOf = [&](const QProcess& process) {
            return realprogram::RunTool(
                xdotool,
                {QStringLiteral("search"), QStringLiteral("--sync"),
                 QStringLiteral("--onlyvisible"), QStringLiteral("--all"), QStringLiteral("--pid"),
                 QString::number(process.processId()), QStringLiteral("--name"), mainWindow},
                env);
        };

        QProcess running;
        running.setProcessEnvironment(env);
        running.start(program, {WriteFile(QStringLiteral("tray.log"))});
        QVERIFY(running.waitForStarted(10000));
        const QString window = visibleWindowOf(running).section(QLatin1Char('\n'), 0, 0);
        QVERIFY(!window.isEmpty());
        realprogram::RunTool(
            xdotool, {QStringLiteral("windowfocus"), QStringLiteral("--sync"), window}, env);
        realprogram::RunTool(xdotool, {QStringLiteral("key"), QStringLiteral("Escape")}, env);
        QTRY_VERIFY_WITH_TIMEOUT(
            realprogram::RunTool(
                xdotool,
                {QStringLiteral("search"), QStringLiteral("--onlyvisible"), QStringLiteral("--all"),
                 QStringLiteral("--pid"), QString::number(running.processId()),
                 QStringLiteral("--name"), mainWindow},
                env)
                .isEmpty(),
            30000);
        QVERIFY(WaitForSocket(runtime.path(), 30000));

        running.terminate();
        const bool runningEnded = running.waitForFinished(30000);
        if (!runningEnded) running.kill();
        QVERIFY(runningEnded);
        QCOMPARE(running.exitCode(), 0);

        QProcess later;
        later.setProcessEnvironment(env);
        later.start(program, {});
        QVERIFY(later.waitForStarted(10000));
        const bool laterShown = !visibleWindowOf(later).isEmpty();
        later.terminate();
        if (!later.waitForFinished(30000)) later.kill();
        QVERIFY(laterShown);
    }
};

QTEST_MAIN(StartUpTest)
#include "StartUpTest.moc"
