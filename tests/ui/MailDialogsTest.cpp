// The e-mail dialogs driven offscreen: "Email Settings" with its checks in
// order, its save through the real store, preview and reset, and a sample
// e-mail to a real SMTP server while the dialog waits disabled; and
// "Confirm Highlight Filter Notification Emails" with its tabs, buttons,
// questions and what confirming does to the filters.

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QtTest>

#include <string>
#include <vector>

#include "DialogControls.h"
#include "RecordingUi.h"
#include "TestFolder.h"
#include "app/ui/QtUiQueue.h"
#include "core/IUserInterface.h"
#include "filters/HighlightFilters.h"
#include "interop/SmtpSink.h"
#include "mail/MailCenter.h"
#include "mail/MailSettings.h"
#include "mail/NotificationRecords.h"
#include "mail/SslLibrary.h"
#include "mail/ui/ConfirmEmailsDialog.h"
#include "mail/ui/MailSettingsDialog.h"

namespace {

using ui_test::Click;
using ui_test::ClickOk;
using ui_test::Control;

using ui_test::RecordingUi;

void Type(const QWidget& dialog, const char* name, const QString& text) {
    Control<QLineEdit>(dialog, name)->setText(text);
}

void SetPort(const QWidget& dialog, const QString& text) {
    Control<QComboBox>(dialog, "Port")->setCurrentText(text);
}

// The server, port and sender a sample needs, for a server on this port.
void FillServer(const QWidget& dialog, std::uint32_t port) {
    Type(dialog, "SmtpServer", QStringLiteral("127.0.0.1"));
    SetPort(dialog, QString::number(port));
    Type(dialog, "MailFrom", QStringLiteral("monitor@example.org"));
}

QString Focused(const QDialog& dialog) {
    const QWidget* focus = dialog.focusWidget();
    // The combo box's own line edit stands for the box.
    if (focus && qobject_cast<const QComboBox*>(focus->parentWidget())) {
        focus = focus->parentWidget();
    }
    return focus ? focus->objectName() : QString();
}

QString CurrentTab(const QDialog& dialog) {
    const auto* tabs = Control<QTabWidget>(dialog, "Templates");
    return tabs->tabText(tabs->currentIndex());
}

QStringList Column(const QTreeWidget* list, int column) {
    QStringList cells;
    for (int row = 0; row < list->topLevelItemCount(); ++row) {
        cells << list->topLevelItem(row)->text(column);
    }
    return cells;
}

filters::HighlightFilter FirstOccurrenceMailer(std::u16string_view phrase) {
    filters::HighlightFilter filter;
    filter.phrase.Assign(phrase, false, false);
    filter.Enable = true;
    filter.SendEmail = true;
    filter.SendFirstOccured = true;
    filter.Emails = u"ops@example.org, dev@example.org";
    return filter;
}

mail::NotificationRecord Record(std::u16string_view phrase, filters::DocumentRef document,
                                mail::NotificationState state) {
    mail::NotificationRecord record;
    record.requiresConfirmation = state != mail::NotificationState::Sending;
    record.document = document;
    record.time = {2026, 12, 2, 8, 9, 5, 7, 0, 0};
    record.state = state;
    record.filterText = phrase;
    record.logFile = u"/var/log/app.log";
    record.emails = u"ops@example.org";
    if (state == mail::NotificationState::Failure) record.errorMessage = u"Miss email settings.";
    return record;
}

bool Notified(const filters::CHighlightFilters& filters, std::size_t index,
              filters::DocumentRef document) {
    return filters.Items()[index].notifiedDocuments->contains(document);
}

void SaveScreenshot(QWidget& dialog, const char* name) {
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.grab().toImage().save(QStringLiteral(TARVIK_ARTIFACTS_DIR "/") +
                                         QLatin1String(name)));
}

}  // namespace

class MailDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.IsValid());
        mail::InitSslLibrary();
    }

    void init() { dir_.UseNextStore(); }

    void settingsAreCheckedInOrderWithFocusOnTheField() {
        mail::CMailCenter mail(&queue_, platform::SystemClock::Instance());
        RecordingUi ui;
        mail_ui::CMailSettingsDialog dialog(mail, ui);
        dialog.show();
        auto* tabs = Control<QTabWidget>(dialog, "Templates");
        const auto okSays = [&](const QString& message, const char* field, const char* tab) {
            const int before = ui.messages.size();
            ClickOk(dialog);
            QVERIFY(dialog.isVisible());
            QCOMPARE(ui.messages.size(), before + 1);
            QCOMPARE(ui.Last(), message);
            QCOMPARE(ui.icons.back(), core::MessageIcon::Exclamation);
            QCOMPARE(Focused(dialog), QLatin1String(field));
            if (tab) QCOMPARE(CurrentTab(dialog), QLatin1String(tab));
        };

        okSays(QStringLiteral("Please input SMTP server name or IP."), "SmtpServer", nullptr);
        Type(dialog, "SmtpServer", QStringLiteral("smtp.example.org"));
        for (const char* port : {"0", "65536", "4294967321", "2x5", ""}) {
            SetPort(dialog, QLatin1String(port));
            okSays(QStringLiteral("SMTP port must be between 1 and 65535."), "Port", nullptr);
        }
        SetPort(dialog, QStringLiteral(" 587 "));
        okSays(QStringLiteral("Please input 'Mail From'."), "MailFrom", nullptr);
        Type(dialog, "MailFrom", QStringLiteral("monitor@example.org"));

        // The account fields follow the box; ticking it moves the focus there.
        auto* account = Control<QLineEdit>(dialog, "AccountName");
        QVERIFY(!account->isEnabled() && !Control<QLineEdit>(dialog, "Password")->isEnabled());
        Control<QCheckBox>(dialog, "RequiresAuth")->click();
        QVERIFY(account->isEnabled() && Control<QLineEdit>(dialog, "Password")->isEnabled());
        QCOMPARE(Focused(dialog), QStringLiteral("AccountName"));
        Control<QLineEdit>(dialog, "SmtpServer")->setFocus();
        okSays(QStringLiteral("Please input SMTP server authentication account name."),
               "AccountName", nullptr);
        account->setText(QStringLiteral("monitor"));

        // Each template's check selects its tab first, from whichever tab shows.
        tabs->setCurrentIndex(1);
        Type(dialog, "HighlightSubject", QString());
        Control<QPlainTextEdit>(dialog, "HighlightBody")->clear();
        Type(dialog, "StopSubject", QString());
        Control<QPlainTextEdit>(dialog, "StopBody")->clear();
        const QString noSubject = QStringLiteral("Please input email template subject.");
        const QString noBody = QStringLiteral("Please input email template body.");
        okSays(noSubject, "HighlightSubject", "Highlight Filter");
        Click(dialog, "Reset");
        QCOMPARE(Control<QLineEdit>(dialog, "HighlightSubject")->text(),
                 QStringLiteral("Highlight Phrase Occurs Notification"));
        Control<QPlainTextEdit>(dialog, "HighlightBody")->clear();
        okSays(noBody, "HighlightBody", "Highlight Filter");
        Control<QPlainTextEdit>(dialog, "HighlightBody")->setPlainText(QStringLiteral("%n"));
        okSays(noSubject, "StopSubject", "Stop Updating");
        Type(dialog, "StopSubject", QStringLiteral("quiet"));
        tabs->setCurrentIndex(0);
        okSays(noBody, "StopBody", "Stop Updating");

        // The sample needs the server fields only, then its address.
        Type(dialog, "SmtpServer", QString());
        Click(dialog, "SendSample");
        QCOMPARE(ui.Last(), QStringLiteral("Please input SMTP server name or IP."));
        Type(dialog, "SmtpServer", QStringLiteral("smtp.example.org"));
        Click(dialog, "SendSample");
        QCOMPARE(ui.Last(), QStringLiteral("Please enter a email address."));
        QCOMPARE(Focused(dialog), QStringLiteral("SampleAddress"));
        QVERIFY(!dialog.IsSendingSample());
        QVERIFY(!mail::AreMailSettingsComplete(mail::LoadMailSettings()));
    }

    void previewAndResetWorkOnTheSelectedTab() {
        mail::CMailCenter mail(&queue_, platform::SystemClock::Instance());
        RecordingUi ui;
        mail_ui::CMailSettingsDialog dialog(mail, ui);
        Click(dialog, "Preview");
        QCOMPARE(ui.icons.back(), core::MessageIcon::Information);
        QVERIFY(ui.Last().startsWith(
            QStringLiteral("Subject:\nHighlight Phrase Occurs Notification\n\n\nBody:\nHi,\r\n\r\n"
                           "Highlight phrase \"sample filter\" occurred in file d:\\app\\debug.log "
                           "at Tue Mar 02 15:32:21 2010.\r\n")));

        Control<QTabWidget>(dialog, "Templates")->setCurrentIndex(1);
        Type(dialog, "StopSubject", QStringLiteral("%f quiet %s s since %c"));
        Control<QPlainTextEdit>(dialog, "StopBody")->setPlainText(QStringLiteral("at %t\nend"));
        Click(dialog, "Preview");
        QCOMPARE(ui.Last(),
                 QStringLiteral("Subject:\nd:\\app\\debug.log quiet 180 s since last "
                                "update\n\n\nBody:\nat Tue Mar 02 15:32:21 2010\r\nend"));
        Type(dialog, "HighlightSubject", QStringLiteral("kept"));
        Click(dialog, "Reset");
        QCOMPARE(Control<QLineEdit>(dialog, "StopSubject")->text(),
                 QStringLiteral("File Stops Updating Notification"));
        QCOMPARE(Control<QLineEdit>(dialog, "HighlightSubject")->text(), QStringLiteral("kept"));
        QCOMPARE(dialog.EditedSettings().stopBody, std::u16string(mail::kDefaultStopBody));
    }

    void savedSettingsComeBackFromTheStore() {
        mail::CMailCenter mail(&queue_, platform::SystemClock::Instance());
        RecordingUi ui;
        {
            mail_ui::CMailSettingsDialog dialog(mail, ui);
            FillServer(dialog, 465);
            Control<QCheckBox>(dialog, "UseSsl")->setChecked(true);
            Control<QCheckBox>(dialog, "RequiresAuth")->setChecked(true);
            Type(dialog, "AccountName", QStringLiteral("monitor"));
            Type(dialog, "Password", QStringLiteral("pa55 \u00e4"));
            Control<QPlainTextEdit>(dialog, "StopBody")
                ->setPlainText(QStringLiteral("File %f\nquiet since %c\n"));
            ClickOk(dialog);
            QCOMPARE(dialog.result(), int(QDialog::Accepted));
            QVERIFY(ui.messages.isEmpty());
            QCOMPARE(Control<QLineEdit>(dialog, "Password")->echoMode(), QLineEdit::Password);
        }
        // Nothing was loaded before: the next notification reads the store.
        QVERIFY(!mail.Settings());
        const mail::MailSettings stored = mail::LoadMailSettings();
        QCOMPARE(stored.smtpServer, std::u16string(u"127.0.0.1"));
        QCOMPARE(stored.smtpPort, 465u);
        QVERIFY(stored.useSsl && stored.requiresAuth);
        QCOMPARE(stored.accountName, std::u16string(u"monitor"));
        QCOMPARE(stored.password, std::u16string(u"pa55 \u00e4"));
        QCOMPARE(stored.stopBody, std::u16string(u"File %f\r\nquiet since %c\r\n"));
        // The untouched template keeps its line ends exactly.
        QCOMPARE(stored.highlightBody, std::u16string(mail::kDefaultHighlightBody));

        // Loaded settings are edited and saved together; Cancel keeps them.
        mail.Notifier().Settings();
        {
            mail_ui::CMailSettingsDialog dialog(mail, ui);
            QCOMPARE(Control<QComboBox>(dialog, "Port")->currentText(), QStringLiteral("465"));
            QVERIFY(Control<QLineEdit>(dialog, "AccountName")->isEnabled());
            QCOMPARE(dialog.EditedSettings().stopBody, stored.stopBody);
            Control<QCheckBox>(dialog, "RequiresAuth")->setChecked(false);
            dialog.reject();
        }
        QVERIFY(mail.Settings()->requiresAuth);
        {
            mail_ui::CMailSettingsDialog dialog(mail, ui);
            SetPort(dialog, QStringLiteral("2525"));
            ClickOk(dialog);
        }
        QCOMPARE(mail.Settings()->smtpPort, 2525u);
        QCOMPARE(mail::LoadMailSettings().smtpPort, 2525u);
    }

    void sampleMailGoesToARealServerWhileTheDialogWaits() {
        mail::CMailCenter mail(&queue_, platform::SystemClock::Instance());
        RecordingUi ui;
        interop::SinkServer server({"--user", "monitor", "--password", "pa55"});
        QVERIFY(server.Port() != 0);
        mail_ui::CMailSettingsDialog dialog(mail, ui);
        FillServer(dialog, server.Port());
        Control<QCheckBox>(dialog, "RequiresAuth")->setChecked(true);
        Type(dialog, "AccountName", QStringLiteral("monitor"));
        Type(dialog, "Password", QStringLiteral("pa55"));
        Type(dialog, "SampleAddress", QStringLiteral("ops@example.org"));
        Control<QTabWidget>(dialog, "Templates")->setCurrentIndex(1);
        Type(dialog, "StopSubject", QStringLiteral("%f quiet"));
        SaveScreenshot(dialog, "email-settings-dialog.png");

        Click(dialog, "SendSample");
        QVERIFY(dialog.IsSendingSample());
        QVERIFY(!dialog.isEnabled());
        QCOMPARE(Control<QLabel>(dialog, "Status")->text(),
                 QStringLiteral("Sending sample email, please wait..."));
        SaveScreenshot(dialog, "email-settings-dialog-sending.png");
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsSendingSample(), 60000);
        QVERIFY(dialog.isEnabled());
        QVERIFY(Control<QLabel>(dialog, "Status")->text().isEmpty());
        QCOMPARE(ui.Last(), QStringLiteral("The sample email was sent successfully."));
        QCOMPARE(ui.icons.back(), core::MessageIcon::Information);
        const auto received = server.Message(1);
        QVERIFY(received);
        QVERIFY(received->envelope.find("authenticated: True") != std::string::npos);
        QVERIFY(received->envelope.find("rcpt_to: ops@example.org") != std::string::npos);
        QVERIFY(received->content.find("To: ops@example.org\r\n") != std::string::npos);
        QVERIFY(received->content.find("Subject: d:\\app\\debug.log quiet\r\n") !=
                std::string::npos);
        QVERIFY(received->content.find("has stopped updating for 180 seconds since last update") !=
                std::string::npos);

        // A refusal by the server comes back as the failure with its error text.
        Type(dialog, "Password", QStringLiteral("wrong"));
        Click(dialog, "SendSample");
        QVERIFY(!dialog.isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsSendingSample(), 60000);
        QVERIFY(dialog.isEnabled());
        QVERIFY(Control<QLabel>(dialog, "Status")->text().isEmpty());
        const QString failed = QStringLiteral("Failed to send the sample email.\n\nError: ");
        QVERIFY2(ui.Last().startsWith(failed) && ui.Last().size() > failed.size(),
                 qPrintable(ui.Last()));
        QCOMPARE(ui.icons.back(), core::MessageIcon::Exclamation);
        // The sample saves nothing.
        QVERIFY(mail::LoadMailSettings().smtpServer.empty());
    }

    void confirmingRearmsTheFirstFilterOfThePhraseOnly() {
        filters::CHighlightFilters filters;
        filters.Replace({FirstOccurrenceMailer(u"ERROR"), FirstOccurrenceMailer(u"ERROR"),
                         FirstOccurrenceMailer(u"disk")});
        int docA = 0, docB = 0;
        for (const filters::DocumentRef doc : {&docA, &docB}) {
            for (std::size_t filter = 0; filter < 3; ++filter) {
                QVERIFY(filters.ClaimFirstOccurrence(filter, doc));
            }
        }
        mail::CNotificationRecords records;
        using State = mail::NotificationState;
        records.AddNotificationRecord(Record(u"ERROR", &docA, State::Failure));
        records.AddNotificationRecord(Record(u"ERROR", &docB, State::Success));
        records.AddNotificationRecord(Record(u"disk", &docA, State::Success));
        records.AddNotificationRecord(Record(u"disk", &docB, State::Sending));
        RecordingUi ui;
        mail_ui::CConfirmEmailsDialog dialog(records, filters, ui);
        QTreeWidget* awaiting = dialog.List(mail_ui::CConfirmEmailsDialog::kRequiresConfirmation);
        QTreeWidget* sent = dialog.List(mail_ui::CConfirmEmailsDialog::kSent);
        QTreeWidget* sending = dialog.List(mail_ui::CConfirmEmailsDialog::kSending);
        auto* tabs = Control<QTabWidget>(dialog, "Tabs");
        const auto enabled = [&dialog](const char* name) {
            return Control<QPushButton>(dialog, name)->isEnabled();
        };

        QCOMPARE(tabs->tabText(0), QStringLiteral("Req. Confirmation"));
        QCOMPARE(awaiting->headerItem()->text(3), QStringLiteral("Req. Cnf."));
        QCOMPARE(awaiting->header()->sectionSize(6), 150);
        QCOMPARE(Column(awaiting, 0), QStringList({"ERROR", "ERROR", "disk"}));
        const QTreeWidgetItem* first = awaiting->topLevelItem(0);
        QCOMPARE(first->text(2), QStringLiteral("2026-12-08 09:05:07"));
        QCOMPARE(first->text(3), QStringLiteral("Yes"));
        QCOMPARE(first->text(4), QStringLiteral("Failure"));
        QCOMPARE(first->text(6), QStringLiteral("Miss email settings."));
        QCOMPARE(Column(sending, 4), QStringList({"Sending"}));
        QVERIFY(!enabled("Confirm") && enabled("ConfirmAll") && !enabled("ClearAll"));
        SaveScreenshot(dialog, "confirm-emails-dialog.png");

        // "No" leaves everything; "Yes" confirms the selection and drops its rows.
        awaiting->topLevelItem(1)->setSelected(true);
        QVERIFY(enabled("Confirm"));
        Click(dialog, "Confirm");
        QCOMPARE(ui.Last(), QStringLiteral("Do you want to confirm selected records?"));
        QCOMPARE(ui.icons.back(), core::MessageIcon::Question);
        QCOMPARE(awaiting->topLevelItemCount(), 3);
        QVERIFY(Notified(filters, 0, &docB));
        ui.answer = core::MessageAnswer::Yes;
        Click(dialog, "Confirm");
        QCOMPARE(Column(awaiting, 0), QStringList({"ERROR", "disk"}));
        QVERIFY(!Notified(filters, 0, &docB));
        QVERIFY(Notified(filters, 1, &docB) && Notified(filters, 0, &docA));
        QVERIFY(!enabled("Confirm") && enabled("ConfirmAll"));

        // A double click confirms too.
        const QPoint disk = awaiting->visualItemRect(awaiting->topLevelItem(1)).center();
        QTest::mouseClick(awaiting->viewport(), Qt::LeftButton, {}, disk);
        QTest::mouseDClick(awaiting->viewport(), Qt::LeftButton, {}, disk);
        QCOMPARE(Column(awaiting, 0), QStringList({"ERROR"}));
        QVERIFY(!Notified(filters, 2, &docA));

        // The sent tab is filled again when it shows, confirmed rows as "No".
        tabs->setCurrentIndex(mail_ui::CConfirmEmailsDialog::kSent);
        QCOMPARE(Column(sent, 3), QStringList({"Yes", "No", "No"}));
        QVERIFY(!enabled("Confirm") && !enabled("ConfirmAll") && enabled("ClearAll"));

        tabs->setCurrentIndex(mail_ui::CConfirmEmailsDialog::kRequiresConfirmation);
        Click(dialog, "ConfirmAll");
        QCOMPARE(ui.Last(), QStringLiteral("Do you want to confirm all records?"));
        QCOMPARE(awaiting->topLevelItemCount(), 0);
        QVERIFY(!Notified(filters, 0, &docA));
        QVERIFY(!enabled("ConfirmAll"));

        // Clearing confirms what still waits, then forgets every sent record.
        records.AddNotificationRecord(Record(u"disk", &docB, State::Failure));
        tabs->setCurrentIndex(mail_ui::CConfirmEmailsDialog::kSent);
        QCOMPARE(sent->topLevelItemCount(), 4);
        Click(dialog, "ClearAll");
        QCOMPARE(ui.Last(),
                 QStringLiteral("Do you want to confirm all unconfirmed records and remove all "
                                "records?"));
        QCOMPARE(sent->topLevelItemCount(), 0);
        QVERIFY(records.Sent().empty());
        QVERIFY(!Notified(filters, 2, &docB));
        QVERIFY(!enabled("ClearAll"));

        // Refresh shows outcomes that arrived meanwhile; sending rows are never offered.
        tabs->setCurrentIndex(mail_ui::CConfirmEmailsDialog::kSending);
        QVERIFY(!enabled("Confirm") && !enabled("ConfirmAll") && !enabled("ClearAll"));
        records.AddNotificationRecord(Record(u"ERROR", &docA, State::Sending));
        Click(dialog, "Refresh");
        QCOMPARE(sending->topLevelItemCount(), 2);
        QVERIFY(ui.waitCursors > 0);
    }

private:
    ui_test::TestFolder dir_;
    app_ui::CQtUiQueue queue_;
};

QTEST_MAIN(MailDialogsTest)
#include "MailDialogsTest.moc"
