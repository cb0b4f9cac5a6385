#pragma once
// The worker that watches folders for new files. At its start it takes a
// snapshot of what already matches each pattern; from then on it scans every
// interval and reports each matching file whose full path this watcher has
// not seen before. Every pattern keeps its own set of seen paths, never
// emptied: a file deleted and created again under its name is not reported
// a second time, and a file matched by two patterns is reported twice.
// Only regular files match, never folders. A folder that cannot be read
// yields nothing at that scan and is tried again at the next.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_set>
#include <vector>

#include "settings/AutoOpenPatternStore.h"

namespace discovery {

struct AutoOpenJob {
    std::vector<settings::AutoOpenPattern> patterns;
    std::chrono::milliseconds interval{1000};
    // Report what already matches at the start as well.
    bool openExisting = false;
};

class CAutoOpenWatcher {
public:
    // Called on the watcher thread (and, for the snapshot, on the starting
    // thread) with the full path of a new file; it must only hand the path
    // over, e.g. post it to the user-interface thread.
    using Report = std::function<void(std::u16string path)>;

    // Takes the snapshot, then starts the thread.
    CAutoOpenWatcher(AutoOpenJob job, Report report);
    // Stops the thread and waits for it; a scan in progress finishes first,
    // a pause between scans ends at once.
    ~CAutoOpenWatcher();
    CAutoOpenWatcher(const CAutoOpenWatcher&) = delete;
    CAutoOpenWatcher& operator=(const CAutoOpenWatcher&) = delete;

private:
    void Run();
    void Scan(bool report);

    AutoOpenJob job_;
    Report report_;
    std::vector<std::unordered_set<std::u16string>> seen_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool stop_ = false;
    std::thread thread_;
};

// The full path of name in folder, with one separator between them.
std::u16string PathInFolder(std::u16string_view folder, std::u16string_view name);

}  // namespace discovery
