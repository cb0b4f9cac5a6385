// The dialog "Stop Updating Notification" driven offscreen: controls enabled
// by their boxes, the file list with Add and Remove, the checks of OK in
// their order with the focus on the field at fault, the rule saved and taken
// by open documents, and the e-mail settings question.

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTreeWidget>
#include <QtTest>

#include <string>
#include <vector>

#include "DialogControls.h"
#include "RecordingUi.h"
#include "TestFolder.h"
#include "app/MailSettingsQuestion.h"
#include "app/TarvikApp.h"
#include "core/IUserInterface.h"
#include "mail/ui/StopUpdatingDialog.h"
#include "settings/StopUpdatingSettings.h"

namespace {

using ui_test::RecordingUi;

using ui_test::Click;
using ui_test::ClickOk;
using ui_test::Control;

QStringList Files(const QDialog& dialog) {
    QStringList files;
    const auto* list = Control<QTreeWidget>(dialog, "FileList");
    for (int i = 0; i < list->topLevelItemCount(); ++i) files << list->topLevelItem(i)->text(0);
    return files;
}

void LoadRule(app::CTarvikApp& app, const settings::StopUpdatingSettings& rule) {
    QVERIFY(settings::SaveStopUpdatingSettings(rule));
    bool maximized = true;
    settings::WindowRect rect{};
    app.LoadOptions(maximized, rect);
}

}  // namespace

class StopUpdatingDialogTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(dir_.IsValid()); }

    void init() { dir_.UseNextStore(); }

    void controlsFollowTheirBoxesAndTheListTakesNoRepeats() {
        app::CTarvikApp app;
        settings::StopUpdatingSettings rule;
        rule.allFiles = false;
        // Paths compare exactly: only the true repeats go.
        rule.files = {u"/logs/A.log", u"/logs/b.log", u"/logs/b.log"};
        LoadRule(app, rule);
        std::vector<std::u16string> picked = {u"/logs/b.log", u"/logs/c.log"};
        mail_ui::CStopUpdatingDialog dialog(app, nullptr, nullptr, {},
                                            [&picked](QWidget*) { return picked; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(Files(dialog), QStringList({"/logs/A.log", "/logs/b.log"}));

        const char* below[] = {"Seconds",   "Emails",        "DontSend",    "BeginHour",
                               "EndMinute", "AllFiles",      "FileList",    "Add",
                               "Remove",    "DesktopNotice", "PostWebHook", "WebHookUrl"};
        for (const char* name : below) QVERIFY2(!Control<QWidget>(dialog, name)->isEnabled(), name);
        Control<QCheckBox>(dialog, "Enable")->setChecked(true);
        for (const char* name : {"Seconds", "Emails", "DontSend", "AllFiles", "FileList", "Add",
                                 "DesktopNotice", "PostWebHook"}) {
            QVERIFY2(Control<QWidget>(dialog, name)->isEnabled(), name);
        }
        QVERIFY(!Control<QWidget>(dialog, "WebHookUrl")->isEnabled());
        Control<QCheckBox>(dialog, "PostWebHook")->setChecked(true);
        QVERIFY(Control<QWidget>(dialog, "WebHookUrl")->isEnabled());
        QVERIFY(!Control<QWidget>(dialog, "BeginHour")->isEnabled());
        QVERIFY2(!Control<QWidget>(dialog, "Remove")->isEnabled(), "nothing is selected");
        Control<QCheckBox>(dialog, "DontSend")->setChecked(true);
        for (const char* name : {"BeginHour", "BeginMinute", "EndHour", "EndMinute"}) {
            QVERIFY2(Control<QWidget>(dialog, name)->isEnabled(), name);
        }
        QCOMPARE(Control<QComboBox>(dialog, "BeginMinute")->count(), 60);
        QCOMPARE(Control<QComboBox>(dialog, "EndHour")->itemText(23), QStringLiteral("23"));
        QCOMPARE(Control<QComboBox>(dialog, "EndHour")->itemText(7), QStringLiteral("07"));

        Click(dialog, "Add");
        QCOMPARE(Files(dialog), QStringList({"/logs/A.log", "/logs/b.log", "/logs/c.log"}));
        auto* list = Control<QTreeWidget>(dialog, "FileList");
        list->topLevelItem(0)->setSelected(true);
        list->topLevelItem(2)->setSelected(true);
        QVERIFY(Control<QWidget>(dialog, "Remove")->isEnabled());
        Click(dialog, "Remove");
        QCOMPARE(Files(dialog), QStringList({"/logs/b.log"}));
        QVERIFY(!Control<QWidget>(dialog, "Remove")->isEnabled());

        Control<QRadioButton>(dialog, "AllFiles")->setChecked(true);
        for (const char* name : {"FileList", "Add", "Remove"}) {
            QVERIFY2(!Control<QWidget>(dialog, name)->isEnabled(), name);
        }
    }

    void okChecksInOrderSavesAndAsksForTheMailSettings() {
        app::CTarvikApp app;
        RecordingUi ui;
        ui.answer = core::MessageAnswer::Yes;
        const QString log = dir_.WriteFile(QStringLiteral("app.log"), "line\n");
        core::CTarvikDoc* doc = app.OpenDocument(log.toStdU16String());
        QVERIFY(doc);
        QVERIFY(!doc->StopNoticeEnabled());
        int mailSettingsOpened = 0;
        mail_ui::CStopUpdatingDialog dialog(app, &ui, nullptr,
                                            [&mailSettingsOpened] { ++mailSettingsOpened; });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Control<QCheckBox>(dialog, "Enable")->setChecked(true);
        Control<QSpinBox>(dialog, "Seconds")->setValue(0);
        Control<QLineEdit>(dialog, "Emails")->setText(QStringLiteral("   "));
        Control<QCheckBox>(dialog, "DontSend")->setChecked(true);
        Control<QComboBox>(dialog, "BeginHour")->setCurrentIndex(9);
        Control<QComboBox>(dialog, "EndHour")->setCurrentIndex(9);
        Control<QComboBox>(dialog, "BeginMinute")->setCurrentIndex(5);
        Control<QComboBox>(dialog, "EndMinute")->setCurrentIndex(5);

        dialog.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        ClickOk(dialog);
        QVERIFY(Control<QSpinBox>(dialog, "Seconds")->hasFocus());
        Control<QSpinBox>(dialog, "Seconds")->setValue(90);
        ClickOk(dialog);
        QVERIFY(Control<QLineEdit>(dialog, "Emails")->hasFocus());
        Control<QLineEdit>(dialog, "Emails")->setText(QStringLiteral(" ops@example.org "));
        ClickOk(dialog);
        QVERIFY(Control<QComboBox>(dialog, "BeginHour")->hasFocus());
        QCOMPARE(ui.messages,
                 QStringList({"Please enter a value greater than 0",
                              "Please enter one or more email addresses",
                              "Begin time (09:05) should be different to end time (09:05)."}));
        // Plain boxes, without an icon.
        QVERIFY(ui.icons.back() == core::MessageIcon::None);
        QVERIFY(dialog.isVisible());
        QVERIFY2(!settings::LoadStopUpdatingSettings().enabled, "nothing saved yet");

        Control<QComboBox>(dialog, "EndHour")->setCurrentIndex(17);
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY2(!app.Mail().StopUpdating().Settings().desktopNotice, "left unticked");
        settings::StopUpdatingSettings expected;
        expected.enabled = true;
        expected.seconds = 90;
        expected.emails = u"ops@example.org";
        expected.dontSendEnabled = true;
        expected.dontSendBegin = 9 * 3600 + 5 * 60;
        expected.dontSendEnd = 17 * 3600 + 5 * 60;
        QVERIFY(settings::LoadStopUpdatingSettings() == expected);
        QVERIFY(app.Mail().StopUpdating().Settings() == expected);
        QVERIFY2(doc->StopNoticeEnabled(), "open documents take the rule at once");
        // No e-mail settings exist: the question comes last, and Yes opens them.
        QCOMPARE(ui.messages.back().toStdU16String(),
                 std::u16string(app::kMailSettingsIncompleteQuestion));
        QVERIFY(ui.icons.back() == core::MessageIcon::Question);
        QCOMPARE(mailSettingsOpened, 1);
    }

    // The desktop and web hook channels go with the rule; the address loses
    // its outer blanks and the stored body, which has no field here, stays.
    // The dialog fits a 1280x720 screen with room for a title bar and a panel.
    void desktopAndWebHookChannelsKeepTheStoredBodyAndFitASmallScreen() {
        app::CTarvikApp app;
        settings::StopUpdatingSettings rule;
        rule.enabled = true;
        rule.seconds = 600;
        rule.emails = u"ops@example.org";
        rule.webHookBody = u"{\"quiet\":\"%f\"}";
        app.ApplyStopUpdating(rule);
        mail_ui::CStopUpdatingDialog dialog(app, nullptr);
        dialog.resize(dialog.sizeHint());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const QSize size = dialog.size();
        QVERIFY2(size.width() <= 1280 && size.height() <= 720 - 64,
                 qPrintable(QStringLiteral("%1x%2").arg(size.width()).arg(size.height())));
        Control<QCheckBox>(dialog, "DesktopNotice")->setChecked(true);
        Control<QCheckBox>(dialog, "PostWebHook")->setChecked(true);
        Control<QLineEdit>(dialog, "WebHookUrl")
            ->setText(QStringLiteral(" https://hooks.example.org/q "));
        QVERIFY(dialog.grab().toImage().save(
            QStringLiteral(TARVIK_ARTIFACTS_DIR "/stop-updating-dialog.png")));
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const settings::StopUpdatingSettings& taken = app.Mail().StopUpdating().Settings();
        QVERIFY(taken.desktopNotice);
        QVERIFY(taken.postWebHook);
        QVERIFY(taken.webHookUrl == u"https://hooks.example.org/q");
        QVERIFY(taken.webHookBody == rule.webHookBody);
    }

private:
    ui_test::TestFolder dir_;
};

QTEST_MAIN(StopUpdatingDialogTest)
#include "StopUpdatingDialogTest.moc"
