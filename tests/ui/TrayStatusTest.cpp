// The tray icon and the status bar panes driven offscreen: blinking and its
// tip, the pop-up menu, the pane texts, tooltips, the clock and the
// double-click signals.

#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTime>
#include <QtTest>

#include "app/StatusPaneText.h"
#include "app/ui/StatusPanes.h"
#include "app/ui/TrayIcon.h"
#include "core/SizeFormat.h"
#include "settings/Options.h"

using app_ui::CStatusPanes;
using app_ui::CTrayIcon;

namespace {

QAction* FindAction(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) return action;
    }
    return nullptr;
}

}  // namespace

class TrayStatusTest : public QObject {
    Q_OBJECT
private slots:
    void trayBlinksUntilHidden();
    void blinkNeedsTheIconInTheTray();
    void trayMenuAndClick();
    void paneTooltipsAndEngineTexts();
    void monitoringPaneFollowsTheState();
    void clockFormatAndSwitching();
    void doubleClicksReportThePane();
};

void TrayStatusTest::trayBlinksUntilHidden() {
    CTrayIcon tray;
    tray.Show();
    QVERIFY(tray.IsShown());
    QVERIFY(!tray.IsBlinking());
    QCOMPARE(tray.ToolTip(), QString("Ostra Tarvik (Unicode)"));
    QCOMPARE(tray.SystemIcon()->toolTip(), QString("Ostra Tarvik (Unicode)"));

    tray.StartBlink();
    QVERIFY(tray.IsBlinking());
    QVERIFY(tray.ShowsAlternate());
    QCOMPARE(tray.ToolTip(), QString("Ostra Tarvik (Unicode) - New data arrived!"));
    QCOMPARE(tray.SystemIcon()->toolTip(), tray.ToolTip());
    QTRY_VERIFY_WITH_TIMEOUT(!tray.ShowsAlternate(), 3000);
    QTRY_VERIFY_WITH_TIMEOUT(tray.ShowsAlternate(), 3000);

    tray.Hide();
    QVERIFY(!tray.IsShown());
    QVERIFY(!tray.IsBlinking());
    tray.Show();
    QVERIFY(!tray.ShowsAlternate());
    QCOMPARE(tray.ToolTip(), QString("Ostra Tarvik (Unicode)"));
}

void TrayStatusTest::blinkNeedsTheIconInTheTray() {
    CTrayIcon tray;
    tray.StartBlink();
    QVERIFY(!tray.IsBlinking());
    QCOMPARE(tray.ToolTip(), QString("Ostra Tarvik (Unicode)"));
    // Showing twice keeps a running blink's state untouched.
    tray.Show();
    tray.StartBlink();
    tray.Show();
    QVERIFY(tray.IsBlinking());
    QCOMPARE(tray.ToolTip(), CTrayIcon::NewDataTip());
}

void TrayStatusTest::trayMenuAndClick() {
    CTrayIcon tray;
    QSignalSpy show(&tray, &CTrayIcon::showWindowRequested);
    QSignalSpy exit(&tray, &CTrayIcon::exitRequested);
    QCOMPARE(tray.PopupMenu()->objectName(), QString("SYSTRAY_POPUP"));
    FindAction(tray.PopupMenu(), "&Show Window")->trigger();
    QCOMPARE(show.count(), 1);
    emit tray.SystemIcon()->activated(QSystemTrayIcon::Trigger);
    QCOMPARE(show.count(), 2);
    emit tray.SystemIcon()->activated(QSystemTrayIcon::Context);
    QCOMPARE(show.count(), 2);
    FindAction(tray.PopupMenu(), "E&xit")->trigger();
    QCOMPARE(exit.count(), 1);
}

void TrayStatusTest::paneTooltipsAndEngineTexts() {
    QStatusBar bar;
    CStatusPanes panes(&bar);
    const QStringList labels = {"Clock",
                                "Monitoring status",
                                "Caret position",
                                "Text length in editor",
                                "Maximum buffer size",
                                "Refresh rate"};
    const int widths[] = {60, 18, 100, 70, 70, 50};
    for (int pane = 1; pane <= CStatusPanes::kPaneCount; ++pane) {
        QLabel* label = panes.PaneLabel(CStatusPanes::Pane(pane));
        QVERIFY(label);
        QCOMPARE(label->toolTip(), labels[pane - 1]);
        QVERIFY(label->minimumWidth() >= widths[pane - 1]);
        QVERIFY(label->text().isEmpty());
    }
    QVERIFY(!panes.PaneLabel(CStatusPanes::Pane(0)));
    QVERIFY(!panes.PaneLabel(CStatusPanes::Pane(7)));

    settings::Options options;
    options.LimitBufSize = false;
    panes.SetMaxBufferSizeText(app::MaxBufferSizePaneText(options));
    QCOMPARE(panes.PaneLabel(CStatusPanes::MaxBufferSize)->text(), QString("Unlimited"));
    options.LimitBufSize = true;
    options.MaxBufSiz = 1048575;
    panes.SetMaxBufferSizeText(app::MaxBufferSizePaneText(options));
    QCOMPARE(panes.PaneLabel(CStatusPanes::MaxBufferSize)->text(), QString("1024.00KB"));
    options.IntervalChkFile = 59999;
    panes.SetRefreshRateText(app::RefreshRatePaneText(options));
    QCOMPARE(panes.PaneLabel(CStatusPanes::RefreshRate)->text(), QString("60.0 sec."));
    panes.SetTextLengthText(core::FormatTextLength(2048));
    QCOMPARE(panes.PaneLabel(CStatusPanes::TextLength)->text(), QString("2.00KB"));
    panes.SetCaretText(u"Ln 3, Col 7");
    QCOMPARE(panes.PaneLabel(CStatusPanes::CaretPosition)->text(), QString("Ln 3, Col 7"));
    panes.SetCaretText(u"");
    QVERIFY(panes.PaneLabel(CStatusPanes::CaretPosition)->text().isEmpty());
}

void TrayStatusTest::monitoringPaneFollowsTheState() {
    QStatusBar bar;
    CStatusPanes panes(&bar);
    QLabel* pane = panes.PaneLabel(CStatusPanes::MonitoringState);
    panes.SetMonitoring(CStatusPanes::Monitoring::Running);
    QCOMPARE(pane->toolTip(), QString("Monitoring"));
    const QImage running = pane->pixmap().toImage();
    QVERIFY(!running.isNull());
    panes.SetMonitoring(CStatusPanes::Monitoring::Stopped);
    QCOMPARE(pane->toolTip(), QString("Stopped"));
    QVERIFY(pane->pixmap().toImage() != running);
    panes.SetMonitoring(CStatusPanes::Monitoring::NoDocument);
    QCOMPARE(pane->toolTip(), QString("Monitoring status"));
    QVERIFY(pane->pixmap().isNull());

    // The same state again leaves the pane alone.
    panes.SetMonitoring(CStatusPanes::Monitoring::Running);
    pane->setToolTip("touched");
    panes.SetMonitoring(CStatusPanes::Monitoring::Running);
    QCOMPARE(pane->toolTip(), QString("touched"));
}

void TrayStatusTest::clockFormatAndSwitching() {
    QCOMPARE(CStatusPanes::ClockText(QTime(9, 5, 7)), QString("9:05:07"));
    QCOMPARE(CStatusPanes::ClockText(QTime(0, 0, 0)), QString("0:00:00"));
    QCOMPARE(CStatusPanes::ClockText(QTime(23, 59, 59)), QString("23:59:59"));

    QStatusBar bar;
    CStatusPanes panes(&bar);
    QLabel* clock = panes.PaneLabel(CStatusPanes::Clock);
    QVERIFY(!panes.IsClockRunning());
    panes.SetClockEnabled(true);
    QVERIFY(panes.IsClockRunning());
    const QRegularExpression format("^\\d{1,2}:\\d\\d:\\d\\d$");
    QVERIFY2(format.match(clock->text()).hasMatch(), qPrintable(clock->text()));
    clock->setText("stale");
    QTRY_VERIFY_WITH_TIMEOUT(format.match(clock->text()).hasMatch(), 3000);
    panes.SetClockEnabled(false);
    QVERIFY(!panes.IsClockRunning());
    QVERIFY(clock->text().isEmpty());
}

void TrayStatusTest::doubleClicksReportThePane() {
    QStatusBar bar;
    CStatusPanes panes(&bar);
    bar.resize(600, 24);
    bar.show();
    QVERIFY(QTest::qWaitForWindowExposed(&bar));
    QSignalSpy any(&panes, &CStatusPanes::paneDoubleClicked);
    QSignalSpy options(&panes, &CStatusPanes::optionsRequested);
    QSignalSpy buffer(&panes, &CStatusPanes::bufferSizeRequested);
    QSignalSpy rate(&panes, &CStatusPanes::refreshRateRequested);

    for (int pane = 1; pane <= CStatusPanes::kPaneCount; ++pane) {
        QTest::mouseDClick(panes.PaneLabel(CStatusPanes::Pane(pane)), Qt::LeftButton);
    }
    QCOMPARE(any.count(), CStatusPanes::kPaneCount);
    for (int pane = 1; pane <= CStatusPanes::kPaneCount; ++pane) {
        QCOMPARE(any.at(pane - 1).at(0).toInt(), pane);
    }
    QCOMPARE(options.count(), 1);
    QCOMPARE(buffer.count(), 1);
    QCOMPARE(rate.count(), 1);

    // A single click opens nothing.
    QTest::mouseClick(panes.PaneLabel(CStatusPanes::Clock), Qt::LeftButton);
    QCOMPARE(options.count(), 1);
}

QTEST_MAIN(TrayStatusTest)
#include "TrayStatusTest.moc"
