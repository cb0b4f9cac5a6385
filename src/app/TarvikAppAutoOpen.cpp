// Opening new files that appear in watched folders: the watcher's reports
// arrive here on the user-interface thread.

#include <algorithm>
#include <chrono>
#include <memory>

#include "app/TarvikApp.h"
#include "discovery/PathIdentity.h"
#include "settings/OptionsStore.h"

namespace app {

void CTarvikApp::StartAutoOpenWatcher(bool startUp) {
    // The replaced watcher stops without waiting for a scan in progress;
    // what it posted already is ignored, as its identifier no longer matches.
    autoOpenWatcher_.reset();
    platform::IUiQueue* queue = docContext_.uiQueue;
    if (autoOpenPatterns_.empty() || !queue) return;
    discovery::AutoOpenJob job;
    job.patterns = autoOpenPatterns_;
    job.interval = std::chrono::milliseconds(std::max<std::uint32_t>(1, options_.AOFCheckInterval) *
                                             std::chrono::milliseconds::rep{1000});
    job.openExisting = startUp && options_.AOFOpenExistingFilesOnStartUp;
    const std::uint64_t id = ++autoOpenWatcherId_;
    std::weak_ptr<CTarvikApp*> alive = alive_;
    autoOpenWatcher_ = std::make_unique<discovery::CAutoOpenWatcher>(
        std::move(job), [queue, alive, id](std::u16string path) {
            queue->Post([alive, id, path = std::move(path)] {
                if (const auto app = alive.lock()) (*app)->OnAutoOpenFile(id, path);
            });
        });
}

void CTarvikApp::OnAutoOpenFile(std::uint64_t watcherId, const std::u16string& path) {
    if (!autoOpenWatcher_ || watcherId != autoOpenWatcherId_) return;
    const std::u16string normal = discovery::NormalPath(path);
    core::CTarvikDoc* open = nullptr;
    for (const auto& doc : documents_) {
        if (doc->GetPathName() == normal) open = doc.get();
    }
    if (open) {
        if (docContext_.host) docContext_.host->ActivateDocumentFrame(*open);
    } else {
        OpenDocument(normal);
    }
    if (!options_.AOFEnableMaxOpenFileNum) return;
    const std::size_t bound = static_cast<std::size_t>(std::max(1, options_.AOFMaxOpenFiles));
    while (documents_.size() > bound) CloseDocument(documents_.front().get());
}

void CTarvikApp::ApplyAutoOpen(std::vector<settings::AutoOpenPattern> patterns,
                               std::uint32_t checkInterval, bool limitOpenFiles,
                               std::int32_t maxOpenFiles, bool openExistingOnStartUp) {
    autoOpenPatterns_ = std::move(patterns);
    options_.AOFCheckInterval = std::max<std::uint32_t>(1, checkInterval);
    options_.AOFEnableMaxOpenFileNum = limitOpenFiles;
    options_.AOFMaxOpenFiles = std::max(1, maxOpenFiles);
    options_.AOFOpenExistingFilesOnStartUp = openExistingOnStartUp;
    SaveOptions(settings::option_group::kAutoOpen, false, nullptr);
    settings::AutoOpenPatternStore::Save(autoOpenPatterns_);
    StartAutoOpenWatcher(false);
}

}  // namespace app
