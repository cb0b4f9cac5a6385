#include "discovery/AutoOpenWatcher.h"

#include <filesystem>
#include <system_error>

#include "discovery/WildcardMatch.h"
#include "platform/CodePage.h"

namespace discovery {

std::u16string PathInFolder(std::u16string_view folder, std::u16string_view name) {
    std::u16string path(folder);
    if (!path.empty() && path.back() != u'/') path += u'/';
    path += name;
    return path;
}

CAutoOpenWatcher::CAutoOpenWatcher(AutoOpenJob job, Report report)
    : job_(std::move(job)), report_(std::move(report)), seen_(job_.patterns.size()) {
    Scan(job_.openExisting);
    thread_ = std::thread([this] { Run(); });
}

CAutoOpenWatcher::~CAutoOpenWatcher() {
    {
        std::lock_guard lock(mutex_);
        stop_ = true;
    }
    wake_.notify_all();
    if (thread_.joinable()) thread_.join();
}

void CAutoOpenWatcher::Run() {
    for (;;) {
        {
            std::unique_lock lock(mutex_);
            if (wake_.wait_for(lock, job_.interval, [this] { return stop_; })) return;
        }
        Scan(true);
    }
}

void CAutoOpenWatcher::Scan(bool report) {
    namespace fs = std::filesystem;
    for (std::size_t i = 0; i < job_.patterns.size(); ++i) {
        const settings::AutoOpenPattern& pattern = job_.patterns[i];
        std::error_code error;
        fs::directory_iterator entries(platform::Utf16ToUtf8(pattern.folder), error);
        for (const fs::directory_iterator end; !error && entries != end; entries.increment(error)) {
            std::error_code typeError;
            // Only files a document can follow: never folders, pipes or sockets.
            if (!entries->is_regular_file(typeError)) continue;
            const std::u16string name = platform::Utf8ToUtf16(entries->path().filename().string());
            if (!MatchesWildcard(name, pattern.fileNamePattern)) continue;
            std::u16string path = PathInFolder(pattern.folder, name);
            if (!seen_[i].insert(path).second) continue;
            if (report) report_(std::move(path));
        }
    }
}

}  // namespace discovery
