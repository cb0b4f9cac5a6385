#include "core/EventPolls.h"

#include <algorithm>
#include <set>
#include <string>

#include "platform/CodePage.h"
#include "platform/DebugOutput.h"

namespace core {

CEventPolls::CEventPolls(std::function<void(std::string_view)> note, const platform::IClock& clock)
    : note_(std::move(note)), clock_(clock) {
    if (!note_) {
        note_ = [](std::string_view text) { platform::OutputDebugStringA(text); };
    }
}

void CEventPolls::StartWatch(const CTarvikDoc& doc, Watch& watch) {
    watch.path = doc.GetPathName();
    SetState(watch, watcher_.Watch(watch.key, platform::Utf16ToUtf8(watch.path)));
    // Whatever happened before the watch began is found by the next tick.
    SetTickPoll(watch, true);
    if (watch.state != platform::WatchState::Unavailable) {
        watch.toldUnavailable = false;
        return;
    }
    if (watch.toldUnavailable) return;
    watch.toldUnavailable = true;
    // Past the watch limit every further document would say the same: it is said once.
    if (watcher_.WatchLimitReached()) {
        if (toldWatchLimit_) return;
        toldWatchLimit_ = true;
        note_(std::string(platform::kDebugPrefix) +
              "The inotify watch limit (fs.inotify.max_user_watches) is reached; further files "
              "are followed by the refresh timer.\n");
        return;
    }
    note_(std::string(platform::kDebugPrefix) + "No file events for " +
          platform::Utf16ToUtf8(watch.path) + "; it is followed by the refresh timer.\n");
}

void CEventPolls::Sync(const DocumentList& documents, bool enabled) {
    if (enabled && Descriptor() < 0 && !toldNoEvents_) {
        toldNoEvents_ = true;
        note_(std::string(platform::kDebugPrefix) +
              "File events are not available; files are followed by the refresh timer.\n");
    }
    // While the documents and the option are as the last call left them (the
    // application calls this at every tick) only the files that lost their
    // events are looked at again.
    if (enabled == syncedEnabled_ && documents.size() == syncedDocuments_) {
        RetryUnavailable();
        return;
    }
    syncedEnabled_ = enabled;
    syncedDocuments_ = documents.size();
    // Watches of documents not seen in this pass go.
    ++syncPass_;
    if (enabled && Descriptor() >= 0) {
        for (const auto& doc : documents) {
            if (doc->IsStreamDocument()) continue;
            auto [it, added] = watches_.try_emplace(doc.get());
            Watch& watch = it->second;
            watch.syncPass = syncPass_;
            if (added) {
                watch.doc = doc.get();
                watch.key = nextKey_++;
                unavailable_.insert(watch.key);  // until StartWatch says otherwise
                byKey_[watch.key] = &watch;
            }
            // A file that lost its events is tried again: a directory may
            // have become a file again, a folder may be back.
            // Past the watch limit, trying again waits until a watch is given back.
            if (added || watch.path != doc->GetPathName() ||
                (!watcher_.WatchLimitReached() &&
                 watch.state == platform::WatchState::Unavailable)) {
                StartWatch(*doc, watch);
            }
        }
    }
    for (auto it = watches_.begin(); it != watches_.end();) {
        if (it->second.syncPass == syncPass_) {
            ++it;
            continue;
        }
        watcher_.Unwatch(it->second.key);
        unavailable_.erase(it->second.key);
        byKey_.erase(it->second.key);
        pending_.erase(it->second.key);
        SetTickPoll(it->second, false);
        SetNextCheck(it->second, std::nullopt);
        Forget(it->second.doc);
        it = watches_.erase(it);
    }
    // Documents came or went: the next tick lists those it visits again.
    everyTickStale_ = true;
}

// A file that lost its events is tried again: a directory may have become a
// file again, a folder may be back. Past the watch limit, trying again waits
// until a watch is given back.
void CEventPolls::RetryUnavailable() {
    if (unavailable_.empty() || watcher_.WatchLimitReached()) return;
    const std::vector<Key> keys(unavailable_.begin(), unavailable_.end());
    for (const Key key : keys) {
        const auto it = byKey_.find(key);
        if (it != byKey_.end()) StartWatch(*it->second->doc, *it->second);
    }
}

void CEventPolls::Forget(CTarvikDoc* doc) {
    std::erase(lastPolled_, doc);
    std::erase(ticked_, doc);
    std::erase(titleDue_, doc);
}

void CEventPolls::SetState(Watch& watch, platform::WatchState state) {
    const auto unavailable = platform::WatchState::Unavailable;
    if ((watch.state == unavailable) != (state == unavailable)) {
        // The tick polls the document at every tick, or leaves it to its events.
        everyTickStale_ = true;
        if (state == unavailable) {
            unavailable_.insert(watch.key);
        } else {
            unavailable_.erase(watch.key);
        }
    }
    watch.state = state;
}

// Safety checks fall on a coarse grid, so that the checks of many quiet
// documents share a few ticks and the ticks between have nothing to do.
CEventPolls::Clock::time_point CEventPolls::CheckAfter(Clock::time_point now) {
    const auto at = (now + kSafetyCheck).time_since_epoch();
    const auto grain = std::chrono::duration_cast<Clock::duration>(kCheckGrain);
    return Clock::time_point((at + grain - Clock::duration(1)) / grain * grain);
}

void CEventPolls::SetTickPoll(Watch& watch, bool tickPoll) {
    watch.tickPoll = tickPoll;
    if (tickPoll) {
        tickPolls_.insert(watch.key);
    } else {
        tickPolls_.erase(watch.key);
    }
}

void CEventPolls::SetNextCheck(Watch& watch, std::optional<Clock::time_point> at) {
    watch.nextCheck = at;
    if (!at) {
        watch.scheduled.reset();
        return;
    }
    if (watch.scheduled && *watch.scheduled <= *at) return;
    watch.scheduled = at;
    checks_.push({*at, watch.key});
}

void CEventPolls::SetPending(Watch& watch, bool pending) {
    watch.pending = pending;
    if (pending) {
        pending_.insert(watch.key);
    } else {
        pending_.erase(watch.key);
    }
}

void CEventPolls::PollIfDue(CTarvikDoc& doc, Watch& watch, Clock::time_point now,
                            const CPollBudget& budget) {
    if (!watch.pending) return;
    if (!doc.IsMonitoring()) {
        // The tick reads it after Start.
        SetPending(watch, false);
        SetTickPoll(watch, true);
        return;
    }
    if (watch.lastPoll && now < *watch.lastPoll + kMinGap) return;
    SetPending(watch, false);
    watch.lastPoll = now;
    SetNextCheck(watch, CheckAfter(now));
    const bool hadFile = doc.HasOpenFile();
    const std::uint64_t startMs = clock_.TickMs();
    doc.CheckFile(budget);
    lastPolled_.push_back(&doc);
    if (!watch.titleDue) {
        watch.titleDue = true;
        titleDue_.push_back(&doc);
    }
    // A poll that found the file truncated or replaced lets go of its handle,
    // the next one opens the file again and the one after reads it: they
    // follow without waiting for a tick. A file still missing waits for its
    // creation event.
    if (doc.HasOpenFile() != hadFile) SetPending(watch, true);
    // The rest of a backlog follows one gap after this poll ended.
    if (doc.HasBacklog()) {
        SetPending(watch, true);
        watch.lastPoll = now + std::chrono::milliseconds(clock_.TickMs() - startMs);
    }
}

void CEventPolls::FollowUpBacklogs(const DocumentList& documents, Clock::time_point now) {
    for (const auto& doc : documents) {
        if (!doc->HasBacklog()) continue;
        const auto it = watches_.find(doc.get());
        if (it == watches_.end()) continue;
        SetPending(it->second, true);
        it->second.lastPoll = now;
    }
}

void CEventPolls::ListEveryTick(const DocumentList& documents) {
    everyTick_.clear();
    streamDocuments_ = 0;
    for (const auto& doc : documents) {
        if (doc->IsStreamDocument()) ++streamDocuments_;
        const auto it = watches_.find(doc.get());
        if (it == watches_.end() || it->second.state == platform::WatchState::Unavailable) {
            everyTick_.push_back({doc.get(), nullptr});
        } else if (doc->StopNoticeEnabled()) {
            everyTick_.push_back({doc.get(), &it->second});
        }
    }
    everyTickOf_ = documents.size();
    everyTickStale_ = false;
}

std::vector<CEventPolls::Key> CEventPolls::DueAtTick(Clock::time_point now) {
    std::vector<Key> due(tickPolls_.begin(), tickPolls_.end());
    due.insert(due.end(), pending_.begin(), pending_.end());
    while (!checks_.empty() && checks_.top().first <= now) {
        const auto [at, key] = checks_.top();
        checks_.pop();
        const auto it = byKey_.find(key);
        if (it == byKey_.end()) continue;
        Watch& watch = *it->second;
        // An entry the watch no longer has, or one whose check was put later.
        if (watch.scheduled != at) continue;
        watch.scheduled.reset();
        if (watch.nextCheck && *watch.nextCheck > now) {
            SetNextCheck(watch, watch.nextCheck);
        } else if (watch.nextCheck) {
            due.push_back(key);
        }
    }
    std::sort(due.begin(), due.end());
    due.erase(std::unique(due.begin(), due.end()), due.end());
    return due;
}

void CEventPolls::TickPoll(Watch& watch, Clock::time_point now, const CPollBudget& budget) {
    CTarvikDoc& doc = *watch.doc;
    const bool checkDue = watch.nextCheck && *watch.nextCheck <= now;
    if (!doc.IsMonitoring()) {
        // A paused document is not even measured; a check that fell due
        // meanwhile is made by the first tick after Start. A waiting event
        // poll hands it to that tick too (PollIfDue).
        if (checkDue) {
            SetNextCheck(watch, std::nullopt);
            SetTickPoll(watch, true);
        }
        return;
    }
    // The tick's poll does what a waiting event poll would.
    SetTickPoll(watch, false);
    SetPending(watch, false);
    SetNextCheck(watch, CheckAfter(now));
    watch.tickPass = tickPass_;
    const bool hadFile = doc.HasOpenFile();
    doc.CheckFile(budget);
    ticked_.push_back(&doc);
    // As after an event poll: a file let go of (truncated, replaced) is
    // opened and read by polls one gap apart, since the events that told of
    // the new file may have been taken already; so is the rest of a backlog.
    if (doc.HasOpenFile() != hadFile || doc.HasBacklog()) {
        SetPending(watch, true);
        watch.lastPoll = now;
    }
}

void CEventPolls::OnTick(const DocumentList& documents, Clock::time_point now,
                         const CPollBudget& budget) {
    if (everyTickStale_ || documents.size() != everyTickOf_) ListEveryTick(documents);
    ++tickPass_;
    ticked_.clear();
    for (const EveryTick& entry : everyTick_) {
        if (entry.watch || !entry.doc->IsMonitoring()) continue;
        if (entry.doc->IsStreamDocument()) {
            entry.doc->TakeStreamText(budget);
        } else {
            entry.doc->CheckFile(budget);
        }
        ticked_.push_back(entry.doc);
    }
    for (const Key key : DueAtTick(now)) {
        const auto it = byKey_.find(key);
        if (it == byKey_.end()) continue;
        Watch& watch = *it->second;
        if (watch.state == platform::WatchState::Unavailable) {
            // Polled above at every tick; a waiting event poll still runs.
            SetTickPoll(watch, false);
            SetNextCheck(watch, std::nullopt);
            continue;
        }
        TickPoll(watch, now, budget);
    }
    // Its events follow the document: only its stop-updating check runs, as
    // for a poll that found nothing new.
    for (const EveryTick& entry : everyTick_) {
        if (entry.watch && entry.watch->tickPass != tickPass_ && entry.doc->IsMonitoring()) {
            entry.doc->CheckStopUpdating();
        }
    }
    // What the polls since the last tick read shows in the title once.
    for (CTarvikDoc* doc : ticked_) doc->TellTitleChange();
    for (CTarvikDoc* doc : titleDue_) {
        doc->TellTitleChange();
        watches_.at(doc).titleDue = false;
    }
    titleDue_.clear();
}

void CEventPolls::PollPending(Clock::time_point now, const CPollBudget& budget) {
    lastPolled_.clear();
    // A poll may make its watch pending again; that waits for the next call.
    const std::vector<platform::CFileEventWatcher::Key> keys(pending_.begin(), pending_.end());
    for (const auto key : keys) {
        const auto it = byKey_.find(key);
        if (it != byKey_.end()) PollIfDue(*it->second->doc, *it->second, now, budget);
    }
}

void CEventPolls::TakeEvents() {
    for (const auto key : watcher_.ReadChanged()) {
        const auto it = byKey_.find(key);
        if (it == byKey_.end()) continue;
        Watch& watch = *it->second;
        SetPending(watch, true);
        const platform::WatchState state = watcher_.StateOf(watch.key);
        if (state == platform::WatchState::Unavailable && watch.state != state) {
            StartWatch(*watch.doc, watch);
        } else {
            SetState(watch, state);
        }
    }
}

void CEventPolls::OnEvents(const DocumentList& /*documents*/, Clock::time_point now) {
    TakeEvents();
    PollPending(now, CPollBudget(clock_, CPollBudget::kTickMs));
}

void CEventPolls::RunDue(const DocumentList& /*documents*/, Clock::time_point now) {
    PollPending(now, CPollBudget(clock_, CPollBudget::kTickMs));
}

std::optional<CEventPolls::Clock::time_point> CEventPolls::NextTickWork(
    const DocumentList& documents) const {
    if (everyTickStale_ || documents.size() != everyTickOf_ || !everyTick_.empty() ||
        !tickPolls_.empty() || !pending_.empty()) {
        return Clock::time_point::min();
    }
    if (checks_.empty()) return std::nullopt;
    return checks_.top().first;
}

std::optional<CEventPolls::Clock::time_point> CEventPolls::NextDue() const {
    std::optional<Clock::time_point> next;
    for (const auto key : pending_) {
        const Watch& watch = *byKey_.at(key);
        const Clock::time_point due =
            watch.lastPoll ? *watch.lastPoll + kMinGap : Clock::time_point{};
        if (!next || due < *next) next = due;
    }
    return next;
}

bool CEventPolls::IsWatched(const CTarvikDoc& doc) const {
    const auto it = watches_.find(&doc);
    return it != watches_.end() &&
           watcher_.StateOf(it->second.key) != platform::WatchState::Unavailable;
}

}  // namespace core
