// The application's highlight filters: loaded with the options, applied by
// every document, taken over from the filter dialog with its options, and
// acting on new lines once the application runs their actions.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FakeDocumentHost.h"
#include "app/DesktopNoticeThrottle.h"
#include "app/TarvikApp.h"
#include "filters/HighlightFilterTakeOver.h"
#include "platform/Registry.h"
#include "platform/SettableClock.h"
#include "settings/TempRegistry.h"

namespace {

using app_test::CreateKey;

class AppHighlightTest : public app_test::TempRegistryTest {
protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tarvik-app-highlight-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        app.SetDocumentHost(&host);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        TempRegistryTest::TearDown();
    }

    void StoreShowAsFilter(std::u16string_view phrase, std::u16string_view shown) {
        platform::RegKey key = CreateKey(u"Software\\Ostra Tarvik\\HighlightFilters2\\Filter1");
        key.SetString(u"Text", phrase);
        key.SetDWORD(u"Enable", 1);
        key.SetDWORD(u"ReplaceWith", 1);
        key.SetString(u"ReplaceText", shown);
    }
    void LoadOptions() {
        bool maximized = true;
        settings::WindowRect rect{};
        app.LoadOptions(maximized, rect);
    }
    core::CTarvikDoc* OpenLog(const std::string& name, const std::string& text) {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
        return app.OpenDocument(std::u16string(path.begin(), path.end()));
    }
    static std::u16string Line(const core::CTarvikDoc& doc, int line) {
        return std::u16string(doc.Buffer().LineText(line));
    }

    app_test::FakeDocumentHost host;
    app::CTarvikApp app;

private:
    std::filesystem::path folder_;
};

TEST_F(AppHighlightTest, StoredFiltersLoadWithTheOptionsAndDocumentsShowTheirReplacements) {
    StoreShowAsFilter(u"secret", u"***");
    LoadOptions();
    ASSERT_EQ(app.HighlightFilters().Size(), 1u);
    EXPECT_TRUE(app.HighlightFilters().AnyShowAs());

    core::CTarvikDoc* doc = OpenLog("s.log", "the Secret is out\n");
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(Line(*doc, 0), u"the *** is out");
}

TEST_F(AppHighlightTest, HighlightOptionsComeFromTheApplicationsOptions) {
    app.GetOptions().HighlightLine = false;
    app.GetOptions().HLLineBkgColor = 0x123456;
    app.GetOptions().IgnoreHighlightEntireLineForGotoHFilter = true;
    const filters::HighlightOptions options = app.HighlightOptions();
    EXPECT_FALSE(options.HighlightLine);
    EXPECT_EQ(options.HLLineBkgColor, 0x123456u);
    EXPECT_TRUE(options.IgnoreHighlightEntireLineForGotoHFilter);
    EXPECT_FALSE(options.IgnoreReplaceTextForGotoHFilter);
}

TEST_F(AppHighlightTest, TakingOverAChangedShowAsTextSavesAndReloadsEveryDocument) {
    StoreShowAsFilter(u"secret", u"***");
    LoadOptions();
    core::CTarvikDoc* doc = OpenLog("r.log", "secret\n");
    ASSERT_NE(doc, nullptr);
    doc->SetRedLineArmed(false);

    std::vector<filters::HighlightFilterEdit> rows =
        filters::MakeHighlightFilterEdits(app.HighlightFilters());
    rows[0].filter.ReplaceText = u"[hidden]";
    rows[0].changeMark = filters::HighlightChangeMark::Modified;
    filters::HighlightOptions edited = app.HighlightOptions();
    edited.HighlightLine = false;
    edited.HLLineBkgColor = 0x1;  // not taken while HighlightLine is off
    edited.FillLineBlankInBkgColor = true;
    app.ApplyHighlightFilters(std::move(rows), edited, true);

    // Reloaded from the file's text, so the new replacement is made anew.
    EXPECT_EQ(Line(*doc, 0), u"[hidden]");
    EXPECT_TRUE(doc->IsRedLineArmed());
    EXPECT_EQ(host.flashStops, 1);
    EXPECT_FALSE(app.GetOptions().HighlightLine);
    EXPECT_EQ(app.GetOptions().HLLineBkgColor, 12648447u);
    EXPECT_TRUE(app.GetOptions().FillLineBlankInBkgColor);

    app::CTarvikApp fresh;
    bool maximized = true;
    settings::WindowRect rect{};
    fresh.LoadOptions(maximized, rect);
    ASSERT_EQ(fresh.HighlightFilters().Size(), 1u);
    EXPECT_EQ(fresh.HighlightFilters().Items()[0].ReplaceText, u"[hidden]");
    EXPECT_FALSE(fresh.GetOptions().HighlightLine);
    EXPECT_TRUE(fresh.GetOptions().FillLineBlankInBkgColor);
}

TEST_F(AppHighlightTest, WithoutReloadViewsAreRepaintedAndRecordsOfTheOldPhraseReleased) {
    filters::HighlightFilter mail;
    mail.phrase.Assign(u"down", false, false);
    mail.Enable = true;
    mail.SendEmail = true;
    mail.SendFirstOccured = true;
    app.HighlightFilters().Replace({mail});
    core::CTarvikDoc* doc = OpenLog("m.log", "down\n");
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(app.HighlightFilters().ClaimFirstOccurrence(0, doc));
    const int paintsBefore = host.views[0].invalidations;

    std::vector<filters::HighlightFilterEdit> rows =
        filters::MakeHighlightFilterEdits(app.HighlightFilters());
    rows[0].filter.phrase.Assign(u"DOWN", true, false);
    rows[0].changeMark = filters::HighlightChangeMark::Modified;
    // A notification of the old phrase waits for confirmation.
    mail::NotificationRecord sent;
    sent.state = mail::NotificationState::Success;
    sent.requiresConfirmation = true;
    sent.document = doc;
    sent.filterText = u"down";
    app.Mail().Records().AddNotificationRecord(sent);
    app.ApplyHighlightFilters(std::move(rows), app.HighlightOptions(), false);

    EXPECT_TRUE(app.Mail().Records().AwaitingConfirmation().empty())
        << "the changed filter's records no longer wait";
    EXPECT_EQ(host.views[0].invalidations, paintsBefore + 1);
    EXPECT_EQ(host.flashStops, 0) << "nothing was reloaded";
    // The modified filter starts with an empty set: the document may notify again.
    EXPECT_TRUE(app.HighlightFilters().ClaimFirstOccurrence(0, doc));
}

TEST_F(AppHighlightTest, ClosingADocumentLetsTheFiltersAndRecordsForgetIt) {
    filters::HighlightFilter mail;
    mail.phrase.Assign(u"down", false, false);
    mail.Enable = true;
    mail.SendEmail = true;
    mail.SendFirstOccured = true;
    app.HighlightFilters().Replace({mail});
    core::CTarvikDoc* doc = OpenLog("c.log", "x\n");
    ASSERT_NE(doc, nullptr);
    ASSERT_TRUE(app.HighlightFilters().ClaimFirstOccurrence(0, doc));
    mail::NotificationRecord sent;
    sent.state = mail::NotificationState::Success;
    sent.requiresConfirmation = true;
    sent.document = doc;
    sent.filterText = u"down";
    app.Mail().Records().AddNotificationRecord(sent);

    app.CloseDocument(doc);
    EXPECT_TRUE(app.HighlightFilters().Items()[0].notifiedDocuments->empty());
    // Its records neither wait for confirmation nor keep referring to it.
    EXPECT_TRUE(app.Mail().Records().AwaitingConfirmation().empty());
    EXPECT_EQ(app.Mail().Records().Sent().at(0).document, nullptr);
}

// The e-mail action reaches the application's records: with the settings
// incomplete the notification is recorded as failed at once. Until actions
// are switched on, new lines run none.
TEST_F(AppHighlightTest, NewLinesMailThroughTheApplicationOnceActionsRun) {
    filters::HighlightFilter mail;
    mail.phrase.Assign(u"down", false, false);
    mail.Enable = true;
    mail.SendEmail = true;
    mail.Emails = u"ops@example.org";
    app.HighlightFilters().Replace({mail});
    core::CTarvikDoc* doc = OpenLog("m.log", "x\n");
    ASSERT_NE(doc, nullptr);
    doc->AppendNewText(u"server down\n");
    EXPECT_TRUE(app.Mail().Records().Sent().empty());

    app.EnableHighlightActions(nullptr);
    doc->AppendNewText(u"server down again\n");
    ASSERT_EQ(app.Mail().Records().Sent().size(), 1u);
    const mail::NotificationRecord& record = app.Mail().Records().Sent()[0];
    EXPECT_EQ(record.state, mail::NotificationState::Failure);
    EXPECT_EQ(record.errorMessage, u"Miss email settings.");
    EXPECT_EQ(record.logFile, doc->GetPathName());
    EXPECT_EQ(record.emails, u"ops@example.org");
    EXPECT_EQ(record.document, doc);
}

}  // namespace

// A burst of matches shows one desktop notification per filter and document,
// then one summary per window of time for as long as lines keep coming.
TEST(DesktopNoticeThrottle, OneNotificationPerFilterAndDocumentThenSummariesPerWindow) {
    platform_test::SettableClock clock;
    app::CDesktopNoticeThrottle throttle(clock);
    int first = 0;
    int second = 0;
    const app::DesktopNoticeKey error{u"error", &first};
    EXPECT_FALSE(throttle.NextDueInMs());
    EXPECT_TRUE(throttle.Admit(error));
    EXPECT_FALSE(throttle.NextDueInMs()) << "nothing to sum up yet";
    for (int i = 0; i < 499; ++i) EXPECT_FALSE(throttle.Admit(error));
    EXPECT_TRUE(throttle.Admit({u"error", &second})) << "another document";
    EXPECT_TRUE(throttle.Admit({u"warn", &first})) << "another filter";
    EXPECT_EQ(throttle.NextDueInMs(), std::optional<std::uint64_t>(5000));

    clock.now += 4;
    EXPECT_TRUE(throttle.TakeDueSummaries().empty());
    EXPECT_EQ(throttle.NextDueInMs(), std::optional<std::uint64_t>(1000));
    clock.now += 1;
    EXPECT_EQ(throttle.TakeDueSummaries(), std::vector<app::DesktopNoticeSummary>({{error, 499}}));
    EXPECT_TRUE(throttle.TakeDueSummaries().empty()) << "each summary once";
    EXPECT_TRUE(throttle.IsOpen(error));

    // The summary starts the next window: lines in it add to the count of
    // the same notification.
    clock.now += 2;
    EXPECT_FALSE(throttle.Admit(error));
    EXPECT_FALSE(throttle.Admit(error));
    EXPECT_EQ(throttle.NextDueInMs(), std::optional<std::uint64_t>(3000));
    clock.now += 3;
    EXPECT_EQ(throttle.TakeDueSummaries(), std::vector<app::DesktopNoticeSummary>({{error, 501}}));

    // A window that ends quiet is forgotten: the next line shows again.
    clock.now += 5;
    EXPECT_TRUE(throttle.TakeDueSummaries().empty());
    EXPECT_FALSE(throttle.IsOpen(error));
    EXPECT_TRUE(throttle.Admit(error));

    EXPECT_EQ(app::MoreLinesText(1), u"and 1 more line");
    EXPECT_EQ(app::MoreLinesText(37), u"and 37 more lines");
}
