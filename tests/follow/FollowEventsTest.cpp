// Following by file events: a second process writes, and the document is
// polled only when its file's events say so (the refresh tick is called only
// where a test says it is). Time points are handed in, so the coalescing gap
// is decided by the test, not by how fast the machine is.

#include <gtest/gtest.h>
#include <poll.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "WriterProcess.h"
#include "core/DocContext.h"
#include "core/EventPolls.h"
#include "core/IStopUpdatingCheck.h"
#include "core/Monitoring.h"
#include "core/PollBudget.h"
#include "core/TarvikDoc.h"
#include "filters/InExFilterList.h"
#include "platform/CodePage.h"
#include "platform/IClock.h"
#include "settings/Options.h"

namespace follow_test {
namespace {

using namespace std::chrono_literals;

class FollowEvents : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "events-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder_ = pattern;
        path_ = folder_ + "/quiet.log";
        ASSERT_TRUE(writer_.IsRunning()) << "cannot start " << WriterProcess::ProgramPath();
        ASSERT_GE(events_.Descriptor(), 0) << "no inotify here";
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    core::CTarvikDoc& Open(const std::string& path, const std::string& text) {
        EXPECT_EQ(writer_.Run("append u8 " + path + " " + EscapeBytes(text)), "");
        auto doc = std::make_unique<core::CTarvikDoc>(context_);
        EXPECT_TRUE(doc->OnOpenDocument(platform::Utf8ToUtf16(path)));
        documents_.push_back(std::move(doc));
        events_.Sync(documents_, true);
        return *documents_.back();
    }

    bool EventsWaiting(int waitMs) const {
        pollfd ready{events_.Descriptor(), POLLIN, 0};
        return ::poll(&ready, 1, waitMs) == 1;
    }

    // Hands the events over until the document shows what is expected. An
    // event is queued by the write itself, so the wait only guards against a
    // hang: a missing event fails at once when nothing more is queued.
    bool ShowsByEvents(const core::CTarvikDoc& doc, const std::u16string& expected) {
        for (int round = 0; round < 50 && Shown(doc) != expected; ++round) {
            if (EventsWaiting(round == 0 ? 10000 : 0)) {
                now_ += 1s;
                events_.OnEvents(documents_, now_);
            } else if (const auto due = events_.NextDue()) {
                now_ = std::max(now_, *due);
                events_.RunDue(documents_, now_);
            } else {
                break;
            }
        }
        return Shown(doc) == expected;
    }

    static std::string ToUtf8(const std::u16string& text) { return platform::Utf16ToUtf8(text); }

    static std::u16string Shown(const core::CTarvikDoc& doc) {
        std::u16string text;
        const core::CCrystalTextBuffer& buffer = doc.Buffer();
        for (int i = 0; i < buffer.LineCount(); ++i) {
            if (i > 0) text += u'\n';
            text += buffer.LineText(i);
        }
        return text;
    }

    std::string folder_;
    std::string path_;
    WriterProcess writer_;
    settings::Options options_;
    filters::CInExFilters filters_;
    core::DocContext context_{options_, filters_, platform::SystemClock::Instance()};
    std::vector<std::string> notes_;
    core::CEventPolls events_{[this](std::string_view note) { notes_.emplace_back(note); }};
    core::DocumentList documents_;
    core::CEventPolls::Clock::time_point now_{};
};

TEST_F(FollowEvents, ALineAppendedToAQuietFileArrivesByItsEventAndEventsAreCoalesced) {
    core::CTarvikDoc& doc = Open(path_, "first\n");
    ASSERT_TRUE(events_.IsWatched(doc));
    ASSERT_EQ(writer_.AppendBytes(path_, "second\n"), "");
    ASSERT_TRUE(ShowsByEvents(doc, u"first\nsecond\n"));

    // A burst of writes inside the gap is read once, when the gap is over.
    ASSERT_EQ(writer_.AppendBytes(path_, "third\n"), "");
    ASSERT_TRUE(EventsWaiting(10000));
    events_.OnEvents(documents_, now_ + 1ms);
    EXPECT_EQ(Shown(doc), u"first\nsecond\n") << "polled twice within the gap";
    ASSERT_TRUE(events_.NextDue().has_value());
    EXPECT_EQ(*events_.NextDue(), now_ + core::CEventPolls::kMinGap);
    events_.RunDue(documents_, now_ + 9ms);
    EXPECT_EQ(Shown(doc), u"first\nsecond\n");
    events_.RunDue(documents_, now_ + 10ms);
    EXPECT_EQ(Shown(doc), u"first\nsecond\nthird\n");
    EXPECT_FALSE(events_.NextDue().has_value());
}

TEST_F(FollowEvents, APausedDocumentIsReadOnlyByTheTickAfterStart) {
    core::CTarvikDoc& doc = Open(path_, "first\n");
    doc.SetMonitoring(false);
    ASSERT_EQ(writer_.AppendBytes(path_, "while paused\n"), "");
    EXPECT_FALSE(ShowsByEvents(doc, u"first\nwhile paused\n"));
    EXPECT_FALSE(events_.NextDue().has_value());
    doc.SetMonitoring(true);
    core::PollDocuments(documents_);
    EXPECT_EQ(Shown(doc), u"first\nwhile paused\n");
}

// Counts the stop-updating checks of the documents' polls.
class CountingStopCheck final : public core::IStopUpdatingCheck {
public:
    bool Applies(std::u16string_view /*path*/) const override { return true; }
    bool Check(std::u16string_view /*path*/, bool /*sinceLastUpdate*/,
               std::int64_t /*referenceTime*/) override {
        ++checks;
        return false;
    }
    int checks = 0;
};

// The tick does not measure a file its events follow: what was written waits
// for the events, or for the slow safety check. The stop-updating check
// still runs at every tick, and a paused document's events are left to the
// tick after Start.
TEST_F(FollowEvents, ATickLeavesAWatchedFileToItsEventsAndChecksItNowAndThen) {
    CountingStopCheck stopCheck;
    context_.stopUpdating = &stopCheck;
    core::CTarvikDoc& doc = Open(path_, "first\n");
    ASSERT_TRUE(events_.IsWatched(doc));
    ASSERT_TRUE(doc.StopNoticeEnabled());
    const core::CPollBudget budget;
    // The first tick after the watch began looks once.
    events_.OnTick(documents_, now_, budget);

    ASSERT_EQ(writer_.AppendBytes(path_, "second\n"), "");
    for (int tick = 1; tick <= 5; ++tick) events_.OnTick(documents_, now_ + tick * 100ms, budget);
    EXPECT_EQ(Shown(doc), u"first\n") << "a tick measured a file its events follow";
    EXPECT_EQ(stopCheck.checks, 6);
    events_.OnTick(documents_, now_ + core::CEventPolls::kSafetyCheck * 2, budget);
    EXPECT_EQ(Shown(doc), u"first\nsecond\n") << "no safety check";

    // Events that came while paused are read by the first tick after Start.
    now_ += core::CEventPolls::kSafetyCheck * 2;
    doc.SetMonitoring(false);
    ASSERT_EQ(writer_.AppendBytes(path_, "third\n"), "");
    EXPECT_FALSE(ShowsByEvents(doc, u"first\nsecond\nthird\n"));
    doc.SetMonitoring(true);
    events_.OnTick(documents_, now_ + 100ms, budget);
    EXPECT_EQ(Shown(doc), u"first\nsecond\nthird\n");
}

// A clock whose every reading is a whole poll budget later: each poll reads
// once and stops.
class SpendingClock final : public platform::IClock {
public:
    std::uint64_t TickMs() const override { return ms_ += core::CPollBudget::kTickMs; }
    std::int64_t UnixTime() const override { return 0; }
    platform::LocalTime Local() const override { return {}; }

private:
    mutable std::uint64_t ms_ = 0;
};

// What was written while paused is more than a tick may read: the tick reads
// part of it, and the rest follows by polls one gap apart, without a tick.
TEST_F(FollowEvents, ABacklogLeftByATickIsReadByFollowUpPollsInOrder) {
    core::CTarvikDoc& doc = Open(path_, "first\n");
    doc.SetMonitoring(false);
    std::string backlog;
    std::u16string expected = u"first\n";
    for (int i = 0; backlog.size() < 3 * core::CTarvikDoc::kReadBufferBytes / 2; ++i) {
        const std::string line = "backlog line " + std::to_string(i) + "\n";
        backlog += line;
        expected += platform::Utf8ToUtf16(line);
    }
    ASSERT_EQ(writer_.AppendBytes(path_, backlog), "");
    doc.SetMonitoring(true);

    const SpendingClock clock;
    core::CEventPolls polls({}, clock);
    polls.Sync(documents_, true);
    core::PollDocuments(documents_, core::CPollBudget(clock, core::CPollBudget::kTickMs));
    ASSERT_TRUE(doc.HasBacklog());
    polls.FollowUpBacklogs(documents_, now_);
    int followUps = 0;
    while (const auto due = polls.NextDue()) {
        EXPECT_GE(*due, now_ + core::CEventPolls::kMinGap)
            << "the user-interface thread gets its gap";
        now_ = *due;
        polls.RunDue(documents_, now_);
        if (++followUps > 10) break;
    }
    EXPECT_GE(followUps, 2);
    EXPECT_FALSE(doc.HasBacklog());
    EXPECT_TRUE(Shown(doc) == expected);
}

TEST_F(FollowEvents, ARotatedFileIsPickedUpByTheEventsOfTheNewFile) {
    core::CTarvikDoc& doc = Open(path_, "old one\nold two\n");
    ASSERT_EQ(writer_.Run("rotate " + path_), "");
    ASSERT_EQ(writer_.AppendBytes(path_, "new one\n"), "");
    // The new file follows the rest of the old one in the same display.
    ASSERT_TRUE(ShowsByEvents(doc, u"old one\nold two\nnew one\n")) << ToUtf8(Shown(doc));
    ASSERT_TRUE(events_.IsWatched(doc));
    // The new file's own writes come as events too.
    ASSERT_EQ(writer_.AppendBytes(path_, "new two\n"), "");
    EXPECT_TRUE(ShowsByEvents(doc, u"old one\nold two\nnew one\nnew two\n"));
}

// The tick may be the one to find the rotation, after it took the events
// of the new file: the new file follows by polls one gap apart, without
// waiting for more events or for the safety check.
TEST_F(FollowEvents, ARotationFoundByATickIsFollowedUpByPolls) {
    core::CTarvikDoc& doc = Open(path_, "old one\n");
    const core::CPollBudget budget;
    events_.OnTick(documents_, now_, budget);
    ASSERT_EQ(writer_.Run("rotate " + path_), "");
    ASSERT_EQ(writer_.AppendBytes(path_, "new one\n"), "");
    ASSERT_TRUE(EventsWaiting(10000));
    events_.TakeEvents();
    now_ += 100ms;
    events_.OnTick(documents_, now_, budget);
    for (int polls = 0; polls < 10 && Shown(doc) != u"old one\nnew one\n"; ++polls) {
        const auto due = events_.NextDue();
        ASSERT_TRUE(due.has_value()) << "left to the safety check: " << ToUtf8(Shown(doc));
        ASSERT_LT(*due, now_ + core::CEventPolls::kSafetyCheck);
        now_ = std::max(now_, *due);
        events_.RunDue(documents_, now_);
    }
    EXPECT_EQ(Shown(doc), u"old one\nnew one\n");
}

TEST_F(FollowEvents, WithTheOptionOffOnlyTheTickReads) {
    core::CTarvikDoc& doc = Open(path_, "first\n");
    events_.Sync(documents_, false);
    EXPECT_FALSE(events_.IsWatched(doc));
    ASSERT_EQ(writer_.AppendBytes(path_, "second\n"), "");
    events_.OnEvents(documents_, now_ += 1s);
    EXPECT_EQ(Shown(doc), u"first\n") << "an event polled with the option off";
    core::PollDocuments(documents_);
    EXPECT_EQ(Shown(doc), u"first\nsecond\n");
    // On again, events follow again.
    events_.Sync(documents_, true);
    ASSERT_EQ(writer_.AppendBytes(path_, "third\n"), "");
    EXPECT_TRUE(ShowsByEvents(doc, u"first\nsecond\nthird\n"));
}

TEST_F(FollowEvents, AFileTurnedDirectoryOrAFolderRemovedFallsBackToTheTickAndSaysSoOnce) {
    const std::string sub = folder_ + "/sub";
    std::filesystem::create_directory(sub);
    core::CTarvikDoc& inSub = Open(sub + "/gone.log", "a\n");
    core::CTarvikDoc& doc = Open(path_, "first\n");
    ASSERT_TRUE(events_.IsWatched(doc));
    ASSERT_TRUE(events_.IsWatched(inSub));

    ASSERT_EQ(writer_.Run("delete " + path_), "");
    std::filesystem::create_directory(path_);
    std::filesystem::remove_all(sub);
    ShowsByEvents(doc, u"never");
    for (int tick = 0; tick < 3; ++tick) {
        core::PollDocuments(documents_);
        events_.Sync(documents_, true);
    }
    EXPECT_FALSE(events_.IsWatched(doc));
    EXPECT_FALSE(events_.IsWatched(inSub));
    ASSERT_EQ(notes_.size(), 2u) << (notes_.empty() ? "" : notes_[0]);
    EXPECT_NE(notes_[0].find("refresh timer"), std::string::npos);

    // The file comes back: the tick reads it, and events follow it again.
    std::filesystem::remove(path_);
    ASSERT_EQ(writer_.AppendBytes(path_, "back\n"), "");
    for (int tick = 0; tick < 3; ++tick) core::PollDocuments(documents_);
    events_.Sync(documents_, true);
    EXPECT_TRUE(events_.IsWatched(doc));
    EXPECT_EQ(Shown(doc), u"first\nback\n");
    ASSERT_EQ(writer_.AppendBytes(path_, "more\n"), "");
    EXPECT_TRUE(ShowsByEvents(doc, u"first\nback\nmore\n"));
}

}  // namespace
}  // namespace follow_test
