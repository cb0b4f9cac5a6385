#include "mail/MailNotifier.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "filters/HighlightTestFilters.h"
#include "mail/MailTestTime.h"
#include "platform/TaskQueue.h"
#include "settings/TempRegistry.h"

namespace mail {
namespace {

int documentObject = 0;
const filters::DocumentRef kDocument = &documentObject;

// A local port nobody listens on: bound once to learn a free number, then
// closed, so a connection is refused at once.
std::uint32_t ClosedLocalPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);
    return ntohs(address.sin_port);
}

filters::HighlightFilter Mailer(bool firstOccurrence) {
    filters::HighlightFilter filter = filters::highlight_test::Filter(u"ERROR", 1);
    filter.SendEmail = true;
    filter.Emails = u"ops@example.org";
    filter.SendFirstOccured = firstOccurrence;
    return filter;
}

void StoreSettings(std::u16string_view server, std::uint32_t port) {
    MailSettings settings;
    settings.smtpServer = server;
    settings.smtpPort = port;
    settings.mailFrom = u"monitor@example.org";
    SaveMailSettings(settings);
}

class MailNotifierTest : public app_test::TempRegistryTest {
protected:
    // Runs queued completions until no job is sending any more.
    void WaitForOutcomes() {
        for (int i = 0; i < 200 && !records_.Sending().empty(); ++i) queue_.WaitAndDrain(50);
    }

    std::uint64_t NotifyError() {
        return notifier_.SendHighlightMail(u"/var/log/app.log", u"ERROR disk full", std::nullopt,
                                           Mailer(true), kDocument);
    }

    std::optional<MailSettings> settings_;
    platform::TaskQueue queue_;
    CMailSender sender_{&queue_};
    CNotificationRecords records_;
    mail_test::FakeClock clock_;
    CMailNotifier notifier_{settings_, sender_, records_, clock_};
};

TEST_F(MailNotifierTest, IncompleteSettingsAreRecordedAsFailedAtOnce) {
    clock_.local.minute = 7;
    EXPECT_FALSE(notifier_.AreMailSettingsComplete());
    NotifyError();
    EXPECT_TRUE(settings_.has_value()) << "the first notification loads the settings";
    EXPECT_TRUE(records_.Sending().empty());
    ASSERT_EQ(records_.Sent().size(), 1u);
    const NotificationRecord& record = records_.Sent()[0];
    EXPECT_EQ(record.state, NotificationState::Failure);
    EXPECT_EQ(record.errorMessage, u"Miss email settings.");
    EXPECT_EQ(record.threadId, 0u);
    EXPECT_TRUE(record.requiresConfirmation);
    EXPECT_EQ(record.document, kDocument);
    EXPECT_EQ(record.time.minute, 7);
    EXPECT_EQ(record.filterText, u"ERROR");
    EXPECT_EQ(record.logFile, u"/var/log/app.log");
    EXPECT_EQ(record.emails, u"ops@example.org");
    EXPECT_EQ(sender_.RunningJobs(), 0u);
}

TEST_F(MailNotifierTest, SettingsAreLoadedOnceAtTheFirstNotification) {
    StoreSettings(u"127.0.0.1", ClosedLocalPort());
    EXPECT_TRUE(notifier_.AreMailSettingsComplete());
    EXPECT_FALSE(settings_.has_value()) << "asking reads a temporary copy";
    NotifyError();
    StoreSettings(u"", 25);
    EXPECT_EQ(notifier_.Settings().smtpServer, u"127.0.0.1");
    EXPECT_TRUE(notifier_.AreMailSettingsComplete());
    WaitForOutcomes();
}

TEST_F(MailNotifierTest, SentJobCompletesItsRecordThroughTheQueue) {
    StoreSettings(u"127.0.0.1", ClosedLocalPort());
    const std::uint64_t serial = notifier_.SendHighlightMail(
        u"/var/log/app.log", u"ERROR", std::nullopt, Mailer(false), kDocument);
    ASSERT_EQ(records_.Sending().size(), 1u);
    EXPECT_NE(records_.Sending()[0].threadId, 0u);
    EXPECT_FALSE(records_.Sending()[0].requiresConfirmation);
    EXPECT_EQ(records_.Sending()[0].serial, serial);

    WaitForOutcomes();
    ASSERT_EQ(records_.Sent().size(), 1u);
    EXPECT_EQ(records_.Sent()[0].state, NotificationState::Failure);
    EXPECT_EQ(records_.Sent()[0].errorMessage, u"Failed to connect to SMTP server.");
}

TEST_F(MailNotifierTest, HeadlessOwnerCompletesRecordsOnItsOwnLoopAndSeesFailures) {
    // A headless program drains the queue in its own loop; nobody looks at
    // the records there, so failures reach the debug output as well.
    sender_.SetUnattended(true);
    StoreSettings(u"127.0.0.1", ClosedLocalPort());
    testing::internal::CaptureStderr();
    NotifyError();
    WaitForOutcomes();
    const std::string output = testing::internal::GetCapturedStderr();
    ASSERT_EQ(records_.Sent().size(), 1u);
    EXPECT_EQ(records_.Sent()[0].errorMessage, u"Failed to connect to SMTP server.");
    EXPECT_NE(output.find("[Ostra Tarvik]: Failed to send email to ops@example.org\n"
                          "[Ostra Tarvik]: Error: Failed to connect to SMTP server.\n"),
              std::string::npos)
        << output;
}

TEST_F(MailNotifierTest, ValuesTooLongForTheClientEndAsInvalidParameters) {
    StoreSettings(std::u16string(64, u'a'), ClosedLocalPort());
    NotifyError();
    WaitForOutcomes();
    ASSERT_EQ(records_.Sent().size(), 1u);
    EXPECT_EQ(records_.Sent()[0].errorMessage, u"Invalid parameters.");
}

TEST_F(MailNotifierTest, StopUpdatingMailWithoutSettingsOnlyReportsToDebugOutput) {
    testing::internal::CaptureStderr();
    const bool started =
        notifier_.SendStopUpdatingMail(u"/var/log/app.log", u"ops@example.org", 60, false, 0);
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(started);
    EXPECT_NE(output.find("[Ostra Tarvik]: Failed to send email to ops@example.org\n"),
              std::string::npos);
    EXPECT_NE(output.find("[Ostra Tarvik]: Error: Miss email settings.\n"), std::string::npos);
    EXPECT_TRUE(records_.Sent().empty() && records_.Sending().empty());
}

TEST_F(MailNotifierTest, StopUpdatingMailStartsAJobAndKeepsNoRecord) {
    StoreSettings(u"127.0.0.1", ClosedLocalPort());
    testing::internal::CaptureStderr();
    EXPECT_TRUE(
        notifier_.SendStopUpdatingMail(u"/var/log/app.log", u"ops@example.org", 60, true, 0));
    for (int i = 0; i < 200 && sender_.RunningJobs() > 0; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    queue_.Drain();
    const std::string output = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(records_.Sent().empty() && records_.Sending().empty());
    EXPECT_NE(output.find("Failed to connect to SMTP server."), std::string::npos);
}

}  // namespace
}  // namespace mail
