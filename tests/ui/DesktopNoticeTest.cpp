// Desktop notifications on a private session bus (a dbus-daemon of the
// test's own) with a small notification server that records every call: a
// matched line under its file name with its markup escaped, a burst summed
// up in one update of the same notification, activation bringing back the
// document and line, the stop-updating notice, and a bus without a server,
// where nothing is shown and the debug output says so once.

#include <fcntl.h>
#include <unistd.h>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <utility>

#include "app/ui/DesktopNotices.h"
#include "filters/HighlightFilter.h"
#include "platform/SettableClock.h"

namespace {

// The few calls of the freedesktop interface the program makes.
class NotificationServer : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    struct Call {
        uint replacesId = 0;
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
        uint id = 0;
    };
    QList<Call> calls;
    QStringList capabilities{QStringLiteral("actions"), QStringLiteral("body"),
                             QStringLiteral("body-markup")};

public slots:
    QStringList GetCapabilities() { return capabilities; }
    uint Notify(const QString& appName, uint replacesId, const QString&, const QString& summary,
                const QString& body, const QStringList& actions, const QVariantMap&, int) {
        const uint id = replacesId != 0 ? replacesId : ++lastId_;
        calls.append({replacesId, appName, summary, body, actions, id});
        return id;
    }

signals:
    void ActionInvoked(uint id, const QString& actionKey);
    void NotificationClosed(uint id, uint reason);

private:
    uint lastId_ = 100;
};

filters::HighlightFilter Filter(std::u16string_view phrase) {
    filters::HighlightFilter filter;
    filter.phrase.Assign(phrase, false, false);
    filter.Enable = true;
    filter.ShowDesktopNotification = true;
    return filter;
}

// Standard error goes to a file while it lives.
class StandardErrorFile {
public:
    explicit StandardErrorFile(const QString& path) : path_(path) {
        std::fflush(stderr);
        saved_ = ::dup(2);
        const int file = ::open(path.toLocal8Bit().constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        ::dup2(file, 2);
        ::close(file);
    }
    ~StandardErrorFile() {
        std::fflush(stderr);
        ::dup2(saved_, 2);
        ::close(saved_);
    }
    QString Text() const {
        QFile file(path_);
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QString path_;
    int saved_ = -1;
};

}  // namespace

class DesktopNoticeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        // No service folders: nothing on this bus is started on demand, so
        // a missing server stays missing whatever the machine has installed.
        const QString config = dir_.filePath(QStringLiteral("bus.conf"));
        QFile file(config);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("<busconfig><type>session</type>"
                                  "<listen>unix:path=%1</listen><auth>EXTERNAL</auth>"
                                  "<policy context=\"default\"><allow send_destination=\"*\"/>"
                                  "<allow receive_sender=\"*\"/><allow own=\"*\"/>"
                                  "</policy></busconfig>")
                       .arg(dir_.filePath(QStringLiteral("bus")))
                       .toUtf8());
        file.close();
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--config-file=") + config, QStringLiteral("--nofork"),
                       QStringLiteral("--print-address=1")});
        QVERIFY2(daemon_.waitForStarted(), "dbus-daemon (package dbus-daemon) is needed");
        while (!daemon_.canReadLine()) QVERIFY(daemon_.waitForReadyRead(30000));
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        QVERIFY(!address_.isEmpty());
    }

    void cleanupTestCase() {
        daemon_.terminate();
        daemon_.waitForFinished();
    }

    void aLineShowsEscapedAndActivatingItBringsTheDocumentBack() {
        QDBusConnection server = Connect(QStringLiteral("server-line"));
        NotificationServer recorder;
        QVERIFY(Serve(server, recorder));
        platform_test::SettableClock clock;
        app_ui::CDesktopNotices notices(clock, Connect(QStringLiteral("client-line")));
        QList<std::pair<const void*, int>> activated;
        notices.SetActivate([&activated](filters::DocumentRef document, int line) {
            activated.append({document, line});
        });
        const int document = 0;
        notices.ShowHighlightNotice(u"/var/log/app.log", u"disk <b>full</b> & \"more\"\x01", 41,
                                    Filter(u"full"), &document);
        QTRY_COMPARE(recorder.calls.size(), 1);
        const NotificationServer::Call shown = recorder.calls[0];
        QCOMPARE(shown.appName, QStringLiteral("Ostra Tarvik"));
        QCOMPARE(shown.summary, QStringLiteral("app.log"));
        QCOMPARE(shown.body,
                 QStringLiteral("disk &lt;b&gt;full&lt;/b&gt; &amp; &quot;more&quot; "));
        QCOMPARE(shown.replacesId, 0u);
        QVERIFY(shown.actions.contains(QStringLiteral("default")));

        // Only the default action of a notification of ours brings it back.
        emit recorder.ActionInvoked(shown.id + 1, QStringLiteral("default"));
        emit recorder.ActionInvoked(shown.id, QStringLiteral("other"));
        emit recorder.ActionInvoked(shown.id, QStringLiteral("default"));

        // The stop-updating notice: the file's name and the text, nothing to
        // activate. Its answer comes after the signals sent before it.
        notices.ShowStopUpdatingNotice(u"/var/log/app.log",
                                       u"No new lines in app.log for 10 minutes");
        QTRY_COMPARE(recorder.calls.size(), 2);
        QCOMPARE(recorder.calls[1].summary, QStringLiteral("app.log"));
        QCOMPARE(recorder.calls[1].body, QStringLiteral("No new lines in app.log for 10 minutes"));
        QVERIFY(recorder.calls[1].actions.isEmpty());
        QTRY_COMPARE(activated.size(), 1);
        QCOMPARE(activated[0].first, static_cast<const void*>(&document));
        QCOMPARE(activated[0].second, 41);
        Release(server, QStringLiteral("server-line"), QStringLiteral("client-line"));
    }

    // 500 lines of one filter in one document at one moment: one
    // notification, then one update of it with the count when its time is up.
    void aBurstGivesOneNotificationAndOneUpdateWithTheCount() {
        QDBusConnection server = Connect(QStringLiteral("server-burst"));
        NotificationServer recorder;
        QVERIFY(Serve(server, recorder));
        platform_test::SettableClock clock;
        app_ui::CDesktopNotices notices(clock, Connect(QStringLiteral("client-burst")));
        const int document = 0;
        const filters::HighlightFilter error = Filter(u"error");
        for (int i = 0; i < 500; ++i) {
            const std::u16string line = u"error " + QString::number(i).toStdU16String();
            notices.ShowHighlightNotice(u"/var/log/app.log", line, i, error, &document);
        }
        QTRY_COMPARE(recorder.calls.size(), 1);
        QCOMPARE(recorder.calls[0].body, QStringLiteral("error 0"));
        QVERIFY(notices.IsSummaryTimerActive());
        // Not yet due: the next call to reach the server is another one.
        notices.SendDueSummaries();
        notices.ShowStopUpdatingNotice(u"/var/log/app.log", u"No new lines");
        QTRY_COMPARE(recorder.calls.size(), 2);
        QCOMPARE(recorder.calls[1].body, QStringLiteral("No new lines"));

        clock.now += 5;
        notices.SendDueSummaries();
        QTRY_COMPARE(recorder.calls.size(), 3);
        QCOMPARE(recorder.calls[2].replacesId, recorder.calls[0].id);
        QCOMPARE(recorder.calls[2].body, QStringLiteral("error 0\nand 499 more lines"));
        QVERIFY(!notices.IsSummaryTimerActive());
        Release(server, QStringLiteral("server-burst"), QStringLiteral("client-burst"));
    }

    void withoutAServerNothingShowsAndTheDebugOutputSaysSoOnce() {
        platform_test::SettableClock clock;
        app_ui::CDesktopNotices notices(clock, Connect(QStringLiteral("client-none")));
        const int document = 0;
        const QString message = QStringLiteral("[Ostra Tarvik]: No desktop notification server");
        StandardErrorFile standardError(dir_.filePath(QStringLiteral("stderr.txt")));
        notices.ShowHighlightNotice(u"/var/log/app.log", u"error 1", 0, Filter(u"error"),
                                    &document);
        QTRY_VERIFY(standardError.Text().contains(message));
        notices.ShowHighlightNotice(u"/var/log/app.log", u"warn 2", 1, Filter(u"warn"), &document);
        notices.ShowStopUpdatingNotice(u"/var/log/app.log", u"No new lines");
        clock.now += 120;
        notices.ShowHighlightNotice(u"/var/log/app.log", u"error 3", 2, Filter(u"error"),
                                    &document);
        QTest::qWait(200);
        QCOMPARE(standardError.Text().count(message), 1);
        QDBusConnection::disconnectFromBus(QStringLiteral("client-none"));
    }

private:
    QDBusConnection Connect(const QString& name) {
        return QDBusConnection::connectToBus(address_, name);
    }

    static bool Serve(QDBusConnection& bus, NotificationServer& server) {
        return bus.isConnected() &&
               bus.registerService(QStringLiteral("org.freedesktop.Notifications")) &&
               bus.registerObject(
                   QStringLiteral("/org/freedesktop/Notifications"), &server,
                   QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals);
    }

    static void Release(QDBusConnection& server, const QString& serverName,
                        const QString& clientName) {
        server.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
        server.unregisterService(QStringLiteral("org.freedesktop.Notifications"));
        QDBusConnection::disconnectFromBus(serverName);
        QDBusConnection::disconnectFromBus(clientName);
    }

    QTemporaryDir dir_;
    QProcess daemon_;
    QString address_;
};

QTEST_MAIN(DesktopNoticeTest)
#include "DesktopNoticeTest.moc"
