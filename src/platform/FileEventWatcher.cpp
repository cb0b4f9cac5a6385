#include "platform/FileEventWatcher.h"

#include <sys/inotify.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

namespace platform {

namespace {

// Writes, truncation, and the file losing its name (unlinked while a document
// holds it open shows as a changed link count, renamed as a move).
constexpr std::uint32_t kFileMask = IN_MODIFY | IN_ATTRIB | IN_DELETE_SELF | IN_MOVE_SELF;
// A file of the followed name appearing or going in the folder, and the
// folder itself going.
constexpr std::uint32_t kFolderMask = IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE |
                                      IN_DELETE_SELF | IN_MOVE_SELF | IN_ONLYDIR | IN_MASK_ADD;

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool IsMissing(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) != 0 && errno == ENOENT;
}

// File systems whose files are written on other machines too: their events
// tell only of the writes made here.
bool OnNetworkFileSystem(const std::string& folder) {
    struct statfs info {};
    if (::statfs(folder.c_str(), &info) != 0) return false;
    switch (static_cast<std::uint32_t>(info.f_type)) {
        case 0x6969u:      // NFS
        case 0x517Bu:      // SMB
        case 0xFF534D42u:  // CIFS
        case 0xFE534D42u:  // SMB2
        case 0x65735546u:  // FUSE (sshfs and the like)
        case 0x01021997u:  // 9P
        case 0x5346414Fu:  // AFS
        case 0x00C36400u:  // Ceph
        case 0x73757245u:  // Coda
        case 0x47504653u:  // GPFS
        case 0x0BD00BD0u:  // Lustre
            return true;
        default:
            return false;
    }
}

}  // namespace

CFileEventWatcher::CFileEventWatcher() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {}

CFileEventWatcher::~CFileEventWatcher() {
    if (fd_ >= 0) ::close(fd_);
}

int CFileEventWatcher::AddWatch(const std::string& path, std::uint32_t mask, Key key) {
    if (fd_ < 0) return -1;
    const int wd = ::inotify_add_watch(fd_, path.c_str(), mask);
    if (wd < 0) {
        if (errno == ENOSPC) limitReached_ = true;
        return wd;
    }
    watchKeys_[wd].insert(key);
    return wd;
}

// A watch shared by several keys (files in one folder) stays until its last key goes.
void CFileEventWatcher::DropWatch(int wd, Key key) {
    const auto it = watchKeys_.find(wd);
    if (it == watchKeys_.end()) return;
    it->second.erase(key);
    if (!it->second.empty()) return;
    watchKeys_.erase(it);
    ::inotify_rm_watch(fd_, wd);
    limitReached_ = false;
}

void CFileEventWatcher::WatchFile(Key key, Entry& entry) {
    // A directory at the path would be watched as happily as a file; it is
    // not a followed file, so it gets no watch.
    const int wd =
        IsDirectory(entry.path) ? -1 : AddWatch(entry.path, kFileMask | IN_MASK_ADD, key);
    if (entry.fileWd >= 0 && entry.fileWd != wd) DropWatch(entry.fileWd, key);
    entry.fileWd = wd;
}

WatchState CFileEventWatcher::Watch(Key key, const std::string& path) {
    auto it = entries_.find(key);
    if (it != entries_.end() && it->second.path != path) {
        Unwatch(key);
        it = entries_.end();
    }
    if (it == entries_.end()) {
        const std::filesystem::path full(path);
        Entry entry;
        entry.path = path;
        entry.folder = full.parent_path().string();
        entry.name = full.filename().string();
        entry.remote = OnNetworkFileSystem(entry.folder);
        it = entries_.emplace(key, std::move(entry)).first;
    }
    Entry& entry = it->second;
    // Writes from elsewhere bring no events: the timer follows such a file.
    if (entry.remote) return WatchState::Unavailable;
    // A removed folder does not always say so: its watch is dropped here.
    if (entry.folderWd >= 0 && IsMissing(entry.folder)) {
        DropWatch(entry.folderWd, key);
        entry.folderWd = -1;
    }
    if (entry.folderWd < 0) entry.folderWd = AddWatch(entry.folder, kFolderMask, key);
    WatchFile(key, entry);
    return StateOf(key);
}

void CFileEventWatcher::Unwatch(Key key) {
    const auto it = entries_.find(key);
    if (it == entries_.end()) return;
    if (it->second.fileWd >= 0) DropWatch(it->second.fileWd, key);
    if (it->second.folderWd >= 0) DropWatch(it->second.folderWd, key);
    entries_.erase(it);
}

WatchState CFileEventWatcher::StateOf(Key key) const {
    const auto it = entries_.find(key);
    if (it == entries_.end() || it->second.folderWd < 0) return WatchState::Unavailable;
    if (it->second.fileWd >= 0) return WatchState::Watched;
    // Missing is waited for through the folder; anything else (a directory at
    // the path, no watches left) is not coming back by events.
    if (IsMissing(it->second.path) && !IsMissing(it->second.folder)) {
        return WatchState::FileMissing;
    }
    return WatchState::Unavailable;
}

void CFileEventWatcher::OnEvent(int wd, std::uint32_t mask, const std::string& name,
                                std::vector<Key>& changed) {
    const auto found = watchKeys_.find(wd);
    if (found == watchKeys_.end()) return;
    // A write, by far the most frequent event, changes no watch: the keys
    // are taken as they are.
    if ((mask & ~static_cast<std::uint32_t>(IN_MODIFY)) == 0) {
        const std::size_t before = changed.size();
        bool allFiles = true;
        for (const Key key : found->second) {
            const auto it = entries_.find(key);
            if (it == entries_.end()) continue;
            allFiles = allFiles && it->second.fileWd == wd;
            changed.push_back(key);
        }
        if (allFiles) return;
        changed.resize(before);
    }
    // Watching again below changes the keys of this watch.
    const std::set<Key> keys = found->second;
    const bool watchGone = (mask & IN_IGNORED) != 0;
    if (watchGone) {
        watchKeys_.erase(found);
        limitReached_ = false;
    }
    for (const Key key : keys) {
        const auto it = entries_.find(key);
        if (it == entries_.end()) continue;
        Entry& entry = it->second;
        if (wd == entry.fileWd) {
            changed.push_back(key);
            if (watchGone) {
                entry.fileWd = -1;
            } else if (mask & (IN_MOVE_SELF | IN_DELETE_SELF | IN_ATTRIB)) {
                // The watch follows the old file, which may have lost its
                // name (unlinked while held open shows as a changed link
                // count); the name may already be a new file's.
                WatchFile(key, entry);
            }
        } else if (wd == entry.folderWd) {
            if (watchGone || (mask & (IN_DELETE_SELF | IN_MOVE_SELF))) {
                if (!watchGone) DropWatch(wd, key);
                entry.folderWd = -1;
                changed.push_back(key);
            } else if (name == entry.name) {
                // The name now names another file, or none.
                changed.push_back(key);
                WatchFile(key, entry);
            }
        }
    }
}

std::vector<CFileEventWatcher::Key> CFileEventWatcher::ReadChanged() {
    std::vector<Key> changed;
    if (fd_ < 0) return {};
    alignas(inotify_event) char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd_, buffer, sizeof buffer);
        if (got <= 0) break;
        for (ssize_t at = 0; at + static_cast<ssize_t>(sizeof(inotify_event)) <= got;) {
            inotify_event event{};
            std::memcpy(&event, buffer + at, sizeof event);
            const char* nameStart = buffer + at + sizeof event;
            const std::string name(nameStart, ::strnlen(nameStart, event.len));
            at += static_cast<ssize_t>(sizeof event + event.len);
            if (event.mask & IN_Q_OVERFLOW) {
                // Events were lost: every file may have changed.
                for (const auto& [key, entry] : entries_) changed.push_back(key);
                continue;
            }
            OnEvent(event.wd, event.mask, name, changed);
        }
        // A read that left room for the largest event took all there was:
        // asking again would only find nothing.
        if (static_cast<std::size_t>(got) + sizeof(inotify_event) + NAME_MAX + 1 <= sizeof buffer) {
            break;
        }
    }
    std::sort(changed.begin(), changed.end());
    changed.erase(std::unique(changed.begin(), changed.end()), changed.end());
    return changed;
}

}  // namespace platform
