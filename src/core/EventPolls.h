#pragma once
// Polls driven by file events: a followed file that changed is polled within
// moments instead of at the next refresh tick. The poll is the document's own
// CheckFile on the caller's (the user-interface) thread, so every rule of
// following holds as it does for the timer. A document whose events work is
// not measured at every tick: its events tell of its changes, and a slow
// safety check catches what they miss. The refresh timer stays: paused
// documents are read only by it after Start, and a file without events (a
// file system that has none, a directory at its path, a removed folder, no
// watches left) is followed by the timer alone. A wake visits only the
// documents its events or due polls concern.

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <queue>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
    // A document followed by events is polled by the tick this long after
    // its last poll, in case its events missed something, at the first
    // multiple of the grain from then.
    static constexpr std::chrono::milliseconds kSafetyCheck{3000};
    static constexpr std::chrono::milliseconds kCheckGrain{1000};

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

    // One tick of the refresh timer, as PollDocuments, except that a
    // document followed by events is polled only when the tick must: its
    // watch is new, events came while it was paused, an event poll waits for
    // it, or its safety check is due. Its stop-updating check runs at every
    // tick all the same. Events not read yet stay unread. The tick visits
    // only those documents: the ones without working events (and stream
    // documents) in list order, then the watched ones it must poll, then the
    // stop-updating checks of the others; a watched document it leaves with
    // a backlog is polled again one gap later (as FollowUpBacklogs). The
    // titles of the documents polled since the last tick are told once.
    void OnTick(const DocumentList& documents, Clock::time_point now, const CPollBudget& budget);
    // The documents the last OnTick polled or took stream text into.
    const std::vector<CTarvikDoc*>& TickPolled() const { return ticked_; }
    // When a tick next has work to do: a time point at or before now when
    // every tick has (documents without working events, stream documents,
    // stop-updating checks, polls left to the tick), else the next safety
    // check; none when no tick ever has. Events and due polls wake on their own.
    std::optional<Clock::time_point> NextTickWork(const DocumentList& documents) const;
    // Whether a stream document is open, as the last OnTick saw.
    bool AnyStreamDocument() const { return streamDocuments_ > 0; }
    // Documents were asked again whether the stop-updating notification
    // watches them: the next tick looks at each once more.
    void StopNoticesChanged() { everyTickStale_ = true; }

    // Reads the waiting events and polls the changed documents whose gap has
    // passed; the others wait for RunDue. A paused document is left to the
    // tick after Start.
    void OnEvents(const DocumentList& documents, Clock::time_point now);
    // Reads the waiting events without polling: the documents they concern
    // wait for the next OnTick, or for RunDue.
    void TakeEvents();
    // Polls the documents whose event poll waited for its gap and is due.
    void RunDue(const DocumentList& documents, Clock::time_point now);
    // The documents the last OnEvents or RunDue polled, in the order polled.
    const std::vector<CTarvikDoc*>& LastPolled() const { return lastPolled_; }
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
        CTarvikDoc* doc = nullptr;
        platform::CFileEventWatcher::Key key = 0;
        std::u16string path;
        platform::WatchState state = platform::WatchState::Unavailable;
        bool toldUnavailable = false;
        bool pending = false;
        std::optional<Clock::time_point> lastPoll;
        // The next tick polls it: the watch is new, or events came while
        // the document was paused.
        bool tickPoll = false;
        std::optional<Clock::time_point> nextCheck;
        // The time of its entry in checks_, if it has one.
        std::optional<Clock::time_point> scheduled;
        std::uint64_t syncPass = 0;
        // Polled by events since the last tick, whose title that tick tells.
        bool titleDue = false;
        // The last tick that polled it.
        std::uint64_t tickPass = 0;
    };
    using Key = platform::CFileEventWatcher::Key;
    // A document the tick visits at every tick: polled when `watch` is
    // null (no working events, or a stream), else only stop-checked.
    struct EveryTick {
        CTarvikDoc* doc = nullptr;
        Watch* watch = nullptr;
    };

    void StartWatch(const CTarvikDoc& doc, Watch& watch);
    void SetState(Watch& watch, platform::WatchState state);
    void SetPending(Watch& watch, bool pending);
    static Clock::time_point CheckAfter(Clock::time_point now);
    void SetTickPoll(Watch& watch, bool tickPoll);
    void SetNextCheck(Watch& watch, std::optional<Clock::time_point> at);
    void ListEveryTick(const DocumentList& documents);
    // The watched documents the tick at `now` must poll, in key order.
    std::vector<Key> DueAtTick(Clock::time_point now);
    void TickPoll(Watch& watch, Clock::time_point now, const CPollBudget& budget);
    void RetryUnavailable();
    void Forget(CTarvikDoc* doc);
    void PollPending(Clock::time_point now, const CPollBudget& budget);
    // The documents polled at one call share one budget, as at a tick.
    void PollIfDue(CTarvikDoc& doc, Watch& watch, Clock::time_point now, const CPollBudget& budget);

    std::function<void(std::string_view)> note_;
    const platform::IClock& clock_;
    platform::CFileEventWatcher watcher_;
    // Node-based: a Watch stays where it is while others come and go.
    std::unordered_map<const CTarvikDoc*, Watch> watches_;
    std::unordered_map<platform::CFileEventWatcher::Key, Watch*> byKey_;
    // Keys of the watches whose poll waits.
    std::set<platform::CFileEventWatcher::Key> pending_;
    // Keys of the watches the next tick polls, and the safety checks by time.
    std::set<Key> tickPolls_;
    // A min-heap with one entry per watch whose check is set, at or before
    // that check (a check put later leaves its entry where it is, and the
    // entry moves on when it comes up): no allocation per poll.
    using Check = std::pair<Clock::time_point, Key>;
    std::priority_queue<Check, std::vector<Check>, std::greater<>> checks_;
    std::vector<CTarvikDoc*> lastPolled_;
    std::vector<EveryTick> everyTick_;
    bool everyTickStale_ = true;
    std::size_t everyTickOf_ = 0;
    std::size_t streamDocuments_ = 0;
    std::uint64_t tickPass_ = 0;
    std::vector<CTarvikDoc*> ticked_;
    // Documents polled by events since the last tick.
    std::vector<CTarvikDoc*> titleDue_;
    platform::CFileEventWatcher::Key nextKey_ = 1;
    std::uint64_t syncPass_ = 0;
    // What the last Sync that looked at the documents saw.
    bool syncedEnabled_ = false;
    std::size_t syncedDocuments_ = 0;
    // Keys of the watches without events.
    std::set<Key> unavailable_;
    bool toldNoEvents_ = false;
    bool toldWatchLimit_ = false;
};

}  // namespace core
