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
    watch.state = watcher_.Watch(watch.key, platform::Utf16ToUtf8(watch.path));
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
    std::set<const CTarvikDoc*> open;
    if (enabled && Descriptor() >= 0) {
        for (const auto& doc : documents) {
            if (doc->IsCaptureMode()) continue;
            open.insert(doc.get());
            auto [it, added] = watches_.try_emplace(doc.get());
            Watch& watch = it->second;
            if (added) watch.key = nextKey_++;
            // A file that lost its events is tried again: a directory may
            // have become a file again, a folder may be back.
            // Past the watch limit, trying again waits until a watch is given back.
            if (added || watch.path != doc->GetPathName() ||
                (!watcher_.WatchLimitReached() &&
                 watcher_.StateOf(watch.key) == platform::WatchState::Unavailable)) {
                StartWatch(*doc, watch);
            }
        }
    }
    for (auto it = watches_.begin(); it != watches_.end();) {
        if (open.count(it->first) != 0) {
            ++it;
            continue;
        }
        watcher_.Unwatch(it->second.key);
        it = watches_.erase(it);
    }
}

void CEventPolls::PollIfDue(CTarvikDoc& doc, Watch& watch, Clock::time_point now,
                            const CPollBudget& budget) {
    if (!watch.pending) return;
    if (!doc.IsMonitoring()) {
        watch.pending = false;
        return;
    }
    if (watch.lastPoll && now < *watch.lastPoll + kMinGap) return;
    watch.pending = false;
    watch.lastPoll = now;
    const bool hadFile = doc.HasOpenFile();
    const std::uint64_t startMs = clock_.TickMs();
    doc.CheckFile(budget);
    // A poll that found the file truncated or replaced lets go of its handle,
    // the next one opens the file again and the one after reads it: they
    // follow without waiting for a tick. A file still missing waits for its
    // creation event.
    if (doc.HasOpenFile() != hadFile) watch.pending = true;
    // The rest of a backlog follows one gap after this poll ended.
    if (doc.HasBacklog()) {
        watch.pending = true;
        watch.lastPoll = now + std::chrono::milliseconds(clock_.TickMs() - startMs);
    }
}

void CEventPolls::FollowUpBacklogs(const DocumentList& documents, Clock::time_point now) {
    for (const auto& doc : documents) {
        if (!doc->HasBacklog()) continue;
        const auto it = watches_.find(doc.get());
        if (it == watches_.end()) continue;
        it->second.pending = true;
        it->second.lastPoll = now;
    }
}

void CEventPolls::OnEvents(const DocumentList& documents, Clock::time_point now) {
    const std::vector<platform::CFileEventWatcher::Key> changed = watcher_.ReadChanged();
    const CPollBudget budget(clock_, CPollBudget::kTickMs);
    for (const auto& doc : documents) {
        const auto it = watches_.find(doc.get());
        if (it == watches_.end()) continue;
        Watch& watch = it->second;
        if (std::binary_search(changed.begin(), changed.end(), watch.key)) {
            watch.pending = true;
            const platform::WatchState state = watcher_.StateOf(watch.key);
            if (state == platform::WatchState::Unavailable && watch.state != state) {
                StartWatch(*doc, watch);
            }
            watch.state = state;
        }
        PollIfDue(*doc, watch, now, budget);
    }
}

void CEventPolls::RunDue(const DocumentList& documents, Clock::time_point now) {
    const CPollBudget budget(clock_, CPollBudget::kTickMs);
    for (const auto& doc : documents) {
        const auto it = watches_.find(doc.get());
        if (it != watches_.end()) PollIfDue(*doc, it->second, now, budget);
    }
}

std::optional<CEventPolls::Clock::time_point> CEventPolls::NextDue() const {
    std::optional<Clock::time_point> next;
    for (const auto& [doc, watch] : watches_) {
        if (!watch.pending) continue;
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
