#pragma once
// Change events of followed files through inotify. Each watched file gets one
// watch on the file itself (its writes, its removal or renaming) and one on its
// folder (a file of that name created or moved in after rotation). Callers
// know a watched file by a key of their own; reading the events gives the keys
// whose file may have changed. The descriptor is non-blocking, for a caller's
// own poll loop or socket notifier.

#include <cstdint>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform {

enum class WatchState {
    Watched,      // file and folder watched: changes come as events
    FileMissing,  // the folder is watched: the file's creation comes as an event
    Unavailable,  // no events for this file: a directory at its path, no folder, no watches
                  // left, a network file system (whose writes from elsewhere bring none)
};

class CFileEventWatcher {
public:
    using Key = std::uint64_t;

    CFileEventWatcher();
    ~CFileEventWatcher();
    CFileEventWatcher(const CFileEventWatcher&) = delete;
    CFileEventWatcher& operator=(const CFileEventWatcher&) = delete;

    // -1 when inotify could not be set up: every file is then Unavailable.
    int Descriptor() const { return fd_; }

    // Watches the file at the absolute path for the key, replacing what the
    // key watched before. Watching again re-adds the file's watch (a new file
    // of that name after rotation) and keeps the folder's.
    WatchState Watch(Key key, const std::string& path);
    void Unwatch(Key key);
    // The state after the events read so far.
    WatchState StateOf(Key key) const;
    std::size_t WatchCount() const { return watchKeys_.size(); }
    // The user's inotify watch limit stopped the last watch that was tried;
    // cleared when a watch is given back.
    bool WatchLimitReached() const { return limitReached_; }

    // Reads every pending event without blocking: the keys whose file was
    // written, removed, renamed or created again, each once, in key order. A
    // created file is watched again before this returns.
    std::vector<Key> ReadChanged();

private:
    struct Entry {
        std::string path;
        std::string folder;
        std::string name;
        int fileWd = -1;
        int folderWd = -1;
        // On a network file system: never watched.
        bool remote = false;
    };

    int AddWatch(const std::string& path, std::uint32_t mask, Key key);
    void DropWatch(int wd, Key key);
    void WatchFile(Key key, Entry& entry);
    void OnEvent(int wd, std::uint32_t mask, const std::string& name, std::vector<Key>& changed);

    int fd_ = -1;
    bool limitReached_ = false;
    // Looked up at every event: hashed, not a tree of cache misses.
    std::unordered_map<Key, Entry> entries_;
    std::unordered_map<int, std::set<Key>> watchKeys_;
};

}  // namespace platform
