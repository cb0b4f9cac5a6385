#pragma once
// The worker that watches folders for new files. As it starts, on its own
// thread, it takes a snapshot of what already matches each pattern; from
// then on it scans every interval and reports each matching file whose full
// path this watcher has not seen before. Every pattern keeps its own set of
// seen paths, never emptied: a file deleted and created again under its name
// is not reported a second time, and a file matched by two patterns is
// reported twice. Only regular files match, never folders. A folder that
// cannot be read yields nothing at that scan and is tried again at the next.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "settings/AutoOpenPatternStore.h"

namespace discovery {

// The names of the regular files in a folder; none when it cannot be read.
// A folder on a stalled network mount may keep it waiting for a long time.
using ListFolderFiles = std::function<std::vector<std::u16string>(const std::u16string& folder)>;

// The file system's own listing.
std::vector<std::u16string> ListRegularFiles(const std::u16string& folder);

struct AutoOpenJob {
    std::vector<settings::AutoOpenPattern> patterns;
    std::chrono::milliseconds interval{1000};
    // Report what already matches at the start as well.
    bool openExisting = false;
    // How folders are listed; none means ListRegularFiles.
    ListFolderFiles listFolder;
};

class CAutoOpenWatcher {
public:
    static constexpr std::chrono::milliseconds kSnapshotWait{100};

    // Called on the watcher thread with the full path of a new file; it must
    // only hand the path over, e.g. post it to the user-interface thread.
    using Report = std::function<void(std::u16string path)>;

    // Starts the thread, which takes the snapshot, and gives the snapshot
    // kSnapshotWait to be done: folders that answer at once are all in it
    // when this returns, a folder that stalls holds the caller no longer.
    CAutoOpenWatcher(AutoOpenJob job, Report report);
    // Stops the watcher without waiting for a scan in progress: the thread
    // ends on its own when the scan returns, and reports nothing more once
    // this has returned. A pause between scans ends at once.
    ~CAutoOpenWatcher();
    CAutoOpenWatcher(const CAutoOpenWatcher&) = delete;
    CAutoOpenWatcher& operator=(const CAutoOpenWatcher&) = delete;

private:
    struct State;
    std::shared_ptr<State> state_;
};

// The full path of name in folder, with one separator between them.
std::u16string PathInFolder(std::u16string_view folder, std::u16string_view name);

}  // namespace discovery
