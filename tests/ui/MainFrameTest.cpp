// The main window with real files, a real settings store and the real
// engine: documents in sub-windows, following, command rules, placement and
// what the window keeps when it closes.

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMessageBox>
#include <QProcess>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolBar>
#include <QtTest>
#include <algorithm>
#include <functional>
#include <memory>

#include "DialogControls.h"
#include "TestFolder.h"
#include "app/TarvikApp.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/FrameTiling.h"
#include "app/ui/MainFrame.h"
#include "app/ui/QtUiQueue.h"
#include "app/ui/TabStrip.h"
#include "app/ui/TrayIcon.h"
#include "capture/PrivateChannel.h"
#include "core/DocCommandIds.h"
#include "core/TarvikDoc.h"
#include "filters/HighlightFilterStore.h"
#include "platform/IClock.h"
#include "platform/Registry.h"
#include "settings/OptionsStore.h"
#include "view/TarvikView.h"

using app_ui::CMainFrame;

namespace {

// Answers the next message box and keeps its text.
class MessageBoxCatcher : public QObject {
public:
    QStringList texts;

    void Arm() {
        QTimer::singleShot(0, this, [this] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                Arm();
                return;
            }
            texts << box->text();
            box->accept();
        });
    }
};

bool BufferContains(const core::CTarvikDoc& doc, const QString& text) {
    const auto& buffer = doc.Buffer();
    for (int line = 0; line < buffer.LineCount(); ++line) {
        if (QString::fromStdU16String(std::u16string(buffer.LineText(line))).contains(text)) {
            return true;
        }
    }
    return false;
}

}  // namespace

class MainFrameTest : public QObject {
    Q_OBJECT

private:
    ui_test::TestFolder dir_;

    QString WriteFile(const QString& name, const QByteArray& content) {
        return dir_.WriteFile(name, content);
    }

    static void Append(const QString& path, const QByteArray& content) {
        QFile file(path);
        file.open(QIODevice::Append);
        file.write(content);
    }

    static std::vector<std::u16string> Paths(const QStringList& paths) {
        return ui_test::Paths(paths);
    }

private slots:
    // Offscreen there is no tray; these tests hide to one.
    void init() {
        dir_.UseNextStore();
        app_ui::CTrayIcon::SetAvailabilityProbe([] { return true; });
    }

    void twoFilesOpenAsSubWindowsAndFollowAppendedText() {
        const QString first = WriteFile("first.log", "alpha\r\n");
        const QString second = WriteFile("second.log", "beta\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({first, second}));
        QCOMPARE(frame.MdiArea()->subWindowList().size(), 2);
        QCOMPARE(frame.TabStrip()->count(), 2);
        QCOMPARE(app.Documents().size(), std::size_t{2});
        core::CTarvikDoc& doc = *app.Documents().front();
        QVERIFY(BufferContains(doc, "alpha"));
        QVERIFY(!BufferContains(doc, "gamma"));
        Append(first, "gamma arrived\r\n");
        app.OnRefreshTick();
        QVERIFY(BufferContains(doc, "gamma arrived"));
        // The timer of the window polls by itself as well.
        Append(first, "delta by timer\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(BufferContains(doc, "delta by timer"), 5000);
        // With the longest refresh rate, the file's event brings the line long
        // before the next tick could (the wait only guards against a hang).
        QCOMPARE(app.SetRefreshRate(u"32767"), app::RefreshRateResult::Changed);
        Append(first, "epsilon by event\r\n");
        QTRY_VERIFY_WITH_TIMEOUT(BufferContains(doc, "epsilon by event"), 20000);
    }

    void openingAFileTwiceActivatesTheOpenDocument() {
        const QString first = WriteFile("twice.log", "one\r\n");
        const QString second = WriteFile("other.log", "two\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({first, second}));
        frame.OpenFiles(Paths({first}));
        QCOMPARE(app.Documents().size(), std::size_t{2});
        QCOMPARE(frame.ActiveDocument(), app.Documents().front().get());
    }

    void commandLineFilesOpenAndTabsActivateTheirWindows() {
        const QString first = WriteFile("cmd-a.log", "a1\r\na2\r\na3\r\n");
        const QString second = WriteFile("cmd-b.log", "b1\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        QCOMPARE(frame.OpenCommandLine(
                     {u"tarvik", first.toStdU16String(), u"-L", u"2", second.toStdU16String()}),
                 1);
        QCOMPARE(app.Documents().size(), std::size_t{2});
        QCOMPARE(frame.ActiveDocument(), app.Documents().back().get());
        QCOMPARE(frame.TabStrip()->currentIndex(), 1);
        frame.TabStrip()->setCurrentIndex(0);
        QCOMPARE(frame.ActiveDocument(), app.Documents().front().get());
        frame.RunCommand(app_ui::kCmdWindowNext);
        QCOMPARE(frame.ActiveDocument(), app.Documents().back().get());
        QCOMPARE(frame.TabStrip()->currentIndex(), 1);
    }

    void failuresOfABatchAreReportedOnce() {
        const QString good = WriteFile("good.log", "fine\r\n");
        const QString missingA = dir_.Path("missing-a.log");
        const QString missingB = dir_.Path("missing-b.log");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        MessageBoxCatcher catcher;
        catcher.Arm();
        frame.OpenFiles(Paths({missingA, good, missingB}));
        QCOMPARE(catcher.texts.size(), 1);
        QVERIFY(catcher.texts.front().startsWith("Failed to load the following file(s)."));
        QVERIFY(catcher.texts.front().contains(missingA));
        QVERIFY(catcher.texts.front().contains(missingB));
        QCOMPARE(app.Documents().size(), std::size_t{1});
        QCOMPARE(frame.MdiArea()->subWindowList().size(), 1);
    }

    void startAndPauseFollowTheActiveDocument() {
        const QString path = WriteFile("rules.log", "x\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        auto& commands = frame.Commands();
        QVERIFY(!commands.IsEnabled(core::kCmdStartMonitoring));
        QVERIFY(!commands.IsEnabled(core::kCmdPauseMonitoring));
        QVERIFY(!commands.IsEnabled(app_ui::kCmdFileClose));
        QVERIFY(!commands.IsEnabled(app::kCmdReloadAllDocuments));
        frame.OpenFiles(Paths({path}));
        core::CTarvikDoc& doc = *app.Documents().front();
        QVERIFY(doc.IsMonitoring());
        QVERIFY(!commands.IsEnabled(core::kCmdStartMonitoring));
        QVERIFY(commands.IsEnabled(core::kCmdPauseMonitoring));
        QVERIFY(frame.RunCommand(core::kCmdPauseMonitoring));
        QVERIFY(!doc.IsMonitoring());
        QVERIFY(commands.IsEnabled(core::kCmdStartMonitoring));
        QVERIFY(!commands.IsEnabled(core::kCmdPauseMonitoring));
        QVERIFY(!commands.Action(core::kCmdPauseMonitoring)->isEnabled());
        QVERIFY(!frame.RunCommand(core::kCmdPauseMonitoring));
        QVERIFY(frame.RunCommand(app::kCmdStartAll));
        QVERIFY(doc.IsMonitoring());
        QVERIFY(frame.RunCommand(app_ui::kCmdCloseAllDocuments));
        QVERIFY(app.Documents().empty());
        QVERIFY(frame.MdiArea()->subWindowList().isEmpty());
        QCOMPARE(frame.TabStrip()->count(), 0);
    }

    void closingTheSubWindowClosesTheDocument() {
        const QString path = WriteFile("closing.log", "x\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({path}));
        frame.MdiArea()->subWindowList().front()->close();
        QVERIFY(app.Documents().empty());
        QVERIFY(frame.MdiArea()->subWindowList().isEmpty());
        QCOMPARE(frame.TabStrip()->count(), 0);
    }

    void refreshRateChangeRestartsTheTimer() {
        app::CTarvikApp app;
        CMainFrame frame(app);
        QVERIFY(frame.IsRefreshTimerRunning());
        QCOMPARE(frame.RefreshTimerInterval(), static_cast<int>(app.GetOptions().IntervalChkFile));
        QCOMPARE(app.SetRefreshRate(u"250"), app::RefreshRateResult::Changed);
        QCOMPARE(frame.RefreshTimerInterval(), 250);
    }

    void placementIsMaximizedWhenNothingIsStored() {
        app::CTarvikApp app;
        bool maximized = true;
        settings::WindowRect rect;
        app.LoadOptions(maximized, rect);
        QVERIFY(maximized);
        QVERIFY(rect.IsEmpty());
        CMainFrame frame(app);
        frame.ShowWithPlacement(maximized, rect);
        QVERIFY(frame.isMaximized());
    }

    void shutdownSavesTheWindowValues() {
        {
            app::CTarvikApp app;
            bool maximized = true;
            settings::WindowRect rect;
            app.LoadOptions(maximized, rect);
            CMainFrame frame(app);
            frame.ShowWithPlacement(false, settings::WindowRect{40, 50, 840, 650});
            frame.ToolBar()->hide();
            frame.RunCommand(app_ui::kCmdTabBarBottom);
            frame.RunCommand(app_ui::kCmdViewTabBar);
            frame.close();
        }
        app::CTarvikApp reloaded;
        bool maximized = true;
        settings::WindowRect rect;
        reloaded.LoadOptions(maximized, rect);
        const settings::Options& options = reloaded.GetOptions();
        QVERIFY(!maximized);
        QVERIFY(!rect.IsEmpty());
        QCOMPARE(rect.right - rect.left, 800);
        QCOMPARE(rect.bottom - rect.top, 600);
        QVERIFY(!options.ToolbarVisible);
        QVERIFY(options.StatusBarVisible);
        QVERIFY(!options.TabBarVisible);
        QVERIFY(!options.TabBarTop);
        // A second run puts the window back as it was left.
        CMainFrame frame(reloaded);
        frame.ShowWithPlacement(maximized, rect);
        QVERIFY(!frame.isMaximized());
        QCOMPARE(frame.geometry().size(), QSize(800, 600));
        QVERIFY(frame.ToolBar()->isHidden());
        QVERIFY(frame.TabStrip()->isHidden());
    }

    void documentWindowKeepsItsPositionAndMaximizedState() {
        const QString path = WriteFile("placed.log", "x\r\n");
        const QString other = WriteFile("later.log", "y\r\n");
        app::CTarvikApp app;
        app.GetOptions().MaxChildFrame = false;
        CMainFrame frame(app);
        frame.resize(1000, 800);
        frame.show();
        frame.OpenFiles(Paths({path}));
        auto* child = frame.ActiveChildFrame();
        QVERIFY(child);
        QVERIFY(!child->isMaximized());
        child->setGeometry(30, 20, 300, 200);
        frame.RunCommand(app_ui::kCmdFileClose);
        QVERIFY(!app.GetOptions().MaxChildFrame);
        frame.OpenFiles(Paths({path}));
        QCOMPARE(frame.ActiveChildFrame()->geometry(), QRect(30, 20, 300, 200));
        // A maximized window keeps no position, and the next one opened
        // alone opens maximized.
        frame.ActiveChildFrame()->showMaximized();
        frame.RunCommand(app_ui::kCmdFileClose);
        QVERIFY(app.GetOptions().MaxChildFrame);
        frame.OpenFiles(Paths({other}));
        QVERIFY(frame.ActiveChildFrame()->isMaximized());
        frame.RunCommand(app_ui::kCmdFileClose);
        frame.OpenFiles(Paths({path}));
        QVERIFY(frame.ActiveChildFrame()->isMaximized());
        frame.ActiveChildFrame()->showNormal();
        QCOMPARE(frame.ActiveChildFrame()->geometry(), QRect(30, 20, 300, 200));
    }

    void escapeHidesToTrayOnlyWhenTheOptionSaysSo() {
        const QString path = WriteFile("esc.log", "x\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({path}));
        QWidget* view = frame.ActiveChildFrame()->widget();
        app.GetOptions().MinimizeEsc = false;
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(!frame.IsInTray());
        QVERIFY(frame.isVisible());
        app.GetOptions().MinimizeEsc = true;
        QTest::keyClick(view, Qt::Key_Escape);
        QVERIFY(frame.IsInTray());
        QVERIFY(!frame.isVisible());
        frame.RestoreFromTray(true);
        QVERIFY(!frame.IsInTray());
        QVERIFY(frame.isVisible());
    }

    void alwaysOnTopIsAppliedAndStored() {
        {
            app::CTarvikApp app;
            CMainFrame frame(app);
            frame.show();
            QVERIFY(!frame.Commands().IsChecked(app_ui::kCmdAlwaysOnTop));
            QVERIFY(frame.RunCommand(app_ui::kCmdAlwaysOnTop));
            QVERIFY(frame.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
            QVERIFY(frame.Commands().Action(app_ui::kCmdAlwaysOnTop)->isChecked());
            QVERIFY(frame.isVisible());
        }
        app::CTarvikApp reloaded;
        bool maximized = true;
        settings::WindowRect rect;
        reloaded.LoadOptions(maximized, rect);
        QVERIFY(reloaded.GetOptions().AlwaysOnTop);
    }

    void filterAndNotificationCommandsOpenTheirDialogs() {
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        const struct {
            int id;
            QKeySequence shortcut;
            QString title;
        } commands[] = {
            {app_ui::kCmdHighlightFilters, QKeySequence(Qt::CTRL | Qt::Key_F5),
             QStringLiteral("Set Highlight Filters")},
            {app_ui::kCmdInExFilters, QKeySequence(Qt::CTRL | Qt::Key_I),
             QStringLiteral("Set Include & Exclude Filters")},
            {app_ui::kCmdEmailSettings, QKeySequence(Qt::CTRL | Qt::Key_J),
             QStringLiteral("Email Settings")},
            {app_ui::kCmdConfirmEmails, QKeySequence(Qt::CTRL | Qt::Key_K),
             QStringLiteral("Confirm Highlight Filter Notification Emails")},
            {app_ui::kCmdStopUpdating, QKeySequence(),
             QStringLiteral("Stop Updating Notification")},
        };
        for (const auto& command : commands) {
            QCOMPARE(frame.Commands().Action(command.id)->shortcut(), command.shortcut);
            QString opened;
            QTimer::singleShot(0, [&opened] {
                QWidget* dialog = QApplication::activeModalWidget();
                if (!dialog) return;
                opened = dialog->windowTitle();
                static_cast<QDialog*>(dialog)->reject();
            });
            QVERIFY(frame.RunCommand(command.id));
            QCOMPARE(opened, command.title);
        }
    }

    void incompleteMailSettingsAfterHighlightFiltersOpenEmailSettings() {
        filters::HighlightFilter mailer;
        mailer.phrase.Assign(u"ERROR", false, false);
        mailer.Enable = true;
        mailer.SendEmail = true;
        mailer.Emails = u"ops@example.org";
        filters::CHighlightFilters stored;
        stored.Replace({mailer});
        QVERIFY(filters::SaveHighlightFilters(stored));
        app::CTarvikApp app;
        bool maximized = true;
        settings::WindowRect rect{};
        app.LoadOptions(maximized, rect);
        CMainFrame frame(app);
        frame.show();

        // OK in the filter dialog, Yes to the question, then the settings
        // dialog that opens is noted and closed.
        QStringList seen;
        QObject pending;  // ends the polling when the test leaves
        std::function<void()> answer = [&] {
            if (seen.size() == 3) return;
            // Polls on while the action below runs a modal loop of its own.
            QTimer::singleShot(10, &pending, answer);
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                seen << box->text();
                box->button(QMessageBox::Yes)->click();
            } else if (modal && !seen.contains(modal->windowTitle())) {
                seen << modal->windowTitle();
                if (seen.size() == 1) {
                    ui_test::ClickOk(*static_cast<QDialog*>(modal));
                } else {
                    static_cast<QDialog*>(modal)->reject();
                }
            }
        };
        QTimer::singleShot(0, &pending, answer);
        QVERIFY(frame.RunCommand(app_ui::kCmdHighlightFilters));
        QCOMPARE(seen.size(), 3);
        QCOMPARE(seen[0], QStringLiteral("Set Highlight Filters"));
        QVERIFY(seen[1].startsWith(QStringLiteral("You have enabled sending notification email.")));
        QCOMPARE(seen[2], QStringLiteral("Email Settings"));
    }

    void stripsShareTheAreaAndTheLastReachesTheEdge() {
        const auto rows = app_ui::FullWidthStrips(QRect(0, 0, 300, 100), 3);
        QCOMPARE(rows.size(), std::size_t{3});
        QCOMPARE(rows[0], QRect(0, 0, 300, 33));
        QCOMPARE(rows[1], QRect(0, 33, 300, 33));
        QCOMPARE(rows[2], QRect(0, 66, 300, 34));
        const auto columns = app_ui::FullHeightStrips(QRect(10, 5, 100, 50), 3);
        QCOMPARE(columns[0], QRect(10, 5, 33, 50));
        QCOMPARE(columns[2].right(), 109);
        QVERIFY(app_ui::FullWidthStrips(QRect(0, 0, 300, 100), 0).empty());
        QVERIFY(app_ui::FullHeightStrips(QRect(), 2).empty());
    }

    void fullWidthTilingLeavesRoomForMinimizedWindows() {
        QStringList paths;
        for (int i = 0; i < 4; ++i)
            paths << WriteFile(QStringLiteral("tile%1.log").arg(i), "t\r\n");
        app::CTarvikApp app;
        app.GetOptions().MaxChildFrame = false;
        CMainFrame frame(app);
        frame.resize(1000, 800);
        frame.show();
        frame.OpenFiles(Paths(paths));
        auto windows = frame.MdiArea()->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(windows.size(), 4);
        windows[3]->showMinimized();
        frame.MdiArea()->setActiveSubWindow(windows[0]);
        frame.RunCommand(app_ui::kCmdTileFullWidth);
        const QRect area = frame.MdiArea()->viewport()->rect();
        const int minimizedHeight = windows[3]->height();
        const int share = (area.height() - minimizedHeight) / 3;
        QCOMPARE(windows[0]->geometry(), QRect(0, 0, area.width(), share));
        QCOMPARE(windows[1]->geometry().top(), share);
        QCOMPARE(windows[2]->geometry().bottom(), area.bottom() - minimizedHeight);
        QVERIFY(windows[3]->isMinimized());
    }

    // The main window as people see it, kept as a screenshot: two tiled
    // documents, the active one's tab marked red, and a red line in the other
    // above the text that arrived while it was not looked at.
    void mainWindowWithTwoDocumentsShowsMarkAndRedLine() {
        const QString a = WriteFile("server.log",
                                    "2026-12-08 10:00:01 start\r\n"
                                    "2026-12-08 10:00:02 listening on 8080\r\n");
        const QString b = WriteFile("worker.log", "job 1 done\r\njob 2 failed\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.resize(1100, 700);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.OpenFiles(Paths({a, b}));
        frame.RunCommand(app_ui::kCmdTileFullWidth);
        QVERIFY(frame.RunCommand(app_ui::kCmdViewMarkFirst));
        Append(a, "2026-12-08 10:00:05 request served\r\n");
        app.OnRefreshTick();
        QCoreApplication::processEvents();
        const QImage shot = frame.grab().toImage();
        QVERIFY(shot.save(TARVIK_ARTIFACTS_DIR "/main-window.png"));

        const auto areaOf = [&frame](const QWidget* widget) {
            return QRect(widget->mapTo(&frame, QPoint(0, 0)), widget->size());
        };
        const auto countIn = [&shot](const QRect& area, const QColor& color) {
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y) {
                for (int x = area.left(); x <= area.right(); ++x) {
                    if (shot.pixelColor(x, y) == color) ++count;
                }
            }
            return count;
        };
        QVERIFY(countIn(areaOf(frame.TabStrip()), app_ui::TabMarkColor(app_ui::TabImage::Red)) >
                10);
        const auto windows = frame.MdiArea()->subWindowList(QMdiArea::CreationOrder);
        QCOMPARE(windows.size(), 2);
        const QWidget* serverText =
            static_cast<app_ui::CChildFrame*>(windows[0])->View()->viewport();
        const QWidget* workerText =
            static_cast<app_ui::CChildFrame*>(windows[1])->View()->viewport();
        // The red line crosses the server's text area below its two old lines.
        const QRect server = areaOf(serverText);
        int redRows = 0;
        for (int y = server.top(); y <= server.bottom(); ++y) {
            if (countIn(QRect(server.left(), y, server.width(), 1), QColor(255, 0, 0)) >
                server.width() / 2) {
                ++redRows;
            }
        }
        QCOMPARE(redRows, 1);
        QCOMPARE(countIn(areaOf(workerText), QColor(255, 0, 0)), 0);
    }
    // What a script sends with tarvik-ods reaches the capture document that
    // the menu command opens, on a channel private to this test.
    void captureCommandShowsWhatAScriptSends() {
        const QByteArray channel = QByteArray::number(QCoreApplication::applicationPid());
        qputenv("TARVIK_DEBUG_CHANNEL", "ui-" + channel);
        app_ui::CQtUiQueue queue;
        app::CTarvikApp app(platform::SystemClock::Instance(), &queue);
        CMainFrame frame(app);
        frame.show();
        QVERIFY(frame.RunCommand(app::kCmdCaptureOutput));
        core::CTarvikDoc* capture = app.CaptureDocument();
        QVERIFY(capture);
        QCOMPARE(frame.ActiveDocument(), capture);
        QCOMPARE(frame.TabStrip()->count(), 1);
        const auto& recent = frame.RecentFiles().Entries();
        QVERIFY(std::find(recent.begin(), recent.end(), capture->GetPathName()) == recent.end());

        QProcess ods;
        ods.start(QStringLiteral(TARVIK_TOOLS_DIR "/tarvik-ods"),
                  {QStringLiteral("hello"), QStringLiteral("from a script")});
        QVERIFY(ods.waitForFinished(10000));
        QCOMPARE(ods.exitCode(), 0);
        QTRY_VERIFY_WITH_TIMEOUT(BufferContains(*capture, "hello from a script"), 5000);

        // The same command again leaves one capture document.
        QVERIFY(frame.RunCommand(app::kCmdCaptureOutput));
        QCOMPARE(app.CaptureDocument(), capture);
        QCOMPARE(frame.TabStrip()->count(), 1);
        app.CloseDocument(capture);
        QVERIFY(!app.CaptureDocument());
        capture_test::RemovePrivateChannel();
        qunsetenv("TARVIK_DEBUG_CHANNEL");
    }
};

QTEST_MAIN(MainFrameTest)
#include "MainFrameTest.moc"
