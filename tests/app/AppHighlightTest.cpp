// The application's highlight filters: loaded with the options, applied by
// every document, and taken over from the filter dialog with its options.

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FakeDocumentHost.h"
#include "app/TarvikApp.h"
#include "core/IUserInterface.h"
#include "filters/FilterFile.h"
#include "filters/HighlightFilterTakeOver.h"
#include "platform/Registry.h"
#include "settings/TempRegistry.h"

namespace {

using app_test::CreateKey;

class RecordingUi final : public core::IUserInterface {
public:
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon,
                                    core::MessageButtons) override {
        messages.emplace_back(text);
        return core::MessageAnswer::Ok;
    }
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    std::vector<std::u16string> messages;
};

class AppHighlightTest : public app_test::TempRegistryTest {
protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tarvik-app-highlight-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        app.SetDocumentHost(&host);
        app.SetUserInterface(&ui);
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

    std::u16string PathOf(const std::string& name) const { return (folder_ / name).u16string(); }

    app_test::FakeDocumentHost host;
    RecordingUi ui;
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

TEST_F(AppHighlightTest, ImportedFiltersAreAppendedOrReplaceTheListAndReloadForShowAs) {
    StoreShowAsFilter(u"secret", u"***");
    LoadOptions();
    core::CTarvikDoc* doc = OpenLog("i.log", "secret warn\n");
    ASSERT_NE(doc, nullptr);
    const std::u16string file = PathOf("set.ini");
    ASSERT_TRUE(app.ExportHighlightFilterFile(file));

    ASSERT_TRUE(app.ImportHighlightFilterFile(file));
    EXPECT_EQ(app.HighlightFilters().Size(), 2u) << "export then import doubles the list";

    filters::HighlightFilter warn;
    warn.phrase.Assign(u"warn", false, false);
    warn.Enable = true;
    ASSERT_TRUE(filters::WriteHighlightFilterFile(PathOf("warn.ini"), std::vector{warn}));
    app.GetOptions().RemoveAllFiltersBeforeImport = true;
    ASSERT_TRUE(app.ImportHighlightFilterFile(PathOf("warn.ini")));
    ASSERT_EQ(app.HighlightFilters().Size(), 1u);
    EXPECT_EQ(app.HighlightFilters().Items()[0].phrase.text, u"warn");
    // The removed "Show as" filter no longer replaces: the document was reloaded.
    EXPECT_EQ(Line(*doc, 0), u"secret warn");
    app::CTarvikApp fresh;
    bool maximized = true;
    settings::WindowRect rect{};
    fresh.LoadOptions(maximized, rect);
    EXPECT_EQ(fresh.HighlightFilters().Size(), 1u) << "saved";
    EXPECT_TRUE(ui.messages.empty());

    // A file that is no filter file changes nothing, even with remove-all on.
    EXPECT_FALSE(app.ImportHighlightFilterFile(PathOf("i.log")));
    EXPECT_EQ(app.HighlightFilters().Size(), 1u);
    EXPECT_EQ(ui.messages, std::vector<std::u16string>{u"Failed to import filters from file \"" +
                                                       PathOf("i.log") + u"\""});
}

TEST_F(AppHighlightTest, IncludeExcludeFilesKeepTheTypeOfEachFilter) {
    std::vector<filters::InExFilter> include(1);
    include[0].phrase.text = u"keep";
    std::vector<filters::InExFilter> exclude(1);
    exclude[0].phrase.text = u"drop";
    app.GetOptions().ReloadAllDocsInExclude = false;
    app.ApplyInExFilters(include, exclude);
    ASSERT_TRUE(app.ExportInExFilterFile(PathOf("ie.ini")));
    app.GetOptions().RemoveAllFiltersBeforeImport = true;
    ASSERT_TRUE(app.ImportInExFilterFile(PathOf("ie.ini")));
    ASSERT_EQ(app.InExFilters().Include().size(), 1u);
    ASSERT_EQ(app.InExFilters().Exclude().size(), 1u);
    EXPECT_EQ(app.InExFilters().Exclude()[0].phrase.text, u"drop");
    EXPECT_TRUE(app.InExFilters().AcceptLine(u"keep this"));
    EXPECT_FALSE(app.InExFilters().AcceptLine(u"keep drop"));

    EXPECT_FALSE(app.ExportInExFilterFile(PathOf("no/such/folder.ini")));
    EXPECT_EQ(ui.messages.size(), 1u);
}

}  // namespace
