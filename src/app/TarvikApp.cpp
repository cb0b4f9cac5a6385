#include "app/TarvikApp.h"

#include <algorithm>
#include <utility>

#include "app/BoundPairs.h"
#include "app/DocPositionStore.h"
#include "app/FileAliasStore.h"
#include "app/OptionsStore.h"
#include "app/WaitCursor.h"

namespace app {

CTarvikApp::CTarvikApp(const platform::IClock& clock)
    : docContext_{options_, inExFilters_, clock} {}

// The main frame may be gone already: documents close without it.
CTarvikApp::~CTarvikApp() {
    for (const auto& doc : documents_) doc->DeleteContents();
}

bool CTarvikApp::LoadOnlyOneInstance() {
    options_.OnlyOneInstance = ReadOnlyOneInstance();
    return options_.OnlyOneInstance;
}

bool CTarvikApp::LoadOptions(bool& maximized, WindowRect& rect) {
    LoadOptionValues(options_, maximized, rect);
    // The highlight filters load here.
    inExFilters_.Load();
    LoadFileExtEditors();
    // The stop-updating notification settings load here.
    // The auto-open folder and pattern pairs load here.
    return true;
}

bool CTarvikApp::SaveOptions(std::uint32_t mask, bool maximized, const WindowRect* rect) const {
    return SaveOptionGroups(options_, mask, maximized, rect);
}

bool CTarvikApp::LoadDocPosition(std::u16string_view pathName, bool isCapture,
                                 WindowRect& rect) const {
    return DocPositionStore::Load(DocPositionStore::ValueName(pathName, isCapture), rect);
}

bool CTarvikApp::SaveDocPosition(std::u16string_view pathName, bool isCapture,
                                 const WindowRect& rect) const {
    return DocPositionStore::Save(DocPositionStore::ValueName(pathName, isCapture), rect);
}

bool CTarvikApp::LoadAlias(std::u16string_view path, std::u16string& alias) const {
    return FileAliasStore::Load(path, alias);
}

bool CTarvikApp::SaveAlias(std::u16string_view path, std::u16string_view alias) const {
    return FileAliasStore::Save(path, alias);
}

std::vector<std::u16string> CTarvikApp::EnumFileSets() const {
    return FileSetStore::EnumNames();
}

std::vector<std::u16string> CTarvikApp::LoadFileSet(std::u16string_view name) const {
    return FileSetStore::Load(name);
}

bool CTarvikApp::SaveFileSets(const std::vector<FileSet>& sets) const {
    return FileSetStore::SaveAll(sets);
}

void CTarvikApp::LoadFileExtEditors() {
    fileExtEditors_ = FileExtEditorStore::Load();
}

bool CTarvikApp::SaveFileExtEditors() const {
    return FileExtEditorStore::Save(fileExtEditors_);
}

void CTarvikApp::SetFileExtEditors(std::vector<FileExtEditor> editors) {
    fileExtEditors_ = std::move(editors);
}

void CTarvikApp::ParseBoundPairs(std::u16string_view text) {
    BoundPairs pairs = app::ParseBoundPairs(text);
    options_.LeftBounds = std::move(pairs.left);
    options_.RightBounds = std::move(pairs.right);
}

void CTarvikApp::ApplyInExFilters(std::vector<filters::InExFilter> include,
                                  std::vector<filters::InExFilter> exclude) {
    inExFilters_.Replace(std::move(include), std::move(exclude));
    inExFilters_.Save();
    SaveOptions(option_group::kInExFilters, false, nullptr);
    if (options_.ReloadAllDocsInExclude) ReloadAllDocuments();
}

core::CTarvikDoc* CTarvikApp::OpenDocument(std::u16string_view path) {
    auto doc = std::make_unique<core::CTarvikDoc>(docContext_);
    if (docContext_.host) doc->SetView(docContext_.host->CreateDocumentFrame(*doc));
    if (!doc->OnOpenDocument(path)) {
        if (docContext_.host) docContext_.host->DestroyDocumentFrame(*doc);
        return nullptr;
    }
    documents_.push_back(std::move(doc));
    return documents_.back().get();
}

void CTarvikApp::CloseDocument(core::CTarvikDoc* doc) {
    const auto it = std::find_if(documents_.begin(), documents_.end(),
                                 [doc](const auto& owned) { return owned.get() == doc; });
    if (it == documents_.end()) return;
    std::unique_ptr<core::CTarvikDoc> closing = std::move(*it);
    documents_.erase(it);
    closing->DeleteContents();
    if (docContext_.host) {
        docContext_.host->RemoveTab(*closing);
        docContext_.host->DestroyDocumentFrame(*closing);
    }
}

template <typename Operation>
void CTarvikApp::ForEachDocumentArmed(Operation operation) {
    CWaitCursor wait(docContext_.ui);
    for (const auto& doc : documents_) {
        operation(*doc);
        // The red line is armed here by monitoring.
    }
    if (docContext_.host) docContext_.host->StopAllTabFlashing();
}

void CTarvikApp::ReloadAllDocuments() {
    ForEachDocumentArmed([](core::CTarvikDoc& doc) { doc.Reload(true); });
}

void CTarvikApp::ClearAllDocuments() {
    ForEachDocumentArmed([](core::CTarvikDoc& doc) { doc.ClearDisplay(); });
}

void CTarvikApp::ToggleInExFilters() {
    options_.EnableInExFilters = !options_.EnableInExFilters;
    SaveOptions(option_group::kInExFilters, false, nullptr);
    if (options_.ReloadAllDocsInExclude) ReloadAllDocuments();
}

bool CTarvikApp::IsCommandEnabled(int commandId) const {
    switch (commandId) {
        case kCmdToggleInExFilters:
            return true;
        case kCmdClearAllWindows:
        case kCmdReloadAllDocuments:
            return !documents_.empty();
        default:
            return false;
    }
}

bool CTarvikApp::OnCommand(int commandId) {
    if (!IsCommandEnabled(commandId)) return false;
    switch (commandId) {
        case kCmdToggleInExFilters:
            ToggleInExFilters();
            return true;
        case kCmdClearAllWindows:
            ClearAllDocuments();
            return true;
        case kCmdReloadAllDocuments:
            ReloadAllDocuments();
            return true;
        default:
            return false;
    }
}

}  // namespace app
