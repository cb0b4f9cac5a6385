// A followed file that stays quiet makes the application send the
// stop-updating e-mail to a real SMTP server: exactly one per quiet period,
// none inside the do-not-send span. Time moves by the test's clock, not by
// waiting.

#include <gtest/gtest.h>
#include <time.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "InteropSupport.h"
#include "SmtpSink.h"
#include "app/TarvikApp.h"
#include "mail/MailSettings.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/SettableClock.h"
#include "platform/TaskQueue.h"
#include "settings/StopUpdatingSettings.h"

namespace {

using platform_test::SettableClock;

// Tue 08 Dec 2026, 00:00:00 UTC.
constexpr std::int64_t kMidnight = 1796688000;

constexpr std::int64_t At(int day, int hour, int minute, int second) {
    return kMidnight + day * 86400 + hour * 3600 + minute * 60 + second;
}

class StopUpdatingMailDelivery : public testing::Test {
protected:
    void SetUp() override {
        platform::registry_store::UsePath((folder_.Path() / "registry.db").string());
        log_ = (folder_.Path() / "app.log").string();
        std::ofstream(log_, std::ios::binary) << "started\n";
    }

    void StoreSettings(std::uint32_t port) {
        mail::MailSettings mail;
        mail.smtpServer = u"127.0.0.1";
        mail.smtpPort = port;
        mail.mailFrom = u"monitor@example.org";
        mail::SaveMailSettings(mail);
        // Quiet for ten minutes, but never from 22:00 to 06:00 (plus the ten).
        settings::StopUpdatingSettings rule;
        rule.enabled = true;
        rule.seconds = 600;
        rule.emails = u"ops@example.org";
        rule.dontSendEnabled = true;
        rule.dontSendBegin = 22 * 3600;
        rule.dontSendEnd = 6 * 3600;
        settings::SaveStopUpdatingSettings(rule);
    }

    // One refresh tick at the given moment.
    void TickAt(app::CTarvikApp& app, std::int64_t moment) {
        clock_.now = moment;
        app.OnRefreshTick();
    }

    // Lets every e-mail started so far end and runs its completion: a job
    // reports before its thread ends, so afterwards every started e-mail is
    // among the outcomes.
    void Settle(app::CTarvikApp& app, platform::TaskQueue& queue) {
        mail::CMailSender& sender = app.Mail().Sender();
        for (int i = 0; i < 300 && sender.RunningJobs() + sender.WaitingJobs() > 0; ++i) {
            queue.WaitAndDrain(50);
        }
        queue.Drain();
        for (const std::string& error : outcomes_) EXPECT_EQ(error, "");
    }

    interop::TempFolder folder_;
    SettableClock clock_;
    std::string log_;
    std::vector<std::string> outcomes_;
};

TEST_F(StopUpdatingMailDelivery, OneMailPerQuietPeriodNoneInsideTheDoNotSendSpan) {
    interop::SinkServer server({});
    ASSERT_NE(server.Port(), 0u);
    StoreSettings(server.Port());

    platform::TaskQueue queue;
    clock_.now = At(0, 21, 55, 0);
    app::CTarvikApp app(clock_, &queue);
    bool maximized = true;
    settings::WindowRect rect{};
    app.LoadOptions(maximized, rect);
    app.Mail().Notifier().SetStopMailOutcome(
        [this](const std::u16string&, const std::u16string&, std::string error) {
            outcomes_.push_back(std::move(error));
        });
    ASSERT_NE(app.OpenDocument(platform::Utf8ToUtf16(log_)), nullptr);

    // Quiet since 21:55: due at 22:05, but silent through 06:10:00.
    for (const std::int64_t moment :
         {At(0, 22, 5, 0), At(0, 23, 30, 0), At(1, 3, 0, 0), At(1, 6, 10, 0)}) {
        TickAt(app, moment);
    }
    Settle(app, queue);
    EXPECT_TRUE(outcomes_.empty());
    TickAt(app, At(1, 6, 10, 1));
    TickAt(app, At(1, 6, 30, 0));
    Settle(app, queue);
    EXPECT_EQ(outcomes_.size(), 1u);
    const auto first = server.Message(1);
    ASSERT_TRUE(first.has_value());
    EXPECT_NE(first->content.find("File \"" + log_ +
                                  "\" has stopped updating for 600 seconds "
                                  "since file open."),
              std::string::npos)
        << first->content;
    EXPECT_NE(first->envelope.find("rcpt_to: ops@example.org"), std::string::npos);

    // New data at 07:00 starts the next period; its mail goes out at 07:10.
    std::ofstream(log_, std::ios::binary | std::ios::app) << "more\n";
    TickAt(app, At(1, 7, 0, 0));
    TickAt(app, At(1, 7, 9, 59));
    Settle(app, queue);
    EXPECT_EQ(outcomes_.size(), 1u);
    TickAt(app, At(1, 7, 10, 0));
    TickAt(app, At(1, 9, 0, 0));
    Settle(app, queue);
    EXPECT_EQ(outcomes_.size(), 2u);
    const auto second = server.Message(2);
    ASSERT_TRUE(second.has_value());
    EXPECT_NE(second->content.find("since last update."), std::string::npos) << second->content;
    EXPECT_FALSE(server.Message(3, 0).has_value());
}

}  // namespace
