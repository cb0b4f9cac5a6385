// A highlight notification composed by the engine from the stored settings
// reaches a real SMTP server over plain, AUTH LOGIN and SSL connections, and
// its record ends as delivered. The headless follower, running the actions
// of a stored filter, mails a line appended to a followed file.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "InteropSupport.h"
#include "SmtpSink.h"
#include "TailFollower.h"
#include "filters/HighlightFilter.h"
#include "filters/HighlightFilterStore.h"
#include "filters/HighlightFilters.h"
#include "mail/HighlightMail.h"
#include "mail/MailCenter.h"
#include "mail/MailSettings.h"
#include "mail/SslLibrary.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/TaskQueue.h"

namespace {

const char kUser[] = "monitor";
const char kPassword[] = "pa55";

class FixedClock final : public platform::IClock {
public:
    std::uint64_t TickMs() const override { return 0; }
    std::int64_t UnixTime() const override { return 1733650000; }
    platform::LocalTime Local() const override {
        platform::LocalTime t;
        t.year = 2026;
        t.month = 12;
        t.dayOfWeek = 2;
        t.day = 8;
        t.hour = 16;
        t.minute = 5;
        t.second = 9;
        t.utcOffsetSeconds = 3600;
        return t;
    }
};

class HighlightMailDelivery : public testing::Test {
protected:
    static void SetUpTestSuite() { mail::InitSslLibrary(); }

    void SetUp() override {
        platform::registry_store::UsePath((folder_.Path() / "registry.db").string());
    }

    // Stores the settings as the settings dialog would, for a server on this port.
    void StoreSettings(std::uint32_t port, bool login, bool ssl) {
        mail::MailSettings settings;
        settings.smtpServer = u"127.0.0.1";
        settings.smtpPort = port;
        settings.mailFrom = u"monitor@example.org";
        settings.requiresAuth = login;
        settings.accountName = login ? platform::Utf8ToUtf16(kUser) : u"";
        settings.password = login ? platform::Utf8ToUtf16(kPassword) : u"";
        settings.useSsl = ssl;
        mail::SaveMailSettings(settings);
    }

    // Sends the notification of a match through a fresh mail center and waits
    // for its outcome; gives the composed message for comparison.
    std::string Notify() {
        platform::TaskQueue queue;
        mail::CMailCenter center(&queue, clock_);
        filters::HighlightFilter filter;
        filter.phrase.Assign(u"ERROR", false, false);
        filter.Enable = true;
        filter.SendEmail = true;
        filter.Emails = u"ops@example.org, dev@example.org";
        int document = 0;
        const std::u16string line = u"12:00:01 ERROR disk full \u00e4";
        center.Notifier().SendHighlightMail(u"/var/log/app.log", line, u"line before\r\n", filter,
                                            &document);
        for (int i = 0; i < 150 && !center.Records().Sending().empty(); ++i) {
            queue.WaitAndDrain(100);
        }
        EXPECT_TRUE(center.Records().Sending().empty());
        EXPECT_EQ(center.Records().Sent().size(), 1u);
        if (!center.Records().Sent().empty()) {
            const mail::NotificationRecord& record = center.Records().Sent().front();
            EXPECT_EQ(record.state, mail::NotificationState::Success)
                << platform::Utf16ToUtf8(record.errorMessage);
        }

        mail::HighlightMailEvent event;
        event.logName = u"/var/log/app.log";
        event.line = line;
        event.previousLines = u"line before\r\n";
        event.phrase = filter.phrase.text;
        event.emails = filter.Emails;
        const auto job =
            mail::ComposeHighlightMail(mail::LoadMailSettings(), event, clock_.Local());
        return job ? job->message : std::string();
    }

    static void ExpectArrived(const interop::SinkServer& server, const std::string& composed,
                              bool authenticated) {
        const auto received = server.Message(1);
        ASSERT_TRUE(received.has_value());
        EXPECT_EQ(received->content, composed);
        EXPECT_NE(received->content.find("Highlight phrase \"ERROR\" occurred in file "
                                         "/var/log/app.log"),
                  std::string::npos);
        EXPECT_NE(received->envelope.find(std::string("authenticated: ") +
                                          (authenticated ? "True" : "False")),
                  std::string::npos);
        EXPECT_NE(received->envelope.find("rcpt_to: dev@example.org"), std::string::npos);
    }

    interop::TempFolder folder_;
    FixedClock clock_;
};

TEST_F(HighlightMailDelivery, PlainHelo) {
    interop::SinkServer server({});
    ASSERT_NE(server.Port(), 0u);
    StoreSettings(server.Port(), false, false);
    ExpectArrived(server, Notify(), false);
}

TEST_F(HighlightMailDelivery, AuthLogin) {
    interop::SinkServer server({"--user", kUser, "--password", kPassword});
    ASSERT_NE(server.Port(), 0u);
    StoreSettings(server.Port(), true, false);
    ExpectArrived(server, Notify(), true);
}

TEST_F(HighlightMailDelivery, ImplicitSslWithATrustedCertificate) {
    const auto certificates = interop::MakeTestCertificates(folder_.Path());
    ASSERT_TRUE(certificates.has_value()) << "openssl failed";
    interop::ScopedEnvironment trust("TARVIK_SMTP_CA_FILE", certificates->caFile);
    interop::SinkServer server({"--cert", certificates->serverCert, "--key",
                                certificates->serverKey, "--user", kUser, "--password", kPassword});
    ASSERT_NE(server.Port(), 0u);
    StoreSettings(server.Port(), true, true);
    ExpectArrived(server, Notify(), true);
}

// A filter with every action, stored for the headless follower.
void StoreActingFilter(const std::filesystem::path& written, const std::filesystem::path& ran) {
    filters::HighlightFilter filter;
    filter.phrase.Assign(u"ERROR", true, false);
    filter.Enable = true;
    filter.SendEmail = true;
    filter.Emails = u"ops@example.org";
    filter.AttachPreviousLinesWithEmail = 2;
    filter.WriteFile = true;
    filter.WrittenFile = platform::Utf8ToUtf16(written.string());
    filter.IncludeFileName = true;
    filter.ExecuteProgram = true;
    filter.ExecutableProgram = u"touch " + platform::Utf8ToUtf16(ran.string());
    filter.PrintLineToDefaultPrinter = true;
    filters::CHighlightFilters list;
    list.Replace({filter});
    ASSERT_TRUE(filters::SaveHighlightFilters(list));
}

using Follower = interop::TailFollower;

// Every action of a filter on a line appended to a followed file, run by
// tarvik-tail --actions: the e-mail with its tags reaches the server and the
// follower says so, the line is written, the program runs; the line that
// was there at the start runs nothing.
TEST_F(HighlightMailDelivery, TheHeadlessFollowerRunsTheActionsOfANewLine) {
    interop::SinkServer server({});
    ASSERT_NE(server.Port(), 0u);
    StoreSettings(server.Port(), false, false);
    const std::filesystem::path log = folder_.Path() / "app.log";
    const std::filesystem::path written = folder_.Path() / "matched.txt";
    const std::filesystem::path ran = folder_.Path() / "ran";
    StoreActingFilter(written, ran);
    std::ofstream(log) << "old ERROR\n";

    Follower tail(folder_.Path(), log);
    ASSERT_TRUE(tail.AwaitLine("print jobs of highlight filters are dropped"));
    ASSERT_TRUE(tail.AwaitLine("old ERROR"));
    std::ofstream(log, std::ios::app) << "before 1\nbefore 2\n12:00 ERROR disk full\n";

    const auto received = server.Message(1, 20000);
    ASSERT_TRUE(received.has_value());
    const std::string path = log.string();
    EXPECT_NE(received->content.find("Highlight phrase \"ERROR\" occurred in file " + path),
              std::string::npos)
        << received->content;
    EXPECT_NE(received->content.find("Previous lines:\r\nbefore 1\r\nbefore 2\r\n"),
              std::string::npos);
    EXPECT_NE(received->content.find("The occurrence line is:\r\n12:00 ERROR disk full\r\n"),
              std::string::npos);
    EXPECT_NE(received->envelope.find("rcpt_to: ops@example.org"), std::string::npos);
    EXPECT_TRUE(tail.AwaitLine("e-mail sent to ops@example.org"));

    std::ifstream in(written, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    std::string expected = "\xFF\xFE";
    for (const char ch : std::string("[app.log] 12:00 ERROR disk full\r\n")) expected += {ch, '\0'};
    EXPECT_EQ(bytes, expected);
    for (int i = 0; i < 200 && !std::filesystem::exists(ran); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_TRUE(std::filesystem::exists(ran));
    EXPECT_FALSE(server.Message(2, 0).has_value());
}

// A server that is not there: the follower says the e-mail failed and goes
// on following.
TEST_F(HighlightMailDelivery, TheHeadlessFollowerTellsOfAFailedMailAndFollowsOn) {
    StoreSettings(1, false, false);
    const std::filesystem::path log = folder_.Path() / "down.log";
    StoreActingFilter(folder_.Path() / "matched.txt", folder_.Path() / "ran");
    std::ofstream(log) << "start\n";

    Follower tail(folder_.Path(), log);
    ASSERT_TRUE(tail.AwaitLine("start"));
    std::ofstream(log, std::ios::app) << "ERROR first\n";
    EXPECT_TRUE(tail.AwaitLine("e-mail to ops@example.org (\"ERROR\") failed: "));
    std::ofstream(log, std::ios::app) << "still here\n";
    EXPECT_TRUE(tail.AwaitLine("still here"));
}

}  // namespace
