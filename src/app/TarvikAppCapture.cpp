// The application's part in debug-output capture: at most one capture
// document, the "&OutputDebugString" menu's options, each saved as soon as
// it changes, and the copy file after the Options dialog.

#include <algorithm>

#include "app/TarvikApp.h"
#include "settings/OptionsStore.h"

namespace app {

core::CTarvikDoc* CTarvikApp::CaptureDocument() const {
    const auto it = std::find_if(documents_.begin(), documents_.end(),
                                 [](const auto& doc) { return doc->IsCaptureMode(); });
    return it == documents_.end() ? nullptr : it->get();
}

core::CTarvikDoc* CTarvikApp::StartCapture() {
    if (core::CTarvikDoc* doc = CaptureDocument()) {
        if (docContext_.host) docContext_.host->ActivateDocumentFrame(*doc);
        return doc;
    }
    auto doc = std::make_unique<core::CTarvikDoc>(docContext_);
    core::CTarvikDoc* capture = doc.get();
    if (docContext_.host) doc->SetView(docContext_.host->CreateDocumentFrame(*doc));
    // A failure of the channel closes the document after its message; the
    // session ends before the document, so this never runs for a closed one.
    if (!doc->InitCapture([this, capture] { CloseDocument(capture); })) {
        if (docContext_.host) docContext_.host->DestroyDocumentFrame(*doc);
        return nullptr;
    }
    documents_.push_back(std::move(doc));
    eventPolls_.Sync(documents_, options_.WatchFileEvents);
    return capture;
}

bool CTarvikApp::IsCapturePrefixOn(int commandId) const {
    switch (commandId) {
        case kCmdOdsSequenceNumber:
            return options_.ODSSequenceNumber;
        case kCmdOdsProcessId:
            return options_.ODSDispProcessID;
        case kCmdOdsTimestamp:
            return options_.ODSTimestamp;
        default:
            return false;
    }
}

void CTarvikApp::ToggleCapturePrefix(int commandId) {
    std::uint32_t group = 0;
    switch (commandId) {
        case kCmdOdsSequenceNumber:
            options_.ODSSequenceNumber = !options_.ODSSequenceNumber;
            group = settings::option_group::kOdsSequence;
            break;
        case kCmdOdsProcessId:
            options_.ODSDispProcessID = !options_.ODSDispProcessID;
            group = settings::option_group::kOdsProcessId;
            break;
        case kCmdOdsTimestamp:
            options_.ODSTimestamp = !options_.ODSTimestamp;
            group = settings::option_group::kOdsTimestamp;
            break;
        default:
            return;
    }
    SaveOptions(group, false, nullptr);
    if (core::CTarvikDoc* doc = CaptureDocument()) doc->ApplyCaptureOptions();
}

void CTarvikApp::SetCapturedProcesses(bool allProcesses, std::uint32_t processId) {
    options_.ODSAllProcess = allProcesses;
    std::uint32_t groups = settings::option_group::kOdsProcesses;
    if (!allProcesses) {
        options_.ODSProcessID = processId;
        groups |= settings::option_group::kOdsProcess;
    }
    SaveOptions(groups, false, nullptr);
    if (core::CTarvikDoc* doc = CaptureDocument()) doc->ApplyCaptureOptions();
}

void CTarvikApp::ReopenCaptureCopyFile() {
    if (core::CTarvikDoc* doc = CaptureDocument()) doc->ReopenCaptureCopyFile();
}

}  // namespace app
