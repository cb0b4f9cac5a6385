#include "discovery/AutoOpenWatcher.h"

#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <system_error>
#include <thread>
#include <unordered_set>

#include "discovery/WildcardMatch.h"
#include "platform/CodePage.h"

namespace discovery {

std::u16string PathInFolder(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!path.empty() && path.back() != u'/') path += u'/';
    path += name;
    return path;
}

std::vector<std::u16string> ListRegularFiles(const std::u16string& folder) {
    namespace fs = std::filesystem;
    std::vector<std::u16string> names;
    std::error_code error;
    fs::directory_iterator entries(platform::Utf16ToUtf8(folder), error);
    for (const fs::directory_iterator end; !error && entries != end; entries.increment(error)) {
        std::error_code typeError;
        // Only files a document can follow: never folders, pipes or sockets.
        if (!entries->is_regular_file(typeError)) continue;
        names.push_back(platform::Utf8ToUtf16(entries->path().filename().string()));
    }
    return names;
}

// Shared by the watcher and its thread, so that a thread still in a scan
// when its watcher goes keeps what it works on. Only the thread touches the
// job and the seen sets.
struct CAutoOpenWatcher::State {
    State(AutoOpenJob j, Report r)
        : job(std::move(j)), report(std::move(r)), seen(job.patterns.size()) {
        if (!job.listFolder) job.listFolder = ListRegularFiles;
    }

    void Run() {
        Scan(job.openExisting);
        {
            std::lock_guard lock(mutex);
            snapshotTaken = true;
        }
        wake.notify_all();
        for (;;) {
            {
                std::unique_lock lock(mutex);
                if (wake.wait_for(lock, job.interval, [this] { return stop; })) return;
            }
            Scan(true);
        }
    }

    void Scan(bool reportNew) {
        for (std::size_t i = 0; i < job.patterns.size(); ++i) {
            const settings::AutoOpenPattern& pattern = job.patterns[i];
            for (const std::u16string& name : job.listFolder(pattern.folder)) {
                if (Stopped()) return;
                if (!MatchesWildcard(name, pattern.fileNamePattern)) continue;
                std::u16string path = PathInFolder(pattern.folder, name);
                if (!seen[i].insert(path).second || !reportNew) continue;
                // Under the lock, so that no report is on its way once the
                // watcher has been stopped: what report reaches may be gone.
                std::lock_guard lock(mutex);
                if (stop) return;
                report(std::move(path));
            }
        }
    }

    bool Stopped() {
        std::lock_guard lock(mutex);
        return stop;
    }

    AutoOpenJob job;
    Report report;
    std::vector<std::unordered_set<std::u16string>> seen;
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
    bool snapshotTaken = false;
};

CAutoOpenWatcher::CAutoOpenWatcher(AutoOpenJob job, Report report)
    : state_(std::make_shared<State>(std::move(job), std::move(report))) {
    try {
        std::thread([state = state_] { state->Run(); }).detach();
        std::unique_lock lock(state_->mutex);
        state_->wake.wait_for(lock, kSnapshotWait, [this] { return state_->snapshotTaken; });
    } catch (const std::system_error&) {
        // No thread to be had (the process is at its limit): nothing is
        // watched, as with a folder that cannot be read.
    }
}

CAutoOpenWatcher::~CAutoOpenWatcher() {
    {
        std::lock_guard lock(state_->mutex);
        state_->stop = true;
    }
    state_->wake.notify_all();
}

}  // namespace discovery
