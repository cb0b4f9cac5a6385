// The tab strip driven offscreen: label cutting and aliases, the flash
// rules and the per-tab flash choice, colour marks, the context menus and
// the alias dialog.

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <QtTest>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "RecordingUi.h"
#include "app/TarvikApp.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/TabAliasDialog.h"
#include "app/ui/TabStrip.h"
#include "core/IUserInterface.h"
#include "platform/Registry.h"

using app_ui::CTabStrip;
using app_ui::DocumentKey;
using app_ui::TabImage;

namespace {

using ui_test::RecordingUi;

// Distinct addresses serve as document keys.
int gDocuments[4];
const DocumentKey kFirst = &gDocuments[0];
const DocumentKey kSecond = &gDocuments[1];
const DocumentKey kThird = &gDocuments[2];

QAction* FindAction(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

QPoint CenterOfTab(const CTabStrip& strip, DocumentKey key) {
    return strip.tabRect(strip.IndexOf(key)).center();
}

}  // namespace

class TabStripTest : public QObject {
    Q_OBJECT
private slots:
    void labelsAreCutAndAliasesWin();
    void refreshDropsAliasesAndSkipsUnchangedTabs();
    void toolTipsAndAmpersands();
    void flashWithoutAMarkAlternatesWithBlank();
    void flashingAlternatesWithTheMarkAndStopsOnSelection();
    void stopAllRestoresImagesAndStopsTimer();
    void perTabFlashChoice();
    void marksFollowTheFlashAndHaveTheirColours();
    void tabMenuCommandsCarryTheDocument();
    void stripMenuBesideTheTabs();
    void userSelectionAnnouncesActivation();
    void closeButtonsMiddleClickAndDraggedOrder();
    void aliasDialogRefusesEmptyAndOffersFileName();
    void editAliasStoresAndShowsUncut();
    void aliasesLiveInTheApplicationStore();
    void screenshotWithMarksAndMenu();
};

void TabStripTest::labelsAreCutAndAliasesWin() {
    CTabStrip strip;
    strip.SetAliasStore(
        [](std::u16string_view path, std::u16string& alias) {
            if (path != u"/var/log/aliased.log") return false;
            alias = u"Web server errors";
            return true;
        },
        nullptr);
    strip.SetLabelLimit(true, 5);
    strip.AddTab(kFirst, "averylongname.log", "/var/log/averylongname.log");
    strip.AddTab(kSecond, "aliased.log", "/var/log/aliased.log");
    strip.AddTab(kThird, "abcde", "/tmp/abcde");
    QCOMPARE(strip.LabelOf(kFirst), QString("avery"));
    QCOMPARE(strip.LabelOf(kSecond), QString("Web s"));
    QCOMPARE(strip.LabelOf(kThird), QString("abcde"));
    QCOMPARE(strip.tabText(0), QString("avery"));

    strip.SetLabelLimit(false, 5);
    strip.AddTab(&gDocuments[3], "averylongname.log", "/x/averylongname.log");
    QCOMPARE(strip.LabelOf(&gDocuments[3]), QString("averylongname.log"));

    // A key that is already present adds no second tab.
    strip.AddTab(kFirst, "other", "/other");
    QCOMPARE(strip.count(), 4);
    QCOMPARE(CTabStrip::CutLabel("abc", true, 0), QString());
}

void TabStripTest::refreshDropsAliasesAndSkipsUnchangedTabs() {
    CTabStrip strip;
    strip.AddTab(kFirst, "first.log", "/var/log/first.log");
    strip.AddTab(kSecond, "second.log", "/var/log/second.log");
    strip.SetAliasText(kFirst, "An alias longer than any limit");
    strip.SetLabelLimit(true, 6);
    strip.RefreshTabLabels();
    QCOMPARE(strip.LabelOf(kFirst), QString("first."));
    QCOMPARE(strip.LabelOf(kSecond), QString("second"));
    QCOMPARE(strip.tabText(strip.IndexOf(kSecond)), QString("second"));
}

void TabStripTest::toolTipsAndAmpersands() {
    CTabStrip strip;
    const QString path79 = "/" + QString(78, 'a');
    const QString path80 = "/" + QString(79, 'b');
    strip.AddTab(kFirst, "a", path79);
    strip.AddTab(kSecond, "b", path80);
    strip.AddTab(kThird, "R&D.log", "/srv/R&D.log");
    QCOMPARE(strip.tabToolTip(0), path79);
    QCOMPARE(strip.tabToolTip(1), path80.left(79));
    QCOMPARE(strip.FullPathOf(kSecond), path80);
    QCOMPARE(strip.LabelOf(kThird), QString("R&D.log"));
    QCOMPARE(strip.tabText(2), QString("R&&D.log"));
    QCOMPARE(CTabStrip::FileNameOf("/srv/logs/app.log"), QString("app.log"));
    QCOMPARE(CTabStrip::FileNameOf("plain"), QString("plain"));

    // A file name that looks like markup shows as it is.
    const QString markup = "/srv/<b>x</b>.log";
    strip.AddTab(&gDocuments[3], "<b>x</b>.log", markup);
    QTextDocument shown;
    shown.setHtml(strip.tabToolTip(3));
    QCOMPARE(shown.toPlainText(), markup);
}

void TabStripTest::flashWithoutAMarkAlternatesWithBlank() {
    CTabStrip strip;
    strip.AddTab(kFirst, "active", "/a");
    strip.AddTab(kSecond, "inactive", "/b");
    QVERIFY(!strip.IsFlashTimerRunning());

    // A tab without an image starts flashing on the blank image.
    strip.StartTabFlash(kSecond);
    QVERIFY(strip.IsFlashing(kSecond));
    QVERIFY(strip.IsShowingImage(kSecond));
    QCOMPARE(strip.ShownImageOf(kSecond), TabImage::Blank);
    QVERIFY(strip.IsFlashTimerRunning());
    QTRY_COMPARE_WITH_TIMEOUT(strip.ShownImageOf(kSecond), TabImage::NewData, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(strip.ShownImageOf(kSecond), TabImage::Blank, 3000);

    // Unknown documents are ignored.
    strip.StartTabFlash(kThird);
    QVERIFY(!strip.IsFlashing(kThird));
}

void TabStripTest::flashingAlternatesWithTheMarkAndStopsOnSelection() {
    CTabStrip strip;
    strip.AddTab(kFirst, "active", "/a");
    strip.AddTab(kSecond, "marked", "/b");
    strip.SetMark(kSecond, TabImage::Red);
    strip.StartTabFlash(kSecond);
    QCOMPARE(strip.ShownImageOf(kSecond), TabImage::NewData);
    QTRY_COMPARE_WITH_TIMEOUT(strip.ShownImageOf(kSecond), TabImage::Red, 3000);
    QTRY_COMPARE_WITH_TIMEOUT(strip.ShownImageOf(kSecond), TabImage::NewData, 3000);
    QCOMPARE(strip.MarkOf(kSecond), TabImage::Red);

    strip.SelectTab(kSecond);
    QVERIFY(!strip.IsFlashing(kSecond));
    QCOMPARE(strip.ShownImageOf(kSecond), TabImage::Red);
    QCOMPARE(strip.currentIndex(), 1);
    // With no tab flashing, the next step stops the timer.
    QTRY_VERIFY_WITH_TIMEOUT(!strip.IsFlashTimerRunning(), 3000);
    QCOMPARE(strip.ShownImageOf(kSecond), TabImage::Red);
}

void TabStripTest::stopAllRestoresImagesAndStopsTimer() {
    CTabStrip strip;
    strip.AddTab(kFirst, "active", "/a");
    strip.AddTab(kSecond, "plain", "/b");
    strip.AddTab(kThird, "blue", "/c");
    strip.SetMark(kThird, TabImage::Blue);
    strip.StartTabFlash(kSecond);
    strip.StartTabFlash(kThird);
    // A tab already flashing is left alone.
    strip.StartTabFlash(kThird);
    QCOMPARE(strip.ShownImageOf(kThird), TabImage::NewData);
    strip.StopAllTabFlash();
    QVERIFY(!strip.IsFlashTimerRunning());
    QVERIFY(!strip.IsFlashing(kSecond));
    QVERIFY(!strip.IsShowingImage(kSecond));
    QCOMPARE(strip.ShownImageOf(kThird), TabImage::Blue);

    // A closed tab that was flashing leaves no dangling record.
    strip.StartTabFlash(kSecond);
    strip.RemoveTab(kSecond);
    QCOMPARE(strip.count(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(!strip.IsFlashTimerRunning(), 3000);
}

void TabStripTest::perTabFlashChoice() {
    CTabStrip strip;
    strip.AddTab(kFirst, "active", "/a");
    strip.AddTab(kSecond, "quiet", "/b");

    // Flashing by default: "Disable &Flash" suppresses it and stops a running one.
    strip.StartTabFlash(kSecond);
    QVERIFY(strip.IsFlashing(kSecond));
    std::unique_ptr<QMenu> menu(strip.BuildContextMenu(CenterOfTab(strip, kSecond)));
    QAction* disable = FindAction(menu.get(), "Disable &Flash");
    QVERIFY(disable);
    QVERIFY(!disable->isChecked());
    disable->trigger();
    QVERIFY(strip.IsFlashSuppressed(kSecond));
    QVERIFY(!strip.IsFlashing(kSecond));
    menu.reset(strip.BuildContextMenu(CenterOfTab(strip, kSecond)));
    QVERIFY(FindAction(menu.get(), "Disable &Flash")->isChecked());

    // Not flashing by default: only an "Enable &Flash" tab flashes.
    strip.SetFlashByDefault(false);
    strip.StopAllTabFlash();
    menu.reset(strip.BuildContextMenu(CenterOfTab(strip, kFirst)));
    QAction* enable = FindAction(menu.get(), "Enable &Flash");
    QVERIFY(enable);
    QVERIFY(!enable->isChecked());
    enable->trigger();
    QVERIFY(strip.IsFlashRequested(kFirst));
    strip.StartTabFlash(kFirst);
    QVERIFY(strip.IsFlashing(kFirst));
    menu.reset(strip.BuildContextMenu(CenterOfTab(strip, kFirst)));
    FindAction(menu.get(), "Enable &Flash")->trigger();
    QVERIFY(!strip.IsFlashing(kFirst));
    QVERIFY(!strip.IsShowingImage(kFirst));
}

void TabStripTest::marksFollowTheFlashAndHaveTheirColours() {
    const std::vector<std::pair<TabImage, QColor>> expected = {
        {TabImage::Red, Qt::red},       {TabImage::Green, Qt::green},    {TabImage::Blue, Qt::blue},
        {TabImage::Yellow, Qt::yellow}, {TabImage::Purple, Qt::magenta}, {TabImage::Cyan, Qt::cyan},
    };
    for (int position = 0; position < app_ui::kTabMarkCount; ++position) {
        const auto& [mark, hue] = expected[position];
        QCOMPARE(app_ui::TabMarkAt(position), mark);
        const QColor color = app_ui::TabMarkColor(mark);
        QVERIFY(color.isValid());
        // Close to the named hue: each channel on the same side of the middle.
        QCOMPARE(color.red() > 127, hue.red() > 127);
        QCOMPARE(color.green() > 127, hue.green() > 127);
        QCOMPARE(color.blue() > 127, hue.blue() > 127);
        const QImage image = app_ui::TabImagePixmap(mark).toImage();
        QCOMPARE(image.width(), app_ui::kTabImageWidth);
        QCOMPARE(image.pixelColor(5, 5), color);
    }
    QVERIFY(!app_ui::TabMarkColor(TabImage::NewData).isValid());
    QCOMPARE(app_ui::TabMarkAt(6), TabImage::Blank);

    CTabStrip strip;
    strip.AddTab(kFirst, "active", "/a");
    strip.AddTab(kSecond, "b", "/b");
    // Marked while flashing, the tab shows the mark once its document is activated.
    strip.StartTabFlash(kSecond);
    strip.SetMark(kSecond, TabImage::Green);
    strip.SelectTab(kSecond);
    QCOMPARE(strip.ShownImageOf(kSecond), TabImage::Green);

    strip.SelectTab(kFirst);
    strip.StartTabFlash(kSecond);
    strip.SetMark(kSecond, TabImage::Blank);
    QCOMPARE(strip.MarkOf(kSecond), TabImage::Blank);
    strip.SelectTab(kSecond);
    QVERIFY(!strip.IsShowingImage(kSecond));
}

void TabStripTest::tabMenuCommandsCarryTheDocument() {
    CTabStrip strip;
    strip.resize(600, 30);
    strip.AddTab(kFirst, "first.log", "/a/first.log");
    strip.AddTab(kSecond, "second.log", "/a/second.log");
    QSignalSpy closes(&strip, &CTabStrip::closeRequested);
    QSignalSpy others(&strip, &CTabStrip::closeOthersRequested);

    std::unique_ptr<QMenu> menu(strip.BuildContextMenu(CenterOfTab(strip, kSecond)));
    QCOMPARE(menu->objectName(), QString("TAB"));
    QCOMPARE(strip.ContextKey(), kSecond);
    for (const char* text :
         {"&Close", "Close &Others", "&Set Alias...", "&Red", "&Cyan", "Cl&ear Mark"}) {
        QVERIFY2(FindAction(menu.get(), text), text);
    }
    FindAction(menu.get(), "&Purple")->trigger();
    QCOMPARE(strip.MarkOf(kSecond), TabImage::Purple);
    QCOMPARE(strip.MarkOf(kFirst), TabImage::Blank);
    FindAction(menu.get(), "Close &Others")->trigger();
    QCOMPARE(others.count(), 1);
    QCOMPARE(others.at(0).at(0).value<DocumentKey>(), kSecond);
    FindAction(menu.get(), "&Close")->trigger();
    QCOMPARE(closes.count(), 1);
    QCOMPARE(closes.at(0).at(0).value<DocumentKey>(), kSecond);

    // A menu kept open while its tab closes does nothing.
    strip.RemoveTab(kSecond);
    QCOMPARE(strip.ContextKey(), DocumentKey(nullptr));
    FindAction(menu.get(), "&Close")->trigger();
    FindAction(menu.get(), "&Red")->trigger();
    QCOMPARE(closes.count(), 1);
    QCOMPARE(strip.MarkOf(kFirst), TabImage::Blank);
}

void TabStripTest::stripMenuBesideTheTabs() {
    CTabStrip strip;
    strip.resize(600, 30);
    strip.AddTab(kFirst, "first.log", "/a/first.log");
    QSignalSpy bottom(&strip, &CTabStrip::dockBottomRequested);
    QSignalSpy toggle(&strip, &CTabStrip::toggleStripRequested);
    const QRect tab = strip.tabRect(0);
    std::unique_ptr<QMenu> menu(strip.BuildContextMenu(QPoint(tab.right() + 50, tab.center().y())));
    QCOMPARE(menu->objectName(), QString("TAB2"));
    QVERIFY(FindAction(menu.get(), "&Top")->isChecked());
    FindAction(menu.get(), "&Bottom")->trigger();
    FindAction(menu.get(), "&Show")->trigger();
    QCOMPARE(bottom.count(), 1);
    QCOMPARE(toggle.count(), 1);

    strip.SetDockedAtTop(false);
    menu.reset(strip.BuildContextMenu(QPoint(tab.right() + 50, tab.center().y())));
    QVERIFY(FindAction(menu.get(), "&Bottom")->isChecked());

    // An empty strip offers only the strip commands.
    CTabStrip empty;
    std::unique_ptr<QMenu> emptyMenu(empty.BuildContextMenu(QPoint(5, 5)));
    QCOMPARE(emptyMenu->objectName(), QString("TAB2"));
}

void TabStripTest::userSelectionAnnouncesActivation() {
    CTabStrip strip;
    strip.AddTab(kFirst, "first.log", "/a/first.log");
    strip.AddTab(kSecond, "second.log", "/a/second.log");
    QSignalSpy activated(&strip, &CTabStrip::documentActivated);
    strip.SelectTab(kSecond);
    QCOMPARE(activated.count(), 0);
    strip.StartTabFlash(kFirst);
    strip.setCurrentIndex(0);
    QCOMPARE(activated.count(), 1);
    QCOMPARE(activated.at(0).at(0).value<DocumentKey>(), kFirst);
    QVERIFY(!strip.IsFlashing(kFirst));
}

// Each tab's close button and a middle click over a tab ask to close that
// document; a middle click beside the tabs asks nothing. A moved tab keeps
// its document, and the order beside a tab is the strip's new order.
void TabStripTest::closeButtonsMiddleClickAndDraggedOrder() {
    CTabStrip strip;
    strip.AddTab(kFirst, "first.log", "/a/first.log");
    strip.AddTab(kSecond, "second.log", "/a/second.log");
    strip.AddTab(kThird, "third.log", "/a/third.log");
    strip.resize(600, 40);
    strip.show();
    QVERIFY(QTest::qWaitForWindowExposed(&strip));
    QSignalSpy close(&strip, &CTabStrip::closeRequested);
    QWidget* button = strip.tabButton(1, QTabBar::RightSide);
    if (!button) button = strip.tabButton(1, QTabBar::LeftSide);
    QVERIFY(button);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(close.count(), 1);
    QCOMPARE(close.at(0).at(0).value<DocumentKey>(), kSecond);
    QTest::mouseClick(&strip, Qt::MiddleButton, {}, strip.tabRect(2).center());
    QCOMPARE(close.count(), 2);
    QCOMPARE(close.at(1).at(0).value<DocumentKey>(), kThird);
    QTest::mouseClick(&strip, Qt::MiddleButton, {}, QPoint(590, 20));
    QCOMPARE(close.count(), 2);
    QCOMPARE(strip.count(), 3);  // closing is the frame's business

    QVERIFY(strip.isMovable());
    QCOMPARE(strip.KeyBeside(kFirst, 1), kSecond);
    strip.moveTab(0, 2);
    QCOMPARE(strip.KeyAt(2), kFirst);
    QCOMPARE(strip.KeyBeside(kFirst, 1), kSecond);
    QCOMPARE(strip.KeyBeside(kSecond, 1), kThird);
    QCOMPARE(strip.KeyBeside(kThird, 1), kFirst);
    QCOMPARE(strip.KeyBeside(kSecond, -1), kFirst);
    QCOMPARE(strip.KeyBeside(&gDocuments[3], 1), DocumentKey{});
    strip.SetMark(kFirst, app_ui::TabImage::Red);
    QCOMPARE(strip.MarkOf(kFirst), app_ui::TabImage::Red);
    QCOMPARE(strip.LabelOf(kFirst), QString("first.log"));
}

void TabStripTest::aliasDialogRefusesEmptyAndOffersFileName() {
    RecordingUi ui;
    app_ui::CTabAliasDialog dialog("/var/log/syslog.1", "Sys", &ui);
    QCOMPARE(dialog.windowTitle(), QString("Set Tab Alias"));
    QCOMPARE(dialog.AliasEdit()->text(), QString("Sys"));
    dialog.AliasEdit()->clear();
    dialog.accept();
    QCOMPARE(ui.messages, QStringList{"Please enter alias."});
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    dialog.UseFileNameButton()->click();
    QCOMPARE(dialog.Alias(), QString("syslog.1"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(ui.messages.size(), 1);
}

void TabStripTest::editAliasStoresAndShowsUncut() {
    CTabStrip strip;
    std::vector<std::pair<std::u16string, std::u16string>> saved;
    strip.SetAliasStore(nullptr, [&saved](std::u16string_view path, std::u16string_view alias) {
        saved.emplace_back(path, alias);
        return true;
    });
    strip.SetLabelLimit(true, 4);
    strip.AddTab(kFirst, "application.log", "/srv/application.log");
    QSignalSpy changed(&strip, &CTabStrip::aliasChanged);
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<app_ui::CTabAliasDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        dialog->AliasEdit()->setText("Application & friends");
        dialog->accept();
    });
    strip.EditAlias(kFirst);
    QCOMPARE(saved.size(), size_t(1));
    QVERIFY(saved[0].first == u"/srv/application.log");
    QVERIFY(saved[0].second == u"Application & friends");
    QCOMPARE(strip.LabelOf(kFirst), QString("Application & friends"));
    QCOMPARE(changed.count(), 1);
}

// The frame wires the strip to the application's alias store; an alias set
// in one session names the tab of the same path in the next.
void TabStripTest::aliasesLiveInTheApplicationStore() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    platform::registry_store::UsePath((dir.path() + "/registry.db").toStdString());
    app::CTarvikApp app;
    const auto wire = [&app](CTabStrip& strip) {
        strip.SetAliasStore([&app](std::u16string_view path,
                                   std::u16string& alias) { return app.LoadAlias(path, alias); },
                            [&app](std::u16string_view path, std::u16string_view alias) {
                                return app.SaveAlias(path, alias);
                            });
    };
    {
        CTabStrip strip;
        wire(strip);
        strip.AddTab(kFirst, "auth.log", "/var/log/auth.log");
        QCOMPARE(strip.LabelOf(kFirst), QString("auth.log"));
        QTimer::singleShot(0, [] {
            auto* dialog =
                qobject_cast<app_ui::CTabAliasDialog*>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->AliasEdit()->setText("Logins");
            dialog->accept();
        });
        strip.EditAlias(kFirst);
    }
    CTabStrip next;
    wire(next);
    next.AddTab(kSecond, "auth.log", "/var/log/auth.log");
    next.AddTab(kThird, "kern.log", "/var/log/kern.log");
    QCOMPARE(next.LabelOf(kSecond), QString("Logins"));
    QCOMPARE(next.LabelOf(kThird), QString("kern.log"));
}

void TabStripTest::screenshotWithMarksAndMenu() {
    QWidget window;
    window.resize(640, 260);
    auto* strip = new CTabStrip(&window);
    strip->setGeometry(0, 0, 640, 30);
    strip->AddTab(kFirst, "syslog", "/var/log/syslog");
    strip->AddTab(kSecond, "nginx-error.log", "/var/log/nginx/error.log");
    strip->AddTab(kThird, "app.log", "/srv/app/app.log");
    strip->SetMark(kFirst, TabImage::Red);
    strip->SetMark(kThird, TabImage::Cyan);
    strip->StartTabFlash(kSecond);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    std::unique_ptr<QMenu> menu(strip->BuildContextMenu(CenterOfTab(*strip, kThird)));
    menu->popup(window.mapToGlobal(QPoint(180, 30)));
    QTRY_VERIFY(menu->isVisible());

    QImage shot(640, 30 + menu->height() + 10, QImage::Format_ARGB32);
    shot.fill(window.palette().window().color());
    QPainter painter(&shot);
    const QImage tabs = strip->grab().toImage();
    painter.drawImage(0, 0, tabs);
    painter.drawPixmap(180, 30, menu->grab());
    painter.end();
    // The marks show in their colours, and only those.
    const auto shows = [&tabs](const QColor& color) {
        int count = 0;
        for (int y = 0; y < tabs.height(); ++y) {
            for (int x = 0; x < tabs.width(); ++x) count += tabs.pixelColor(x, y) == color;
        }
        return count > 10;
    };
    QVERIFY(shows(app_ui::TabMarkColor(TabImage::Red)));
    QVERIFY(shows(app_ui::TabMarkColor(TabImage::Cyan)));
    QVERIFY(!shows(app_ui::TabMarkColor(TabImage::Green)));
    const QString path = QStringLiteral(TARVIK_ARTIFACTS_DIR "/tab-strip.png");
    QVERIFY(shot.save(path));
    menu->hide();
}

QTEST_MAIN(TabStripTest)
#include "TabStripTest.moc"
