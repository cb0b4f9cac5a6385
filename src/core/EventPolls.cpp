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
    watch.tickPoll = true;
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
    // Nothing to do while the documents, the option and every watch are as
    // the last call left them (the application calls this at every tick).
    if (enabled == syncedEnabled_ && documents.size() == syncedDocuments_ && unavailable_ == 0) {
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
                ++unavailable_;  // until StartWatch says otherwise
                watch.doc = doc.get();
                watch.key = nextKey_++;
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
        if (it->second.state == platform::WatchState::Unavailable) --unavailable_;
        byKey_.erase(it->second.key);
        pending_.erase(it->second.key);
        std::erase(lastPolled_, it->second.doc);
        it = watches_.erase(it);
    }
}

void CEventPolls::SetState(Watch& watch, platform::WatchState state) {
    const auto unavailable = platform::WatchState::Unavailable;
    if (watch.state == unavailable && state != unavailable) --unavailable_;
    if (watch.state != unavailable && state == unavailable) ++unavailable_;
    watch.state = state;
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
        watch.tickPoll = true;
        return;
    }
    if (watch.lastPoll && now < *watch.lastPoll + kMinGap) return;
    SetPending(watch, false);
    watch.lastPoll = now;
    watch.nextCheck = now + kSafetyCheck;
    const bool hadFile = doc.HasOpenFile();
    const std::uint64_t startMs = clock_.TickMs();
    doc.CheckFile(budget);
    lastPolled_.push_back(&doc);
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

bool CEventPolls::LeftToEvents(const CTarvikDoc& doc, Clock::time_point now) {
    const auto it = watches_.find(&doc);
    if (it == watches_.end()) return false;
    Watch& watch = it->second;
    if (watch.state == platform::WatchState::Unavailable) return false;
    if (!watch.nextCheck) {
        // Documents opened together get their safety checks at different ticks.
        watch.nextCheck = now + kSafetyCheck * static_cast<int>(watch.key % 32) / 32;
    }
    if (!watch.tickPoll && !watch.pending && now < *watch.nextCheck) return true;
    // The tick's poll does what a waiting event poll would.
    watch.tickPoll = false;
    SetPending(watch, false);
    watch.nextCheck = now + kSafetyCheck;
    return false;
}

void CEventPolls::OnTick(const DocumentList& documents, Clock::time_point now,
                         const CPollBudget& budget) {
    PollDocuments(documents, budget,
                  [this, now](const CTarvikDoc& doc) { return LeftToEvents(doc, now); });
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
