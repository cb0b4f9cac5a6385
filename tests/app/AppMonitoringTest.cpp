// Monitoring as the application runs it: the refresh tick, Start All and
// Pause All, the refresh rate, Go to End of All, the status pane texts,
// red-line arming on every event that changes what the user looks at, and
// the stop-updating e-mail of quiet files.

#include <gtest/gtest.h>

#include <poll.h>
#include <time.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "FakeDocumentHost.h"
#include "app/RecordingUi.h"
#include "app/StatusPaneText.h"
#include "app/TarvikApp.h"
#include "core/DocCommandIds.h"
#include "core/IDocumentHost.h"
#include "core/IUserInterface.h"
#include "core/LineFlagBits.h"
#include "platform/Registry.h"
#include "platform/SettableClock.h"
#include "settings/StopUpdatingSettings.h"
#include "settings/TempRegistry.h"

namespace {

using app_test::RecordingUi;

using platform_test::SettableClock;

class AppMonitoringTest : public app_test::TempRegistryTest {
protected:
    void SetUp() override {
        TempRegistryTest::SetUp();
        folder_ = std::filesystem::temp_directory_path() /
                  ("tarvik-app-monitor-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        app.SetDocumentHost(&host);
        app.SetUserInterface(&ui);
    }
    void TearDown() override {
        std::filesystem::remove_all(folder_);
        TempRegistryTest::TearDown();
    }

    std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
    core::CTarvikDoc& OpenLog(const std::string& name, const std::string& text) {
        std::ofstream(PathOf(name), std::ios::binary | std::ios::trunc) << text;
        const std::string path = PathOf(name);
        core::CTarvikDoc* doc = app.OpenDocument(std::u16string(path.begin(), path.end()));
        EXPECT_NE(doc, nullptr);
        return *doc;
    }
    void AppendLog(const std::string& name, const std::string& text) const {
        std::ofstream(PathOf(name), std::ios::binary | std::ios::app) << text;
    }
    static int LineCount(const core::CTarvikDoc& doc) { return doc.Buffer().LineCount(); }
    static bool StoredInterval(platform::DWORD& value) {
        platform::RegKey key;
        return key.Open(platform::RegRoot::CurrentUser, u"Software\\Ostra Tarvik\\Options") ==
                   platform::ERROR_SUCCESS &&
               key.QueryDWORD(u"IntervalChkFile", value) == platform::ERROR_SUCCESS;
    }

    // Switches the stop-updating rule on for every file (or the listed ones)
    // and notes each e-mail the documents ask for, by path.
    void WatchQuietFiles(std::int32_t seconds, std::vector<std::u16string> onlyFiles = {}) {
        settings::StopUpdatingSettings rule;
        rule.enabled = true;
        rule.seconds = seconds;
        rule.emails = u"ops@example.org";
        rule.allFiles = onlyFiles.empty();
        rule.files = std::move(onlyFiles);
        app.ApplyStopUpdating(rule);
        app.Mail().Notifier().SetStopMailOutcome(
            [this](const std::u16string& path, const std::u16string&, const std::string&) {
                stopMails.push_back(path);
            });
    }
    void TickAfter(std::int64_t seconds) {
        clock.now += seconds;
        app.OnRefreshTick();
    }

    app_test::FakeDocumentHost host;
    RecordingUi ui;
    SettableClock clock;
    app::CTarvikApp app{clock};
    std::vector<std::u16string> stopMails;

private:
    std::filesystem::path folder_;
};

TEST_F(AppMonitoringTest, TheTickPollsMonitoringDocumentsInListOrderAndSkipsPausedOnes) {
    core::CTarvikDoc& a = OpenLog("a.log", "a\n");
    core::CTarvikDoc& b = OpenLog("b.log", "b\n");
    core::CTarvikDoc& c = OpenLog("c.log", "c\n");
    ASSERT_TRUE(b.OnCommand(core::kCmdPauseMonitoring));
    EXPECT_FALSE(b.IsCommandEnabled(core::kCmdPauseMonitoring));
    for (const char* name : {"a.log", "b.log", "c.log"}) AppendLog(name, "new\n");

    app.OnRefreshTick();
    EXPECT_EQ(host.flashed, (std::vector<const core::CTarvikDoc*>{&a, &c}));
    EXPECT_EQ(LineCount(b), 2);

    // Everything written while paused arrives at the first tick after Start,
    // signalled once.
    AppendLog("b.log", "more\n");
    ASSERT_TRUE(b.OnCommand(core::kCmdStartMonitoring));
    app.OnRefreshTick();
    EXPECT_EQ(LineCount(b), 4);
    EXPECT_EQ(host.flashed.size(), 3u);
    EXPECT_EQ(host.flashed.back(), &b);
}

// A document its file events polled shows its new size in the title once,
// at the next tick, and the tick leaves the quiet documents alone.
TEST_F(AppMonitoringTest, AnEventPolledDocumentTellsItsTitleOnceAtTheNextTick) {
    core::CTarvikDoc& a = OpenLog("a.log", "a\n");
    OpenLog("b.log", "b\n");
    ASSERT_TRUE(app.EventPolls().IsWatched(a)) << "no inotify here";
    app.OnRefreshTick();
    host.titled.clear();

    AppendLog("a.log", "new\n");
    pollfd ready{app.FileEventDescriptor(), POLLIN, 0};
    ASSERT_EQ(::poll(&ready, 1, 10000), 1);
    app.OnFileEvents();
    ASSERT_EQ(LineCount(a), 3);
    EXPECT_TRUE(host.titled.empty()) << "told at the poll, not at the tick";
    app.OnRefreshTick();
    EXPECT_EQ(host.titled, (std::vector<const core::CTarvikDoc*>{&a}));
    app.OnRefreshTick();
    EXPECT_EQ(host.titled.size(), 1u);
}

TEST_F(AppMonitoringTest, StartAllAndPauseAllUnderAWaitCursor) {
    EXPECT_TRUE(app.IsCommandEnabled(app::kCmdStartAll));
    EXPECT_TRUE(app.IsCommandEnabled(app::kCmdPauseAll));
    core::CTarvikDoc& a = OpenLog("a.log", "a\n");
    core::CTarvikDoc& b = OpenLog("b.log", "b\n");
    const int waitsBefore = ui.waitCursors;

    EXPECT_TRUE(app.OnCommand(app::kCmdPauseAll));
    EXPECT_FALSE(a.IsMonitoring());
    EXPECT_FALSE(b.IsMonitoring());
    EXPECT_EQ(app::MonitoringStatusText(&a), u"Stopped");
    AppendLog("a.log", "unseen\n");
    app.OnRefreshTick();
    EXPECT_EQ(LineCount(a), 2);

    EXPECT_TRUE(app.OnCommand(app::kCmdStartAll));
    EXPECT_TRUE(a.IsMonitoring());
    EXPECT_TRUE(b.IsMonitoring());
    EXPECT_EQ(app::MonitoringStatusText(&a), u"Monitoring");
    EXPECT_EQ(app::MonitoringStatusText(nullptr), u"Monitoring status");
    EXPECT_EQ(ui.waitCursors, waitsBefore + 2);
}

TEST_F(AppMonitoringTest, TheRefreshRateIsCheckedSavedWhenChangedAndRestartsTheTimer) {
    for (const char16_t* refused : {u"0", u"", u"-5", u"12a", u"99999999999"}) {
        EXPECT_EQ(app.SetRefreshRate(refused), app::RefreshRateResult::Refused);
    }
    EXPECT_EQ(ui.messages.size(), 5u);
    EXPECT_EQ(ui.messages.front(), u"Please enter a positive value.");
    EXPECT_EQ(ui.icons.front(), core::MessageIcon::Exclamation);

    platform::DWORD stored = 0;
    EXPECT_EQ(app.SetRefreshRate(u"100"), app::RefreshRateResult::Unchanged);
    EXPECT_FALSE(StoredInterval(stored)) << "an unchanged rate is not saved";
    EXPECT_TRUE(host.restarts.empty());

    EXPECT_EQ(app.SetRefreshRate(u"32767"), app::RefreshRateResult::Changed);
    EXPECT_EQ(app.GetOptions().IntervalChkFile, 32767u);
    ASSERT_TRUE(StoredInterval(stored));
    EXPECT_EQ(stored, 32767u);
    EXPECT_EQ(host.restarts, std::vector<std::uint32_t>{32767});
    EXPECT_EQ(app::RefreshRatePaneText(app.GetOptions()), u"32.8 sec.");
}

TEST_F(AppMonitoringTest, PaneTextsForTheBufferLimit) {
    settings::Options options;
    EXPECT_EQ(app::RefreshRatePaneText(options), u"100 ms");
    // The pane shows the period the timer runs with, not one it cannot.
    options.IntervalChkFile = 1;
    EXPECT_EQ(app::RefreshRatePaneText(options), u"10 ms");
    EXPECT_EQ(app::MaxBufferSizePaneText(options), u"20.00MB");
    options.LimitBufSize = false;
    EXPECT_EQ(app::MaxBufferSizePaneText(options), u"Unlimited");
}

TEST_F(AppMonitoringTest, GoToEndOfAllAsksEveryView) {
    EXPECT_FALSE(app.OnCommand(app::kCmdGoToEndOfAll));
    OpenLog("a.log", "a\n");
    OpenLog("b.log", "b\n");
    // Opening with AutoMonitor already went to the end once.
    ASSERT_EQ(host.views.size(), 2u);
    EXPECT_TRUE(app.OnCommand(app::kCmdGoToEndOfAll));
    EXPECT_EQ(host.views[0].goToEndPosts, 2);
    EXPECT_EQ(host.views[1].goToEndPosts, 2);
}

TEST_F(AppMonitoringTest, ArmingFollowsWhatTheUserLooksAt) {
    core::CTarvikDoc& a = OpenLog("a.log", "a\n");
    core::CTarvikDoc& b = OpenLog("b.log", "b\n");

    app.OnDocumentFrameActivated(b, true);
    app.OnDocumentFrameActivated(a, false);
    EXPECT_TRUE(a.IsRedLineArmed());
    EXPECT_FALSE(b.IsRedLineArmed());

    host.active = &b;
    app.OnApplicationActivated(false);
    EXPECT_TRUE(b.IsRedLineArmed());
    a.SetRedLineArmed(false);
    app.OnApplicationActivated(true);
    EXPECT_FALSE(b.IsRedLineArmed());
    EXPECT_FALSE(a.IsRedLineArmed()) << "only the active frame's document changes";

    for (int command : {app::kCmdReloadAllDocuments, app::kCmdClearAllWindows}) {
        a.SetRedLineArmed(false);
        b.SetRedLineArmed(false);
        EXPECT_TRUE(app.OnCommand(command));
        EXPECT_TRUE(a.IsRedLineArmed());
        EXPECT_TRUE(b.IsRedLineArmed());
    }

    a.SetRedLineArmed(false);
    app.ApplyInExFilters({}, {});
    EXPECT_TRUE(a.IsRedLineArmed()) << "the filters changed and every document was reloaded";
}

TEST_F(AppMonitoringTest, ARedLineDisarmsAndHousekeepingFollowsTheOptions) {
    core::CTarvikDoc& a = OpenLog("a.log", "a\n");
    app.OnDocumentFrameActivated(a, false);
    AppendLog("a.log", "b\n");
    app.OnRefreshTick();
    app.OnDocumentFrameActivated(a, false);
    AppendLog("a.log", "c\n");
    app.OnRefreshTick();
    EXPECT_FALSE(a.IsRedLineArmed());
    const auto redLines = [&a] {
        int count = 0;
        for (int line = 0; line < a.Buffer().LineCount(); ++line) {
            if (a.Buffer().LineFlags(line) & core::kRedLineFlag) ++count;
        }
        return count;
    };
    ASSERT_EQ(redLines(), 2);

    app.GetOptions().RemovePreRedLine = true;
    app.TidyRedLinesAfterOptionChange(true, false);
    EXPECT_EQ(redLines(), 1);
    EXPECT_EQ(a.Buffer().LineFlags(2) & core::kRedLineFlag, core::kRedLineFlag);

    app.GetOptions().DrawRedLine = false;
    app.TidyRedLinesAfterOptionChange(true, true);
    EXPECT_EQ(redLines(), 0);
}

TEST_F(AppMonitoringTest, AQuietFileGetsOneStopMailPerQuietPeriod) {
    WatchQuietFiles(60);
    core::CTarvikDoc& doc = OpenLog("a.log", "a\n");
    EXPECT_TRUE(doc.StopNoticeEnabled());
    TickAfter(59);
    EXPECT_TRUE(stopMails.empty());
    TickAfter(1);
    ASSERT_EQ(stopMails.size(), 1u) << "60 seconds after the opening";
    EXPECT_EQ(stopMails[0], doc.GetPathName());
    EXPECT_TRUE(doc.StopNoticeSent()) << "the period counts as done though settings are missing";
    EXPECT_FALSE(doc.GotNewData());
    TickAfter(600);
    EXPECT_EQ(stopMails.size(), 1u);

    // New data starts a new period, counted from its arrival.
    AppendLog("a.log", "b\n");
    TickAfter(10);
    EXPECT_FALSE(doc.StopNoticeSent());
    EXPECT_TRUE(doc.GotNewData());
    TickAfter(59);
    EXPECT_EQ(stopMails.size(), 1u);
    TickAfter(1);
    EXPECT_EQ(stopMails.size(), 2u);
}

TEST_F(AppMonitoringTest, FilesThatGrowArePausedOrAreNotListedGetNoStopMail) {
    core::CTarvikDoc& unlisted = OpenLog("Upper.log", "u\n");
    const std::string lowerCase = PathOf("upper.log");
    WatchQuietFiles(60, {std::u16string(lowerCase.begin(), lowerCase.end())});
    EXPECT_FALSE(unlisted.StopNoticeEnabled()) << "letter case counts in listed paths";
    WatchQuietFiles(60);
    EXPECT_TRUE(unlisted.StopNoticeEnabled()) << "the new rule reaches open documents at once";
    ASSERT_TRUE(unlisted.OnCommand(core::kCmdPauseMonitoring));

    core::CTarvikDoc& busy = OpenLog("busy.log", "a\n");
    for (int i = 0; i < 10; ++i) {
        AppendLog("busy.log", "line\n");
        TickAfter(30);
    }
    EXPECT_TRUE(stopMails.empty());
    EXPECT_EQ(LineCount(busy), 12);

    // A rule changed after the e-mail went out does not re-arm the period.
    TickAfter(60);
    ASSERT_EQ(stopMails.size(), 1u);
    EXPECT_EQ(stopMails[0], busy.GetPathName());
    WatchQuietFiles(30);
    EXPECT_TRUE(busy.StopNoticeSent());
    TickAfter(60);
    EXPECT_EQ(stopMails.size(), 1u);
}

}  // namespace
