// Web hook posts reach a real HTTP server, and an HTTPS one with a test
// authority, on 127.0.0.1: the fields arrive as sent, a burst with first
// occurrence on posts once, a hostile line stays intact inside valid JSON,
// and a wrong certificate, an error reply, a redirect and a server that never
// answers each end with their reason. The headless follower posts too.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "InteropSupport.h"
#include "SmtpSink.h"
#include "TailFollower.h"
#include "filters/AsciiFold.h"
#include "filters/HighlightActions.h"
#include "filters/HighlightFilterStore.h"
#include "filters/HighlightFilters.h"
#include "mail/MailCenter.h"
#include "mail/WebHookPoster.h"
#include "mail/WebHookTransport.h"
#include "platform/CodePage.h"
#include "platform/Registry.h"
#include "platform/TaskQueue.h"
#include "settings/StopUpdatingSettings.h"

namespace {

// A webhook_sink.py server that stores each POST in a private folder.
class HookServer {
public:
    explicit HookServer(std::vector<std::string> options) {
        std::vector<std::string> arguments = {interop::PythonProgram(),
                                              interop::ScriptPath("webhook_sink.py"),
                                              "--folder",
                                              folder_.Path().string(),
                                              "--lifetime",
                                              "50"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        child_ = std::make_unique<interop::ChildProcess>(arguments);
        if (const auto line = child_->ReadLine(15000)) port_ = std::stoul(*line);
    }
    std::uint32_t Port() const { return port_; }
    std::string Url(const std::string& scheme, const std::string& rest) const {
        return scheme + "://127.0.0.1:" + std::to_string(port_) + rest;
    }

    // Whether the number-th post has arrived, waiting at most waitMs for it.
    bool Arrived(int number, int waitMs = 10000) const {
        const auto marker = Base(number) + ".json";
        for (int i = 0; i < waitMs / 25 && !std::filesystem::exists(marker); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        return std::filesystem::exists(marker);
    }
    // The server's record of the post (path, content type, whether valid JSON).
    std::string Record(int number) const { return interop::ReadFile(Base(number) + ".json"); }
    bool ValidJson(int number) const {
        return Record(number).find("\"valid\": true") != std::string::npos;
    }
    // A text field of the posted JSON object, as the server parsed it; none
    // when the object has no such text.
    std::optional<std::string> Field(int number, const std::string& key) const {
        const std::string file = Base(number) + "." + key;
        if (!std::filesystem::exists(file)) return std::nullopt;
        return interop::ReadFile(file);
    }

private:
    std::string Base(int number) const {
        return (folder_.Path() / ("post" + std::to_string(number))).string();
    }

    interop::TempFolder folder_;
    std::unique_ptr<interop::ChildProcess> child_;
    std::uint32_t port_ = 0;
};

const std::u16string kLog = u"/var/log/app.log";

class WebHookDelivery : public testing::Test {
protected:
    void SetUp() override {
        platform::registry_store::UsePath((folder_.Path() / "registry.db").string());
    }

    static filters::HighlightFilter HookFilter(const std::string& url, std::u16string body = {}) {
        filters::HighlightFilter filter;
        filter.phrase.Assign(u"ERROR", true, false);
        filter.Enable = true;
        filter.PostWebHook = true;
        filter.WebHookUrl = platform::Utf8ToUtf16(url);
        filter.WebHookBody = std::move(body);
        filter.AttachPreviousLinesWithEmail = 1;
        return filter;
    }

    // Runs the highlight actions of filters for lines first to last of lines,
    // as a document does after appending them, then waits for every post.
    void Act(filters::CHighlightFilters& list, const std::vector<std::u16string>& lines,
             int first) {
        filters::ActionDocument document;
        document.ref = &document_;
        document.path = kLog;
        const std::u16string folded = filters::FoldedAsciiLower(kLog);
        document.foldedPath = folded;
        document.logName = kLog;
        document.lineAt = [&lines](int line) { return std::u16string_view(lines[line]); };
        const filters::HighlightActionPorts ports{.clock = platform::SystemClock::Instance(),
                                                  .webHook = &center_.WebHooks(),
                                                  .followedFiles = {}};
        filters::RunHighlightActions(list, document, first, static_cast<int>(lines.size()) - 1,
                                     ports);
        for (int i = 0; i < 300 && !center_.Records().Sending().empty(); ++i) {
            queue_.WaitAndDrain(100);
        }
        EXPECT_TRUE(center_.Records().Sending().empty());
    }

    // Posts once through a poster of its own and gives the error text.
    static std::string PostOnce(const std::string& url,
                                std::chrono::milliseconds deadline = std::chrono::seconds(10)) {
        platform::TaskQueue queue;
        mail::JobPoolLimits limits = mail::DefaultWebHookLimits();
        limits.jobDeadline = deadline;
        mail::CWebHookPoster poster(&queue, limits);
        std::optional<std::string> outcome;
        poster.Start({url, "{\"text\":\"x\"}", "127.0.0.1"},
                     [&](std::uint32_t, std::string error) { outcome = std::move(error); });
        for (int i = 0; i < 300 && !outcome; ++i) queue.WaitAndDrain(100);
        return outcome.value_or("no outcome");
    }

    interop::TempFolder folder_;
    platform::TaskQueue queue_;
    mail::CMailCenter center_{&queue_, platform::SystemClock::Instance()};
    int document_ = 0;
};

TEST_F(WebHookDelivery, OneMatchingLinePostsOnceWithTheExpectedFields) {
    HookServer server({});
    ASSERT_NE(server.Port(), 0u);
    filters::CHighlightFilters list;
    list.Replace({HookFilter(server.Url("http", "/hooks/%h?file=%f"))});
    Act(list, {u"12:00 before", u"12:01 ERROR disk full \u00e4"}, 1);

    ASSERT_EQ(center_.Records().Sent().size(), 1u);
    const mail::NotificationRecord& record = center_.Records().Sent().front();
    EXPECT_EQ(record.channel, mail::NotificationChannel::WebHook);
    EXPECT_EQ(record.state, mail::NotificationState::Success)
        << platform::Utf16ToUtf8(record.errorMessage);
    EXPECT_EQ(record.emails, u"127.0.0.1:" + platform::Utf8ToUtf16(std::to_string(server.Port())));
    EXPECT_EQ(record.filterText, u"ERROR");

    ASSERT_TRUE(server.Arrived(1));
    EXPECT_TRUE(server.ValidJson(1)) << server.Record(1);
    EXPECT_NE(server.Record(1).find("\"path\": \"/hooks/ERROR?file=%2Fvar%2Flog%2Fapp.log\""),
              std::string::npos)
        << server.Record(1);
    EXPECT_NE(server.Record(1).find("\"content_type\": \"application/json\""), std::string::npos);
    EXPECT_EQ(server.Field(1, "file"), "/var/log/app.log");
    EXPECT_EQ(server.Field(1, "line"), "12:01 ERROR disk full \xC3\xA4");
    EXPECT_EQ(server.Field(1, "previous"), "12:00 before\r\n");
    EXPECT_EQ(server.Field(1, "phrase"), "ERROR");
    EXPECT_TRUE(server.Field(1, "host").has_value());
    EXPECT_TRUE(server.Field(1, "time").has_value());
    EXPECT_FALSE(server.Arrived(2, 0));
}

TEST_F(WebHookDelivery, ABurstWithFirstOccurrenceOnPostsOnceUntilConfirmed) {
    HookServer server({});
    ASSERT_NE(server.Port(), 0u);
    filters::HighlightFilter filter = HookFilter(server.Url("http", "/burst"));
    filter.SendFirstOccured = true;
    filters::CHighlightFilters list;
    list.Replace({filter});
    std::vector<std::u16string> lines;
    for (int i = 0; i < 500; ++i) {
        lines.push_back(u"ERROR number " + platform::Utf8ToUtf16(std::to_string(i)));
    }
    Act(list, lines, 0);
    ASSERT_EQ(center_.Records().Sent().size(), 1u);
    EXPECT_TRUE(center_.Records().Sent().front().requiresConfirmation);
    ASSERT_TRUE(server.Arrived(1));
    EXPECT_EQ(server.Field(1, "line"), "ERROR number 0");
    EXPECT_FALSE(server.Arrived(2, 0));

    // Confirming the record lets the next match post again.
    EXPECT_EQ(center_.Records().ConfirmAll(list), 1u);
    Act(list, lines, 499);
    ASSERT_TRUE(server.Arrived(2));
    EXPECT_EQ(server.Field(2, "line"), "ERROR number 499");
}

TEST_F(WebHookDelivery, AHostileLineArrivesIntactInsideValidJson) {
    HookServer server({});
    ASSERT_NE(server.Port(), 0u);
    filters::CHighlightFilters list;
    list.Replace({HookFilter(server.Url("http", "/chat"),
                             u"{\"text\": \"%h in %f: %n\", \"line\": \"%n\"}")});
    const std::u16string hostile =
        u"ERROR \"quoted\" back\\slash \\\" tab\t bell\x07 esc\x1b[31m nul\x01 %p %n %f }\"]";
    Act(list, {u"start", hostile}, 1);
    ASSERT_EQ(center_.Records().Sent().size(), 1u);
    EXPECT_EQ(center_.Records().Sent().front().state, mail::NotificationState::Success);
    ASSERT_TRUE(server.Arrived(1));
    EXPECT_TRUE(server.ValidJson(1)) << server.Record(1);
    EXPECT_EQ(server.Field(1, "line"), platform::Utf16ToUtf8(hostile));
    EXPECT_EQ(server.Field(1, "text"),
              "ERROR in /var/log/app.log: " + platform::Utf16ToUtf8(hostile));
}

TEST_F(WebHookDelivery, HttpsIsVerifiedAgainstTheTrustedAuthorities) {
    const auto certificates = interop::MakeTestCertificates(folder_.Path());
    ASSERT_TRUE(certificates.has_value()) << "openssl failed";
    HookServer good({"--cert", certificates->serverCert, "--key", certificates->serverKey});
    HookServer wrongName(
        {"--cert", certificates->wrongNameCert, "--key", certificates->wrongNameKey});
    ASSERT_NE(good.Port(), 0u);
    ASSERT_NE(wrongName.Port(), 0u);
    {
        interop::ScopedEnvironment trust(mail::kWebHookCaFileVariable, std::nullopt);
        const std::string error = PostOnce(good.Url("https", "/"));
        EXPECT_NE(error.find("certificate"), std::string::npos) << "untrusted: " << error;
    }
    interop::ScopedEnvironment trust(mail::kWebHookCaFileVariable, certificates->caFile);
    EXPECT_EQ(PostOnce(good.Url("https", "/")), "");
    EXPECT_TRUE(good.Arrived(1));
    const std::string error = PostOnce(wrongName.Url("https", "/"));
    EXPECT_NE(error.find("certificate"), std::string::npos) << "wrong name: " << error;
    EXPECT_FALSE(wrongName.Arrived(1, 0));
}

TEST_F(WebHookDelivery, AnErrorReplyARedirectAndSilenceEndWithTheirReason) {
    HookServer failing({"--answer", "fail"});
    HookServer moving({"--answer", "redirect"});
    HookServer silent({"--answer", "never"});
    ASSERT_NE(failing.Port(), 0u);
    ASSERT_NE(moving.Port(), 0u);
    ASSERT_NE(silent.Port(), 0u);
    EXPECT_EQ(PostOnce(failing.Url("http", "/")), "HTTP/1.0 500 Internal Server Error");
    EXPECT_EQ(PostOnce(moving.Url("http", "/")), "HTTP/1.0 302 Found") << "not followed";
    EXPECT_EQ(PostOnce(silent.Url("http", "/"), std::chrono::seconds(2)), "Time out.");
    EXPECT_TRUE(silent.Arrived(1, 0)) << "the request went out and no answer came";
    // Only HTTP and HTTPS are spoken: a URL from a filter file never writes
    // the body into a local file.
    const std::filesystem::path local = folder_.Path() / "written-by-a-post";
    EXPECT_NE(PostOnce("file://" + local.string()), "");
    EXPECT_FALSE(std::filesystem::exists(local));
    // Nor does a line break typed into the URL reach the request's lines.
    EXPECT_EQ(PostOnce(failing.Url("http", "/a\r\nX-Injected: 1")), "Invalid web hook URL.");
    EXPECT_FALSE(failing.Arrived(2, 0));
}

// tarvik-tail --actions posts a new matching line and tells the outcome; a
// stop-updating rule that only posts posts when the file stays quiet.
TEST_F(WebHookDelivery, TheHeadlessFollowerPostsAndTellsEachOutcome) {
    HookServer server({});
    ASSERT_NE(server.Port(), 0u);
    filters::CHighlightFilters list;
    list.Replace({HookFilter(server.Url("http", "/tail"))});
    ASSERT_TRUE(filters::SaveHighlightFilters(list));
    settings::StopUpdatingSettings rule;
    rule.enabled = true;
    rule.seconds = 1;
    rule.postWebHook = true;
    rule.webHookUrl = platform::Utf8ToUtf16(server.Url("http", "/quiet"));
    ASSERT_TRUE(settings::SaveStopUpdatingSettings(rule));
    const std::filesystem::path log = folder_.Path() / "app.log";
    std::ofstream(log) << "old ERROR\n";

    interop::TailFollower tail(folder_.Path(), log);
    ASSERT_TRUE(tail.AwaitLine("old ERROR"));
    ASSERT_TRUE(tail.AwaitLine("stop-updating post for " + log.string() + " to 127.0.0.1:"));
    std::ofstream(log, std::ios::app) << "12:00 ERROR disk full\n";
    EXPECT_TRUE(tail.AwaitLine("web hook post to 127.0.0.1:" + std::to_string(server.Port()) +
                               " (\"ERROR\") done"));
    bool lineArrived = false;
    bool quietArrived = false;
    for (int number = 1; server.Arrived(number, 2000); ++number) {
        lineArrived |= server.Field(number, "line") == "12:00 ERROR disk full";
        quietArrived |= server.Field(number, "since") == "file open";
    }
    EXPECT_TRUE(lineArrived);
    EXPECT_TRUE(quietArrived);
}

}  // namespace
