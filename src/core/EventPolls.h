#pragma once
// Polls driven by file events: a followed file that changed is polled within
// moments instead of at the next refresh tick. The poll is the document's own
// CheckFile on the caller's (the user-interface) thread, so every rule of
// following holds as it does for the timer. The refresh timer stays: paused
// documents are read only by it after Start, and a file without events (a
// file system that has none, a directory at its path, a removed folder, no
// watches left) is followed by the timer alone.

#include <chrono>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "core/Monitoring.h"
#include "platform/FileEventWatcher.h"
#include "platform/IClock.h"

namespace core {

class CEventPolls {
public:
    using Clock = std::chrono::steady_clock;
    // A document is polled by events at most once per gap; events inside it
    // are coalesced into one poll at its end.
    static constexpr std::chrono::milliseconds kMinGap{10};

    // Notes go to the debug output unless a sink is given. The clock times
    // the polls' budgets.
    explicit CEventPolls(std::function<void(std::string_view)> note = {},
                         const platform::IClock& clock = platform::SystemClock::Instance());

    // The descriptor that becomes readable when events wait; -1 without events.
    int Descriptor() const { return watcher_.Descriptor(); }

    // Brings the watches in line with the open documents: each file document
    // watched while enabled, none when not. A document whose file cannot be
    // followed by events is said so once on the debug output, and tried again
    // at later calls.
    void Sync(const DocumentList& documents, bool enabled);

    // Reads the waiting events and polls the changed documents whose gap has
    // passed; the others wait for RunDue. Events of a paused document are
    // dropped: the timer reads it after Start.
    void OnEvents(const DocumentList& documents, Clock::time_point now);
    // Polls the documents whose event poll waited for its gap and is due.
    void RunDue(const DocumentList& documents, Clock::time_point now);
    // When RunDue has work; none when no poll waits.
    std::optional<Clock::time_point> NextDue() const;
    // A watched document that the last poll left with a backlog is polled
    // again one gap after `now`, without waiting for the next tick; the
    // user-interface thread paints and answers in between.
    void FollowUpBacklogs(const DocumentList& documents, Clock::time_point now);

    // True while events follow the document's file.
    bool IsWatched(const CTarvikDoc& doc) const;

private:
    struct Watch {
        platform::CFileEventWatcher::Key key = 0;
        std::u16string path;
        platform::WatchState state = platform::WatchState::Unavailable;
        bool toldUnavailable = false;
        bool pending = false;
        std::optional<Clock::time_point> lastPoll;
    };

    void StartWatch(const CTarvikDoc& doc, Watch& watch);
    // The documents polled at one call share one budget, as at a tick.
    void PollIfDue(CTarvikDoc& doc, Watch& watch, Clock::time_point now, const CPollBudget& budget);

    std::function<void(std::string_view)> note_;
    const platform::IClock& clock_;
    platform::CFileEventWatcher watcher_;
    std::map<const CTarvikDoc*, Watch> watches_;
    platform::CFileEventWatcher::Key nextKey_ = 1;
    bool toldNoEvents_ = false;
    bool toldWatchLimit_ = false;
};

}  // namespace core
