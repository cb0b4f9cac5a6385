// The folder watcher with real folders, files and its real thread: what it
// reports, what it never reports, and that it ends at once when destroyed.

#include "discovery/AutoOpenWatcher.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <thread>

#include "discovery/AutoOpenRules.h"
#include "discovery/WildcardMatch.h"
#include "platform/CodePage.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using discovery::AutoOpenJob;
using discovery::CAutoOpenWatcher;

// What a watcher reported, from whatever thread it reported on.
class Reports {
public:
    CAutoOpenWatcher::Report Sink() {
        return [this](std::u16string path) {
            std::lock_guard lock(mutex_);
            paths_.push_back(platform::Utf16ToUtf8(path));
            arrived_.notify_all();
        };
    }
    // Waits until path has been reported times times (the long guard only
    // ends a broken run).
    bool WaitFor(const std::string& path, int times = 1) {
        std::unique_lock lock(mutex_);
        return arrived_.wait_for(lock, 60s, [&] { return CountLocked(path) >= times; });
    }
    int Count(const std::string& path) {
        std::lock_guard lock(mutex_);
        return CountLocked(path);
    }
    std::vector<std::string> All() {
        std::lock_guard lock(mutex_);
        return paths_;
    }

private:
    int CountLocked(const std::string& path) const {
        return static_cast<int>(std::count(paths_.begin(), paths_.end(), path));
    }

    std::mutex mutex_;
    std::condition_variable arrived_;
    std::vector<std::string> paths_;
};

class AutoOpenWatcherTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "tarvik-watch-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(dir_, ignored);
    }
    std::string Write(const std::string& name) {
        const fs::path path = dir_ / name;
        std::ofstream(path) << "line\n";
        return path.string();
    }
    AutoOpenJob Job(std::vector<std::u16string> patterns, bool openExisting = false,
                    std::string folder = {}) {
        AutoOpenJob job;
        const std::u16string where =
            platform::Utf8ToUtf16((folder.empty() ? dir_.string() : folder) + "/");
        for (auto& pattern : patterns) job.patterns.push_back({where, std::move(pattern)});
        job.interval = 5ms;
        job.openExisting = openExisting;
        return job;
    }

    fs::path dir_;
};

TEST(WildcardMatch, StarAndQuestionMarkAsAFolderSearchWithCase) {
    using discovery::MatchesWildcard;
    EXPECT_TRUE(MatchesWildcard(u"app.log", u"*"));
    EXPECT_TRUE(MatchesWildcard(u"app.log", u"*.log"));
    EXPECT_TRUE(MatchesWildcard(u"app-2024.log", u"app*.l?g"));
    EXPECT_TRUE(MatchesWildcard(u".log", u"*.log"));
    EXPECT_TRUE(MatchesWildcard(u"a.b.log", u"*.*"));
    EXPECT_TRUE(MatchesWildcard(u"aaab", u"*a*b"));
    EXPECT_FALSE(MatchesWildcard(u"app.LOG", u"*.log"));
    EXPECT_FALSE(MatchesWildcard(u"app.log.1", u"*.log"));
    EXPECT_FALSE(MatchesWildcard(u"a.lg", u"a.l?g"));
    EXPECT_FALSE(MatchesWildcard(u"app.log", u""));
    EXPECT_FALSE(MatchesWildcard(std::u16string(200, u'a'), std::u16string(60, u'*') + u"b"));
}

TEST(AutoOpenRules, DialogChecksIntervalThenBoundThenDuplicateRowsWithoutCase) {
    using discovery::AutoOpenDialogProblem;
    using discovery::AutoOpenField;
    const std::vector<settings::AutoOpenPattern> rows{{u"/var/log/", u"*.log"},
                                                      {u"/VAR/log/", u"*.LOG"}};
    EXPECT_EQ(AutoOpenDialogProblem(0, true, 0, rows)->field, AutoOpenField::Interval);
    EXPECT_EQ(AutoOpenDialogProblem(1, true, -3, rows)->message,
              u"The maximum open files must be greater than 0.");
    EXPECT_EQ(AutoOpenDialogProblem(1, false, 0, rows)->message,
              u"There's a duplicated item in list at least. Please remove the item and then "
              u"click OK.");
    EXPECT_EQ(AutoOpenDialogProblem(1, false, 0, {rows[0], {u"/var/log/", u"*.txt"}}),
              std::nullopt);
    EXPECT_EQ(discovery::FilePatternProblem(u"", u"")->field, AutoOpenField::Folder);
    EXPECT_EQ(discovery::FilePatternProblem(u"/tmp", u"")->field, AutoOpenField::Pattern);
    EXPECT_EQ(discovery::WithFolderSeparator(u"/tmp"), u"/tmp/");
    EXPECT_EQ(discovery::WithFolderSeparator(u"/tmp/"), u"/tmp/");
}

TEST_F(AutoOpenWatcherTest, ReportsOnlyNewFilesNeverFoldersAndEachPathOncePerPattern) {
    const std::string existing = Write("old.log");
    Reports reports;
    {
        CAutoOpenWatcher watcher(Job({u"*.log", u"n?w*"}), reports.Sink());
        fs::create_directory(dir_ / "folder.log");
        const std::string fresh = Write("new.log");
        Write("new.txt");
        // Once for each of the two patterns that match it.
        ASSERT_TRUE(reports.WaitFor(fresh, 2));
        // Deleted and created again under its name: not new.
        fs::remove(fresh);
        Write("new.log");
        const std::string marker = Write("marker.log");
        ASSERT_TRUE(reports.WaitFor(marker));
        EXPECT_EQ(reports.Count(existing), 0);
        EXPECT_EQ(reports.Count((dir_ / "folder.log").string()), 0);
        EXPECT_EQ(reports.Count(fresh), 2);
        EXPECT_EQ(reports.Count((dir_ / "new.txt").string()), 1);
    }
    EXPECT_EQ(reports.All().size(), 4u);
}

TEST_F(AutoOpenWatcherTest, ExistingFilesAreReportedWhenAskedAndAMissingFolderIsTriedAgain) {
    const std::string existing = Write("old.log");
    Reports reports;
    const std::string later = (dir_ / "later").string();
    CAutoOpenWatcher watcher(Job({u"*.log"}, true), reports.Sink());
    CAutoOpenWatcher missing(Job({u"*"}, false, later), reports.Sink());
    EXPECT_TRUE(reports.WaitFor(existing));
    fs::create_directory(later);
    std::ofstream(later + "/first") << "x";
    EXPECT_TRUE(reports.WaitFor(later + "/first"));
    EXPECT_EQ(reports.Count(existing), 1);
}

// A listing that does not return until the test lets it, as a folder on a
// stalled mount would.
class StalledFolder {
public:
    discovery::ListFolderFiles Lister(std::shared_ptr<StalledFolder> self) {
        return [self](const std::u16string&) {
            std::unique_lock lock(self->mutex_);
            self->entered_ = true;
            self->changed_.notify_all();
            // The long guard only ends a broken run.
            if (!self->changed_.wait_for(lock, 20s, [&] { return self->released_; })) {
                self->guardExpired_ = true;
            }
            return std::vector<std::u16string>{u"new.log"};
        };
    }
    bool WaitEntered() {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 60s, [&] { return entered_; });
    }
    void Release() {
        std::lock_guard lock(mutex_);
        released_ = true;
        changed_.notify_all();
    }
    bool GuardExpired() {
        std::lock_guard lock(mutex_);
        return guardExpired_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool entered_ = false;
    bool released_ = false;
    bool guardExpired_ = false;
};

TEST_F(AutoOpenWatcherTest, AStalledFolderHoldsNeitherTheStartNorTheReplacement) {
    auto stalled = std::make_shared<StalledFolder>();
    Reports reports;
    {
        AutoOpenJob job = Job({u"*"}, true);
        job.listFolder = stalled->Lister(stalled);
        // The snapshot runs on the watcher's thread, not here.
        CAutoOpenWatcher watcher(std::move(job), reports.Sink());
        ASSERT_TRUE(stalled->WaitEntered());
        // Destroyed in the middle of the snapshot, without waiting for it.
    }
    stalled->Release();
    // The thread lets go of the listing when it ends.
    for (int i = 0; i < 60000 && stalled.use_count() > 1; ++i) std::this_thread::sleep_for(1ms);
    ASSERT_EQ(stalled.use_count(), 1);
    EXPECT_FALSE(stalled->GuardExpired());
    // The listing gave a path; the stopped scan never reports it.
    EXPECT_TRUE(reports.All().empty());
}

TEST_F(AutoOpenWatcherTest, StopsAtOnceInTheMiddleOfALongPause) {
    Reports reports;
    // The listing holds the token while the thread lives.
    auto token = std::make_shared<int>(0);
    {
        AutoOpenJob job = Job({u"*"});
        job.interval = std::chrono::hours(1);
        job.listFolder = [token](const std::u16string& folder) {
            return discovery::ListRegularFiles(folder);
        };
        CAutoOpenWatcher watcher(std::move(job), reports.Sink());
    }
    // The thread must not sleep out its hour.
    for (int i = 0; i < 60000 && token.use_count() > 1; ++i) std::this_thread::sleep_for(1ms);
    EXPECT_EQ(token.use_count(), 1);
    EXPECT_TRUE(reports.All().empty());
}

}  // namespace
