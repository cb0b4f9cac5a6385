#include "app/TarvikApp.h"

#include <algorithm>
#include <utility>

#include "app/RefreshRate.h"
#include "core/Monitoring.h"
#include "core/RedLines.h"
#include "core/WaitCursor.h"
#include "discovery/PathIdentity.h"
#include "filters/HighlightFilterStore.h"
#include "filters/HighlightOptionValues.h"
#include "settings/BoundPairs.h"
#include "settings/DocPositionStore.h"
#include "settings/FileAliasStore.h"
#include "settings/OptionsStore.h"

namespace app {

CTarvikApp::CTarvikApp(const platform::IClock& clock, platform::IUiQueue* uiQueue)
    : docContext_{options_, inExFilters_, clock},
      mail_(uiQueue, clock),
      actionPorts_{.clock = clock,
                   .mail = &mail_,
                   .webHook = &mail_.WebHooks(),
                   .throttle = &actionThrottle_,
                   .followedFiles = [this] { return FollowedFiles(); }},
      eventPolls_({}, clock),
      streamWakes_(eventPolls_.Descriptor()) {
    docContext_.highlightFilters = &highlightFilters_;
    docContext_.uiQueue = uiQueue;
    docContext_.stopUpdating = &mail_.StopUpdating();
    docContext_.externalPrograms = &externalPrograms_;
}

// The main frame may be gone already: documents close without it.
CTarvikApp::~CTarvikApp() {
    autoOpenWatcher_.reset();
    alive_.reset();
    for (const auto& doc : documents_) {
        doc->DeleteContents();
        mail_.Records().ForgetDocument(doc.get());
    }
}

std::vector<filters::FollowedFile> CTarvikApp::FollowedFiles() const {
    std::vector<filters::FollowedFile> files;
    files.reserve(documents_.size());
    for (const auto& doc : documents_) {
        if (!doc->IsStreamDocument()) {
            files.push_back({doc->GetPathName(), doc->FollowedFile()});
        }
    }
    return files;
}

void CTarvikApp::EnableHighlightActions(filters::IPrinter* printer) {
    actionPorts_.printer = printer;
    docContext_.highlightActions = &actionPorts_;
}

bool CTarvikApp::LoadOnlyOneInstance() {
    options_.OnlyOneInstance = settings::ReadOnlyOneInstance();
    return options_.OnlyOneInstance;
}

bool CTarvikApp::LoadOptions(bool& maximized, settings::WindowRect& rect) {
    settings::LoadOptionValues(options_, maximized, rect);
    filters::LoadHighlightFilters(highlightFilters_);
    inExFilters_.Load();
    LoadFileExtEditors();
    mail_.StopUpdating().Load();
    autoOpenPatterns_ = settings::AutoOpenPatternStore::Load();
    return true;
}

bool CTarvikApp::SaveOptions(std::uint32_t mask, bool maximized,
                             const settings::WindowRect* rect) const {
    return settings::SaveOptionGroups(options_, mask, maximized, rect);
}

bool CTarvikApp::LoadDocPosition(std::u16string_view pathName, bool isCapture,
                                 settings::WindowRect& rect) const {
    return settings::DocPositionStore::LoadFor(pathName, isCapture, rect);
}

bool CTarvikApp::SaveDocPosition(std::u16string_view pathName, bool isCapture,
                                 const settings::WindowRect& rect) const {
    return settings::DocPositionStore::SaveFor(pathName, isCapture, rect);
}

bool CTarvikApp::LoadAlias(std::u16string_view path, std::u16string& alias) const {
    return settings::FileAliasStore::Load(path, alias);
}

bool CTarvikApp::SaveAlias(std::u16string_view path, std::u16string_view alias) const {
    return settings::FileAliasStore::Save(path, alias);
}

std::vector<std::u16string> CTarvikApp::EnumFileSets() const {
    return settings::FileSetStore::EnumNames();
}

std::vector<std::u16string> CTarvikApp::LoadFileSet(std::u16string_view name) const {
    return settings::FileSetStore::Load(name);
}

bool CTarvikApp::SaveFileSets(const std::vector<settings::FileSet>& sets) const {
    return settings::FileSetStore::SaveAll(sets);
}

void CTarvikApp::LoadFileExtEditors() {
    fileExtEditors_ = settings::FileExtEditorStore::Load();
}

bool CTarvikApp::SaveFileExtEditors() const {
    return settings::FileExtEditorStore::Save(fileExtEditors_);
}

void CTarvikApp::SetFileExtEditors(std::vector<settings::FileExtEditor> editors) {
    fileExtEditors_ = std::move(editors);
}

void CTarvikApp::ParseBoundPairs(std::u16string_view text) {
    settings::BoundPairs pairs = settings::ParseBoundPairs(text);
    options_.LeftBounds = std::move(pairs.left);
    options_.RightBounds = std::move(pairs.right);
}

void CTarvikApp::ApplyInExFilters(std::vector<filters::InExFilter> include,
                                  std::vector<filters::InExFilter> exclude) {
    inExFilters_.Replace(std::move(include), std::move(exclude));
    inExFilters_.Save();
    SaveOptions(settings::option_group::kInExFilters, false, nullptr);
    if (options_.ReloadAllDocsInExclude) ReloadAllDocuments();
}

filters::HighlightOptions CTarvikApp::HighlightOptions() const {
    return filters::HighlightOptionsOf(options_);
}

void CTarvikApp::ApplyHighlightFilters(std::vector<filters::HighlightFilterEdit> rows,
                                       const filters::HighlightOptions& edited,
                                       bool reloadDocuments) {
    filters::TakeOverHighlightFilters(
        highlightFilters_, std::move(rows),
        [this](std::u16string_view phrase) { mail_.Records().ReleaseRecordsOfPhrase(phrase); });
    filters::StoreHighlightOptions(options_,
                                   filters::TakeOverHighlightOptions(HighlightOptions(), edited));
    SaveOptions(settings::option_group::kHighlight, false, nullptr);
    filters::SaveHighlightFilters(highlightFilters_);
    if (reloadDocuments) {
        ReloadAllDocuments();
        return;
    }
    for (const auto& doc : documents_) {
        if (core::ILogView* view = doc->GetView()) view->Invalidate();
    }
}

void CTarvikApp::SetStopUpdatingWatch(bool on) {
    docContext_.stopUpdating = on ? &mail_.StopUpdating() : nullptr;
    for (const auto& doc : documents_) doc->UpdateStopNotice();
    eventPolls_.StopNoticesChanged();
}

void CTarvikApp::ApplyStopUpdating(settings::StopUpdatingSettings edited) {
    mail_.StopUpdating().Apply(std::move(edited));
    for (const auto& doc : documents_) doc->UpdateStopNotice();
    eventPolls_.StopNoticesChanged();
}

void CTarvikApp::OnRefreshTick() {
    FreeClosedDocuments();
    const auto now = core::CEventPolls::Clock::now();
    // Events not heard of yet are taken first: the tick reads what they concern.
    eventPolls_.TakeEvents();
    eventPolls_.OnTick(documents_, now,
                       core::CPollBudget(docContext_.clock, core::CPollBudget::kTickMs));
    lastPolled_ = eventPolls_.TickPolled();
    eventPolls_.Sync(documents_, options_.WatchFileEvents);
    // A stream document that was reloaded may wake by another descriptor.
    if (eventPolls_.AnyStreamDocument()) streamWakes_.Sync(documents_);
    actionThrottle_.ReportDropped();
}

void CTarvikApp::OnFileEvents() {
    const bool fileEvents =
        streamWakes_.TakeReady(core::CPollBudget(docContext_.clock, core::CPollBudget::kTickMs));
    lastPolled_ = streamWakes_.Woken();
    if (!fileEvents) return;
    eventPolls_.OnEvents(documents_, core::CEventPolls::Clock::now());
    const auto& polled = eventPolls_.LastPolled();
    lastPolled_.insert(lastPolled_.end(), polled.begin(), polled.end());
}

void CTarvikApp::RunDueEventPolls() {
    eventPolls_.RunDue(documents_, core::CEventPolls::Clock::now());
    lastPolled_ = eventPolls_.LastPolled();
    if (!streamWakes_.AnyBacklog()) return;
    streamWakes_.TakeBacklogs(core::CPollBudget(docContext_.clock, core::CPollBudget::kTickMs));
    const auto& taken = streamWakes_.Woken();
    lastPolled_.insert(lastPolled_.end(), taken.begin(), taken.end());
}

std::optional<std::chrono::milliseconds> CTarvikApp::NextEventPollDelay() const {
    auto due = eventPolls_.NextDue();
    if (streamWakes_.AnyBacklog()) {
        const auto soon = core::CEventPolls::Clock::now() + core::CEventPolls::kMinGap;
        due = due ? std::min(*due, soon) : soon;
    }
    if (!due) return std::nullopt;
    const auto wait =
        std::chrono::ceil<std::chrono::milliseconds>(*due - core::CEventPolls::Clock::now());
    return std::max(wait, std::chrono::milliseconds::zero());
}

std::optional<std::chrono::milliseconds> CTarvikApp::TickWorkIn() const {
    if (!closedInUse_.empty()) return std::chrono::milliseconds::zero();
    const auto at = eventPolls_.NextTickWork(documents_);
    if (!at) return std::nullopt;
    const auto now = core::CEventPolls::Clock::now();
    if (*at <= now) return std::chrono::milliseconds::zero();
    return std::chrono::ceil<std::chrono::milliseconds>(*at - now);
}

void CTarvikApp::SetMonitoringAll(bool on) {
    core::CWaitCursor wait(docContext_.ui);
    core::SetMonitoringAll(documents_, on);
}

RefreshRateResult CTarvikApp::SetRefreshRate(std::u16string_view text) {
    const std::optional<std::uint32_t> period = ParseRefreshRate(text);
    if (!period) {
        if (docContext_.ui)
            docContext_.ui->ShowMessage(kRefreshRateRefused, core::MessageIcon::Exclamation);
        return RefreshRateResult::Refused;
    }
    if (*period == options_.IntervalChkFile) return RefreshRateResult::Unchanged;
    options_.IntervalChkFile = *period;
    if (docContext_.host) docContext_.host->RestartRefreshTimer(*period);
    SaveOptions(settings::option_group::kRefreshRate, false, nullptr);
    return RefreshRateResult::Changed;
}

void CTarvikApp::OnDocumentFrameActivated(core::CTarvikDoc& doc, bool activated) {
    doc.SetRedLineArmed(!activated);
}

void CTarvikApp::OnApplicationActivated(bool active) {
    if (!docContext_.host) return;
    for (const auto& doc : documents_) {
        if (docContext_.host->IsActiveDocumentFrame(*doc)) doc->SetRedLineArmed(!active);
    }
}

void CTarvikApp::KeepNewestRedLinesInAll(int k) {
    for (const auto& doc : documents_) core::KeepNewestRedLines(doc->Buffer(), k);
}

void CTarvikApp::TidyRedLinesAfterOptionChange(bool drawRedLineBefore,
                                               bool removePreRedLineBefore) {
    if (drawRedLineBefore && !options_.DrawRedLine) {
        KeepNewestRedLinesInAll(0);
    } else if (!removePreRedLineBefore && options_.RemovePreRedLine && options_.DrawRedLine) {
        KeepNewestRedLinesInAll(1);
    }
}

core::CTarvikDoc* CTarvikApp::OpenDocument(std::u16string_view givenPath) {
    // A document is named by its absolute, normal path wherever it is kept,
    // or by its stream source's name.
    const std::u16string name = discovery::NormalDocumentName(givenPath);
    const bool stream = !name.empty() && name.front() != u'/';
    auto doc = std::make_unique<core::CTarvikDoc>(docContext_);
    if (docContext_.host) doc->SetView(docContext_.host->CreateDocumentFrame(*doc));
    if (!(stream ? doc->OnOpenStream(name) : doc->OnOpenDocument(name))) {
        if (docContext_.host) docContext_.host->DestroyDocumentFrame(*doc);
        return nullptr;
    }
    documents_.push_back(std::move(doc));
    eventPolls_.Sync(documents_, options_.WatchFileEvents);
    streamWakes_.Sync(documents_);
    return documents_.back().get();
}

void CTarvikApp::CloseDocument(core::CTarvikDoc* doc) {
    const auto it = std::find_if(documents_.begin(), documents_.end(),
                                 [doc](const auto& owned) { return owned.get() == doc; });
    if (it == documents_.end()) return;
    std::unique_ptr<core::CTarvikDoc> closing = std::move(*it);
    documents_.erase(it);
    std::erase(lastPolled_, closing.get());
    eventPolls_.Sync(documents_, options_.WatchFileEvents);
    streamWakes_.Sync(documents_);
    closing->DeleteContents();
    mail_.Records().ForgetDocument(closing.get());
    if (docContext_.host) {
        docContext_.host->RemoveTab(*closing);
        docContext_.host->DestroyDocumentFrame(*closing);
    }
    closing->SetView(nullptr);
    // A command of its own waits in a message box: it goes when that has returned.
    if (closing->IsInUse()) closedInUse_.push_back(std::move(closing));
}

void CTarvikApp::FreeClosedDocuments() {
    std::erase_if(closedInUse_, [](const auto& doc) { return !doc->IsInUse(); });
}

bool CTarvikApp::IsOpen(const core::CTarvikDoc* doc) const {
    return std::any_of(documents_.begin(), documents_.end(),
                       [doc](const auto& owned) { return owned.get() == doc; });
}

// An operation may show a message box, whose event loop may open or close
// documents meanwhile (a second start handing over its files): the walk goes
// over the documents open at its start that are still open.
template <typename Operation>
void CTarvikApp::ForEachDocumentArmed(Operation operation) {
    core::CWaitCursor wait(docContext_.ui);
    std::vector<core::CTarvikDoc*> walked;
    walked.reserve(documents_.size());
    for (const auto& doc : documents_) walked.push_back(doc.get());
    for (core::CTarvikDoc* doc : walked) {
        if (!IsOpen(doc)) continue;
        operation(*doc);
        if (IsOpen(doc)) doc->SetRedLineArmed(true);
    }
    FreeClosedDocuments();
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
    SaveOptions(settings::option_group::kInExFilters, false, nullptr);
    if (options_.ReloadAllDocsInExclude) ReloadAllDocuments();
}

bool CTarvikApp::IsCommandEnabled(int commandId) const {
    switch (commandId) {
        case kCmdToggleInExFilters:
            return true;
        case kCmdStartAll:
        case kCmdPauseAll:
        case kCmdCaptureOutput:
        case kCmdOdsSequenceNumber:
        case kCmdOdsProcessId:
        case kCmdOdsTimestamp:
            return true;
        case kCmdClearAllWindows:
        case kCmdReloadAllDocuments:
        case kCmdGoToEndOfAll:
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
        case kCmdStartAll:
        case kCmdPauseAll:
            SetMonitoringAll(commandId == kCmdStartAll);
            return true;
        case kCmdGoToEndOfAll:
            core::GoToEndOfAll(documents_);
            return true;
        case kCmdCaptureOutput:
            StartCapture();
            return true;
        case kCmdOdsSequenceNumber:
        case kCmdOdsProcessId:
        case kCmdOdsTimestamp:
            ToggleCapturePrefix(commandId);
            return true;
        default:
            return false;
    }
}

}  // namespace app
