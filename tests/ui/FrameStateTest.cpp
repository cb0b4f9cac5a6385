// What the main window shows and allows follows what happens to it: titles
// follow the files, command states follow the documents and the selection,
// shortcuts reach the active view from anywhere, dropped files open as a
// batch, a failed open leaves the stored placement alone, message boxes show
// the normal cursor, and Exit ends the program from the tray.

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMdiArea>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <functional>

#include "TestFolder.h"
#include "app/TarvikApp.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/MainFrame.h"
#include "app/ui/TabStrip.h"
#include "app/ui/TrayIcon.h"
#include "core/DocCommandIds.h"
#include "core/TarvikDoc.h"
#include "discovery/RecentFileList.h"
#include "platform/Registry.h"
#include "settings/DocPositionStore.h"
#include "view/TarvikView.h"
#include "view/ViewCommandIds.h"

using app_ui::CMainFrame;

namespace {

// Answers every message box that comes up; keeps its text and whether the
// busy cursor was over it.
class MessageBoxCatcher : public QObject {
public:
    QStringList texts;
    QList<bool> busyCursor;

    void Arm() {
        QTimer::singleShot(0, this, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                texts << box->text();
                busyCursor << (QApplication::overrideCursor() != nullptr);
                box->accept();
            }
            Arm();
        });
    }
};

using ui_test::Paths;

QStringList DocumentPathsOf(const app::CTarvikApp& app) {
    QStringList paths;
    for (const auto& doc : app.Documents()) paths << QString::fromStdU16String(doc->GetPathName());
    return paths;
}

void Drop(CMainFrame& frame, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    // A drop goes where the drag entered.
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &enter);
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&frame, &drop);
}

}  // namespace

class FrameStateTest : public QObject {
    Q_OBJECT

private:
    ui_test::TestFolder dir_;

    QString WriteFile(const QString& name, const QByteArray& content) {
        return dir_.WriteFile(name, content);
    }

private slots:
    // Offscreen there is no tray; the tests that hide to one say there is.
    void init() {
        dir_.UseNextStore();
        app_ui::CTrayIcon::SetAvailabilityProbe([] { return true; });
    }
    void cleanupTestCase() { app_ui::CTrayIcon::SetAvailabilityProbe({}); }

    // Without a tray nothing hides the window where it cannot come back
    // from; a window in the tray comes back when the tray goes away. The hot
    // key is asked for only while the window is in the tray.
    void withoutATrayTheWindowStays() {
        const QString path = WriteFile("notray.log", "x\r\n");
        bool trayThere = false;
        app_ui::CTrayIcon::SetAvailabilityProbe([&trayThere] { return trayThere; });
        app::CTarvikApp app;
        app.GetOptions().MinimizeEsc = true;
        app.GetOptions().EnableHotkey = true;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({path}));
        frame.Commands().UpdateStates();
        QVERIFY(!frame.Commands().IsEnabled(app_ui::kCmdMinimizeToTray));
        QVERIFY(!frame.RunCommand(app_ui::kCmdMinimizeToTray));
        frame.HideToTray();
        QTest::keyClick(frame.ActiveChildFrame()->widget(), Qt::Key_Escape);
        QVERIFY(!frame.IsInTray());
        QVERIFY(frame.isVisible());
        QVERIFY(!frame.HotKey()->IsWanted());

        trayThere = true;
        frame.Commands().UpdateStates();
        QVERIFY(frame.Commands().IsEnabled(app_ui::kCmdMinimizeToTray));
        QVERIFY(frame.RunCommand(app_ui::kCmdMinimizeToTray));
        QVERIFY(frame.IsInTray());
        QVERIFY(!frame.isVisible());
        QVERIFY(frame.HotKey()->IsWanted());
        frame.TrayIcon()->CheckAvailability();
        QVERIFY(frame.IsInTray());

        trayThere = false;
        frame.TrayIcon()->CheckAvailability();
        QVERIFY(!frame.IsInTray());
        QVERIFY(frame.isVisible());
        QVERIFY(!frame.TrayIcon()->IsShown());
        QVERIFY(!frame.HotKey()->IsWanted());
    }

    void titlesFollowTheFileAsItGrows() {
        const QString path = WriteFile("grow.log", "12345678\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({path}));
        core::CTarvikDoc& doc = *app.Documents().front();
        QVERIFY(frame.windowTitle().contains(QStringLiteral("<10 Bytes>")));
        QFile file(path);
        file.open(QIODevice::Append);
        file.write("more text\r\n");
        file.close();
        app.OnRefreshTick();
        const QString title = QString::fromStdU16String(doc.GetTitle());
        QVERIFY(title.contains(QStringLiteral("<21 Bytes>")));
        QCOMPARE(frame.ActiveChildFrame()->windowTitle(), title);
        QVERIFY(frame.windowTitle().startsWith(QStringLiteral("Ostra Tarvik (Unicode) - ")));
        QVERIFY(frame.windowTitle().contains(title));
        // Not maximized, the caption is the program's and the document's title.
        frame.ActiveChildFrame()->showNormal();
        QTRY_COMPARE(frame.windowTitle(), QStringLiteral("Ostra Tarvik (Unicode) - ") + title);
        frame.RunCommand(app_ui::kCmdFileClose);
        QCOMPARE(frame.windowTitle(), QStringLiteral("Ostra Tarvik (Unicode)"));
    }

    void commandStatesFollowDroppedAndOpenedDocuments() {
        const QString a = WriteFile("drop-a.log", "a\r\n");
        const QString b = WriteFile("drop-b.log", "b\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        QVERIFY(!frame.Commands().Action(app::kCmdGoToEndOfAll)->isEnabled());
        Drop(frame, {a, b});
        QCOMPARE(app.Documents().size(), std::size_t{2});
        for (const int id : {int(core::kCmdPauseMonitoring), int(app::kCmdGoToEndOfAll),
                             int(app::kCmdReloadAllDocuments), int(app::kCmdClearAllWindows)}) {
            QVERIFY2(frame.Commands().Action(id)->isEnabled(), qPrintable(QString::number(id)));
        }
        // Dropping an open file again activates it; nothing opens twice.
        Drop(frame, {a});
        QCOMPARE(app.Documents().size(), std::size_t{2});
        QCOMPARE(frame.ActiveDocument(), app.Documents().front().get());
        // A document's monitoring stopping by itself shows at once.
        app.Documents().front()->SetMonitoring(false);
        QVERIFY(frame.Commands().Action(core::kCmdStartMonitoring)->isEnabled());
        QVERIFY(!frame.Commands().Action(core::kCmdPauseMonitoring)->isEnabled());
    }

    void failedOpenLeavesTheStoredPlacementAlone() {
        const QString missing = dir_.Path(QStringLiteral("never-there.log"));
        app::CTarvikApp app;
        app.GetOptions().MaxChildFrame = true;
        MessageBoxCatcher catcher;
        catcher.Arm();
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({missing}));
        QCOMPARE(catcher.texts.size(), 1);
        QVERIFY(app.GetOptions().MaxChildFrame);
        settings::WindowRect rect;
        QVERIFY(!app.LoadDocPosition(missing.toStdU16String(), false, rect));
    }

    void filesDifferingInCaseAreTwoDocuments() {
        const QString upper = WriteFile("Case.log", "upper\r\n");
        const QString lower = WriteFile("case.log", "lower\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({upper, lower}));
        QCOMPARE(app.Documents().size(), std::size_t{2});
        QCOMPARE(frame.ActiveDocument(), app.Documents().back().get());
    }

    void messageBoxesShowTheNormalCursor() {
        app::CTarvikApp app;
        CMainFrame frame(app);
        MessageBoxCatcher catcher;
        catcher.Arm();
        frame.BeginWaitCursor();
        frame.ShowMessage(u"Something failed.", core::MessageIcon::Exclamation,
                          core::MessageButtons::Ok);
        QCOMPARE(catcher.busyCursor, QList<bool>{false});
        // The work that asked is busy again afterwards, until it ends.
        QVERIFY(QApplication::overrideCursor());
        frame.EndWaitCursor();
        QVERIFY(!QApplication::overrideCursor());
    }

    void popupMenuLeavesCopyShortcutWorking() {
        const QString path = WriteFile("copy.log", "copy me\r\nsecond\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.OpenFiles(Paths({path}));
        view::CTarvikView* view = frame.ActiveChildFrame()->View();
        view->SetSelection({0, 0}, {0, 0});
        // The menu opens without a selection: its Copy is disabled.
        auto popup = view->CreateEditPopup();
        QVERIFY(!popup->actions().at(1)->isEnabled());
        popup.reset();
        QApplication::clipboard()->clear();
        view->SetSelection({0, 0}, {4, 0});
        view->setFocus();
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("copy"));
    }

    void viewShortcutsWorkWhateverHasTheFocus() {
        const QString path = WriteFile("marks.log", "one\r\ntwo\r\nthree\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.OpenFiles(Paths({path}));
        view::CTarvikView* view = frame.ActiveChildFrame()->View();
        view->SetCursorPos({0, 1});
        // The focus sits in the tab strip, not in the view.
        frame.TabStrip()->setFocus();
        QApplication::setActiveWindow(&frame);
        QTest::keyClick(frame.TabStrip(), Qt::Key_F2, Qt::ControlModifier);
        QVERIFY(view->HasBookmark());
        // The View menu marks the selected tab.
        QVERIFY(frame.RunCommand(app_ui::kCmdViewMarkFirst + 2));
        const auto key = frame.TabStrip()->CurrentKey();
        QCOMPARE(frame.TabStrip()->MarkOf(key), app_ui::TabImage::Blue);
        QVERIFY(frame.Commands().IsChecked(app_ui::kCmdViewMarkFirst + 2));
        QVERIFY(frame.RunCommand(app_ui::kCmdViewClearMark));
        QCOMPARE(frame.TabStrip()->MarkOf(key), app_ui::TabImage::Blank);
    }

    // Next and Previous follow the tabs as the user arranged them; a tab's
    // close button closes its document.
    void windowOrderFollowsTheTabsAndTabsClose() {
        const QString a = WriteFile("order-a.log", "a\r\n");
        const QString b = WriteFile("order-b.log", "b\r\n");
        const QString c = WriteFile("order-c.log", "c\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({a, b, c}));
        app_ui::CTabStrip* tabs = frame.TabStrip();
        QCOMPARE(tabs->count(), 3);
        const auto keyOf = [&](const QString& path) {
            for (int i = 0; i < tabs->count(); ++i) {
                if (tabs->FullPathOf(tabs->KeyAt(i)) == path) return tabs->KeyAt(i);
            }
            return app_ui::DocumentKey{};
        };
        tabs->moveTab(1, 2);  // a, c, b
        frame.ActivateDocument(*app.Documents().front());
        QCOMPARE(frame.ActiveDocument()->GetPathName(), a.toStdU16String());
        QVERIFY(frame.RunCommand(app_ui::kCmdWindowNext));
        QCOMPARE(static_cast<app_ui::DocumentKey>(frame.ActiveChildFrame()), keyOf(c));
        QVERIFY(frame.RunCommand(app_ui::kCmdWindowNext));
        QCOMPARE(static_cast<app_ui::DocumentKey>(frame.ActiveChildFrame()), keyOf(b));
        QVERIFY(frame.RunCommand(app_ui::kCmdWindowNext));
        QCOMPARE(static_cast<app_ui::DocumentKey>(frame.ActiveChildFrame()), keyOf(a));
        QVERIFY(frame.RunCommand(app_ui::kCmdWindowPrevious));
        QCOMPARE(static_cast<app_ui::DocumentKey>(frame.ActiveChildFrame()), keyOf(b));
        QCOMPARE(tabs->CurrentKey(), keyOf(b));

        emit tabs->tabCloseRequested(tabs->IndexOf(keyOf(c)));
        QCOMPARE(app.Documents().size(), std::size_t{2});
        QCOMPARE(tabs->IndexOf(keyOf(c)), -1);
    }

    // The keys desktop users expect work beside the documented ones, and no
    // key belongs to two commands.
    void desktopKeysBesideTheDocumentedOnes() {
        const QString a = WriteFile("keys-a.log", "x one\r\nx two\r\nx three\r\n");
        const QString b = WriteFile("keys-b.log", "b\r\n");
        app::CTarvikApp app;
        app.GetOptions().UFont.lfHeight = -12;
        CMainFrame frame(app);
        frame.show();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        frame.OpenFiles(Paths({a, b}));
        QMap<QString, int> owners;
        for (QAction* action : frame.actions()) {
            for (const QKeySequence& key : action->shortcuts()) {
                const QString name = key.toString();
                QVERIFY2(!owners.contains(name), qPrintable(name));
                owners.insert(name, action->data().toInt());
            }
        }
        const std::pair<QKeySequence, int> expected[] = {
            {Qt::CTRL | Qt::Key_Q, app_ui::kCmdAppExit},
            {Qt::Key_F3, view::kCmdEditRepeat},
            {Qt::SHIFT | Qt::Key_F3, view::kCmdEditRepeatBackward},
            {Qt::CTRL | Qt::Key_Y, view::kCmdEditRedo},
            {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, view::kCmdEditRedo},
            {Qt::CTRL | Qt::Key_Z, view::kCmdEditUndo},
            {Qt::CTRL | Qt::Key_Tab, app_ui::kCmdWindowNext},
            {Qt::CTRL | Qt::Key_Plus, app_ui::kCmdFontLarger},
            {Qt::CTRL | Qt::Key_Minus, app_ui::kCmdFontSmaller},
            {Qt::CTRL | Qt::Key_0, view::kCmdToggleNumbered0},
            {Qt::CTRL | Qt::Key_H, view::kCmdEditReplace},
        };
        for (const auto& [key, id] : expected) {
            QVERIFY2(owners.value(key.toString()) == id, qPrintable(key.toString()));
        }

        QApplication::setActiveWindow(&frame);
        QWidget* focus = frame.ActiveChildFrame()->widget();
        QCOMPARE(frame.TabStrip()->CurrentKey(), frame.TabStrip()->KeyAt(1));
        QTest::keyClick(focus, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(frame.TabStrip()->CurrentKey(), frame.TabStrip()->KeyAt(0));
        QCOMPARE(frame.ActiveDocument()->GetPathName(), a.toStdU16String());

        view::CTarvikView* view = frame.ActiveChildFrame()->View();
        view->SetCursorPos({0, 1});
        QVERIFY(view->FindNext({QStringLiteral("x")}));
        QCOMPARE(view->SelectionStart(), (core::TextPos{0, 1}));
        QTest::keyClick(view, Qt::Key_F3);
        QCOMPARE(view->SelectionStart(), (core::TextPos{0, 2}));
        QTest::keyClick(view, Qt::Key_F3, Qt::ShiftModifier);
        QCOMPARE(view->SelectionStart(), (core::TextPos{0, 1}));
        QTest::keyClick(view, Qt::Key_F3);
        QCOMPARE(view->SelectionStart(), (core::TextPos{0, 2}));

        QTest::keyClick(view, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(app.GetOptions().UFont.lfHeight, -13);
        QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
        QTest::keyClick(view, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(app.GetOptions().UFont.lfHeight, -11);
    }

    // File > Open offers every file first (syslog has no extension) and
    // starts the next time in the folder it last opened from.
    void openDialogOffersAllFilesAndRemembersTheFolder() {
        const QString log = WriteFile("syslog", "x\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        QStringList filters;
        QStringList folders;
        const auto answer = [&](const QString& pick) {
            QTimer::singleShot(0, &frame, [&, pick] {
                auto* chooser = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (!chooser) return;
                filters << chooser->selectedNameFilter();
                folders << chooser->directory().absolutePath();
                if (pick.isEmpty()) {
                    chooser->reject();
                    return;
                }
                chooser->selectFile(pick);
                static_cast<QDialog*>(chooser)->accept();
            });
        };
        answer(log);
        QVERIFY(frame.RunCommand(app_ui::kCmdFileOpen));
        QCOMPARE(DocumentPathsOf(app), QStringList{log});
        QCOMPARE(frame.LastOpenFolder(), QFileInfo(log).absolutePath());
        answer({});
        QVERIFY(frame.RunCommand(app_ui::kCmdFileOpen));
        QCOMPARE(filters.size(), 2);
        QCOMPARE(filters.first(), QStringLiteral("All Files (*)"));
        QCOMPARE(folders.last(), QFileInfo(log).absolutePath());
    }

    // Opening a file or moving the window schedules one save of the recent
    // list and the placement, as if the session could end any moment.
    void sessionIsSavedWhileItChanges() {
        const QString path = WriteFile("session.log", "x\r\n");
        {
            app::CTarvikApp app;
            CMainFrame frame(app);
            frame.ShowWithPlacement(false, settings::WindowRect{40, 50, 640, 450});
            frame.SaveSession();
            QVERIFY(!frame.IsSessionSavePending());
            frame.OpenFiles(Paths({path}));
            QVERIFY(frame.IsSessionSavePending());
            frame.resize(700, 500);
            QVERIFY(frame.IsSessionSavePending());
            QVERIFY(frame.SessionSaveDelay() >= 1000);
            QTRY_VERIFY_WITH_TIMEOUT(!frame.IsSessionSavePending(), 30000);
            // What the timer saved is in the store while the window is open.
            discovery::CRecentFileList saved;
            saved.Load();
            QVERIFY(!saved.Entries().empty());
            QCOMPARE(QString::fromStdU16String(saved.Entries().front()), path);
            app::CTarvikApp reader;
            bool maximized = true;
            settings::WindowRect rect;
            reader.LoadOptions(maximized, rect);
            QVERIFY(!maximized);
            QCOMPARE(rect.right - rect.left, 700);
            QCOMPARE(rect.bottom - rect.top, 500);
        }
    }

    void minimizingToTheTrayKeepsTheMaximizedState() {
        app::CTarvikApp app;
        app.GetOptions().MinimizeWndMin = true;
        CMainFrame frame(app);
        frame.showMaximized();
        frame.showMinimized();
        QTRY_VERIFY_WITH_TIMEOUT(frame.IsInTray(), 5000);
        frame.RestoreFromTray(true);
        QVERIFY(frame.isVisible());
        QVERIFY(frame.isMaximized());
    }

    void trayExitEndsTheEventLoopWhileHidden() {
        app::CTarvikApp app;
        auto* frame = new CMainFrame(app);
        frame->show();
        frame->HideToTray();
        QVERIFY(!frame->isVisible());
        QTimer::singleShot(0, frame, [frame] { emit frame->TrayIcon()->exitRequested(); });
        // Should the loop not end, this ends it with a code the test refuses.
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [] { QCoreApplication::exit(99); });
        watchdog.start(60000);
        QCOMPARE(QApplication::exec(), 0);
        delete frame;
    }
    // A reload's failure box runs its own event loop: a document closed from
    // there (a close command, Exit, a later start) stays alive until its
    // command has returned, and Reload All goes on with the others.
    void documentClosedUnderItsOwnMessageBoxOutlivesTheCommand() {
        const QString a = WriteFile("gone-a.log", "a\r\n");
        const QString b = WriteFile("gone-b.log", "b\r\n");
        const QString c = WriteFile("kept-c.log", "c\r\n");
        app::CTarvikApp app;
        CMainFrame frame(app);
        frame.show();
        frame.OpenFiles(Paths({a, b, c}));
        QCOMPARE(app.Documents().size(), std::size_t{3});
        QVERIFY(QFile::remove(a));
        QVERIFY(QFile::remove(b));
        QStringList texts;
        int boxes = 0;
        // The first two boxes close the document that is reloading.
        std::function<void()> closeUnderTheBox = [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) {
                QTimer::singleShot(0, &frame, closeUnderTheBox);
                return;
            }
            texts << box->text();
            ++boxes;
            if (boxes == 1) app.CloseDocument(app.Documents().back().get());
            if (boxes == 2) app.CloseDocument(app.Documents().front().get());
            box->accept();
            if (boxes == 2) QTimer::singleShot(0, &frame, closeUnderTheBox);
        };
        QTimer::singleShot(0, &frame, closeUnderTheBox);
        frame.ActivateDocument(*app.Documents().back());
        QVERIFY(QFile::remove(c));
        QVERIFY(frame.RunCommand(core::kCmdReload));
        QCOMPARE(boxes, 1);
        QCOMPARE(app.Documents().size(), std::size_t{2});

        QTimer::singleShot(0, &frame, closeUnderTheBox);
        QVERIFY(frame.RunCommand(app::kCmdReloadAllDocuments));
        // The other document was reloaded too (its file is gone as well).
        QCOMPARE(boxes, 3);
        QCOMPARE(app.Documents().size(), std::size_t{1});
        QCOMPARE(QString::fromStdU16String(app.Documents().front()->GetPathName()), b);
        app.OnRefreshTick();
        QCOMPARE(texts, QStringList(3, QStringLiteral("Could not reload content of the file")));
    }
};

QTEST_MAIN(FrameStateTest)
#include "FrameStateTest.moc"
