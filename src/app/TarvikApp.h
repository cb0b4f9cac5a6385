#pragma once
// The application object: it owns the options and the settings kept with
// them for the whole run, the highlight and include/exclude filters and the
// list of open documents, and runs the commands that concern all documents. The logic
// lives in the stores and the documents; this class coordinates.

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/ExternalPrograms.h"
#include "core/DocContext.h"
#include "core/EventPolls.h"
#include "core/IDocumentHost.h"
#include "core/IUserInterface.h"
#include "core/StreamWakes.h"
#include "core/TarvikDoc.h"
#include "discovery/AutoOpenWatcher.h"
#include "filters/HighlightActions.h"
#include "filters/HighlightFilterTakeOver.h"
#include "filters/HighlightFilters.h"
#include "filters/HighlightOptions.h"
#include "filters/InExFilterList.h"
#include "mail/MailCenter.h"
#include "platform/IClock.h"
#include "platform/IUiQueue.h"
#include "settings/AutoOpenPatternStore.h"
#include "settings/FileExtEditorStore.h"
#include "settings/FileSetStore.h"
#include "settings/Options.h"
#include "settings/StopUpdatingSettings.h"
#include "settings/WindowRect.h"

namespace app {

// The application commands that act on every document.
enum AppCommandId : int {
    kCmdToggleInExFilters = 40042,   // Ctrl+Shift+I
    kCmdClearAllWindows = 40044,     // "Clear All Open &Windows\tCtrl+Shift+L"
    kCmdReloadAllDocuments = 40053,  // "Reload All Document&s\tCtrl+Shift+R"
    kCmdGoToEndOfAll = 40056,        // "Go to End of All\tCtrl+Alt+End"
    kCmdStartAll = 40077,            // "Start &All\tCtrl+Shift+S"
    kCmdPauseAll = 40078,            // "Pa&use All\tCtrl+Shift+P"
    kCmdCaptureOutput = 57600,       // "Capture Output&DebugString\tCtrl+D"
    kCmdOdsSequenceNumber = 32811,   // "&Sequence Number\tAlt+F5"
    kCmdOdsProcessId = 40018,        // "Process &ID\tAlt+F6"
    kCmdOdsTimestamp = 32812,        // "&Timestamp\tAlt+F7"
};

// What became of a refresh rate confirmed in its dialog.
enum class RefreshRateResult {
    // "Please enter a positive value." was shown; the dialog stays open.
    Refused,
    Unchanged,
    // Stored, saved, and the host restarts its timer.
    Changed,
};

class CTarvikApp {
public:
    // The queue carries the outcomes of e-mail jobs to the user-interface
    // thread; a headless program has none.
    explicit CTarvikApp(const platform::IClock& clock = platform::SystemClock::Instance(),
                        platform::IUiQueue* uiQueue = nullptr);
    ~CTarvikApp();
    CTarvikApp(const CTarvikApp&) = delete;
    CTarvikApp& operator=(const CTarvikApp&) = delete;

    settings::Options& GetOptions() { return options_; }
    const settings::Options& GetOptions() const { return options_; }

    // Start-up reads this alone, before anything else; it is kept in the options.
    bool LoadOnlyOneInstance();

    // Loads every option, then the settings that depend on them. The caller
    // presets maximized to true and rect to an empty rectangle. Registry
    // errors leave defaults; the result is always true.
    bool LoadOptions(bool& maximized, settings::WindowRect& rect);
    // Writes the groups named by mask (option_group bits). False only for an
    // empty mask.
    bool SaveOptions(std::uint32_t mask, bool maximized, const settings::WindowRect* rect) const;

    // A document's remembered window rectangle; the capture document has a
    // fixed name instead of a path.
    bool LoadDocPosition(std::u16string_view pathName, bool isCapture,
                         settings::WindowRect& rect) const;
    bool SaveDocPosition(std::u16string_view pathName, bool isCapture,
                         const settings::WindowRect& rect) const;

    bool LoadAlias(std::u16string_view path, std::u16string& alias) const;
    bool SaveAlias(std::u16string_view path, std::u16string_view alias) const;

    std::vector<std::u16string> EnumFileSets() const;
    std::vector<std::u16string> LoadFileSet(std::u16string_view name) const;
    bool SaveFileSets(const std::vector<settings::FileSet>& sets) const;

    void LoadFileExtEditors();
    bool SaveFileExtEditors() const;
    const std::vector<settings::FileExtEditor>& FileExtEditors() const { return fileExtEditors_; }
    void SetFileExtEditors(std::vector<settings::FileExtEditor> editors);

    // Takes the bound pairs from the text of the editing box.
    void ParseBoundPairs(std::u16string_view text);

    // The include and exclude filters of every document.
    const filters::CInExFilters& InExFilters() const { return inExFilters_; }
    // Replaces both lists (the filter dialog's OK), saves them with their
    // option group and reloads every document when ReloadAllDocsInExclude.
    void ApplyInExFilters(std::vector<filters::InExFilter> include,
                          std::vector<filters::InExFilter> exclude);

    // The highlight filters of every document, in priority order.
    const filters::CHighlightFilters& HighlightFilters() const { return highlightFilters_; }
    filters::CHighlightFilters& HighlightFilters() { return highlightFilters_; }
    // The options that decide how highlight colours apply to a line.
    filters::HighlightOptions HighlightOptions() const;
    // Takes over the list confirmed in the highlight filter dialog with its
    // options, saves both, then reloads every document (arming each) when
    // the dialog says the shown text changes, else repaints every view. The
    // notification records of changed or removed filters' phrases stop
    // waiting for confirmation.
    void ApplyHighlightFilters(std::vector<filters::HighlightFilterEdit> rows,
                               const filters::HighlightOptions& edited, bool reloadDocuments);

    // From now on new lines run the actions of highlight filters: programs,
    // files and e-mails, and print jobs on the printer when there is one
    // (without one they are dropped).
    void EnableHighlightActions(filters::IPrinter* printer);
    // Where the actions show desktop notifications; none without a desktop.
    void SetDesktopNotice(filters::IDesktopNotice* desktop) { actionPorts_.desktop = desktop; }
    // The files the documents follow, which no action may write to.
    std::vector<filters::FollowedFile> FollowedFiles() const;

    // Notification e-mails: settings, sender, records.
    mail::CMailCenter& Mail() { return mail_; }
    const mail::CMailCenter& Mail() const { return mail_; }

    // The stop-updating notification: OK in its dialog saves the rule and
    // asks every document again whether it is watched (a quiet period whose
    // e-mail went out stays done).
    void ApplyStopUpdating(settings::StopUpdatingSettings edited);
    // Whether documents' polls run the stop-updating check at all (on from
    // the start); a headless follower runs it only when asked to.
    void SetStopUpdatingWatch(bool on);

    // Monitoring. One tick of the refresh timer polls every monitoring
    // document in list order, within the tick's reading budget, except those
    // whose file events work (they are polled by their events, and by the
    // tick only now and then for safety); a document with more to read is
    // polled again soon after by the event polls (see NextEventPollDelay)
    // when its file is watched, else at the next tick.
    void OnRefreshTick();
    // File events: the host watches the descriptor and calls OnFileEvents
    // when it is readable, and RunDueEventPolls after the delay asked for
    // (none when no event poll waits).
    // The descriptor is readable too when a stream document's source tells
    // of new text (the journal); OnFileEvents takes that as well.
    int FileEventDescriptor() const { return streamWakes_.Descriptor(); }
    void OnFileEvents();
    void RunDueEventPolls();
    // The documents the last OnRefreshTick, OnFileEvents or RunDueEventPolls
    // read (a tick: those it polled or took stream text into).
    const std::vector<core::CTarvikDoc*>& LastPolled() const { return lastPolled_; }
    std::optional<std::chrono::milliseconds> NextEventPollDelay() const;
    // How long refresh ticks would find nothing to do (zero: the next one
    // has work; none: no tick has until events or a wake say otherwise). A
    // host whose only posters are its documents may let those ticks pass.
    std::optional<std::chrono::milliseconds> TickWorkIn() const;
    const core::CEventPolls& EventPolls() const { return eventPolls_; }
    // Start All and Pause All, under a wait cursor.
    void SetMonitoringAll(bool on);
    // The refresh-rate dialog's OK with the text of its edit.
    RefreshRateResult SetRefreshRate(std::u16string_view text);
    // What the user looks at: a document is armed for a red line while they
    // look elsewhere. The host reports each activation change.
    void OnDocumentFrameActivated(core::CTarvikDoc& doc, bool activated);
    void OnApplicationActivated(bool active);
    // Keeps the newest k red lines of every document (k = 0 clears them).
    void KeepNewestRedLinesInAll(int k);
    // After the Options dialog changed DrawRedLine or RemovePreRedLine:
    // switching drawing off clears every red line; asking for one red line
    // per document keeps only the newest.
    void TidyRedLinesAfterOptionChange(bool drawRedLineBefore, bool removePreRedLineBefore);

    // The main frame and the user interface, once they exist; a headless
    // program has neither.
    void SetDocumentHost(core::IDocumentHost* host) { docContext_.host = host; }
    void SetUserInterface(core::IUserInterface* ui) { docContext_.ui = ui; }
    core::IUserInterface* UserInterface() const { return docContext_.ui; }
    // Opening several files at once reports their failures together.
    void SetReportOpenFailure(bool report) { docContext_.reportOpenFailure = report; }
    void SetPendingGoToLine(int oneBasedLine) { docContext_.pendingGoToLine = oneBasedLine; }

    // Creates a document for the file, gives it the host's frame and view
    // (if any) and opens it. Null when the file could not be opened; the
    // document is then discarded.
    core::CTarvikDoc* OpenDocument(std::u16string_view path);
    // A document closed while a command of its own waits on the user leaves
    // the list at once and is freed once that command has returned.
    void CloseDocument(core::CTarvikDoc* doc);
    // Frees the closed documents whose commands have returned (the refresh
    // tick and the document commands call it).
    void FreeClosedDocuments();
    const std::vector<std::unique_ptr<core::CTarvikDoc>>& Documents() const { return documents_; }

    // Debug-output capture. The capture document, if one is open.
    core::CTarvikDoc* CaptureDocument() const;
    // Command 57600, the D switch and start-up capture: activates the
    // capture document, or creates one. Null when capture could not start.
    core::CTarvikDoc* StartCapture();
    // The prefix toggles of the "&OutputDebugString" menu, saved at once.
    void ToggleCapturePrefix(int commandId);
    bool IsCapturePrefixOn(int commandId) const;
    // "Set Captured Process ID": all processes, or only processId.
    void SetCapturedProcesses(bool allProcesses, std::uint32_t processId);
    // After the Options dialog: the capture's copy file follows the options.
    void ReopenCaptureCopyFile();

    // Every document, in list order, under a wait cursor.
    void ReloadAllDocuments();
    void ClearAllDocuments();
    // Command 40042: the include/exclude master switch.
    void ToggleInExFilters();

    // Opening new files in watched folders. The pairs load with the options.
    const std::vector<settings::AutoOpenPattern>& AutoOpenPatterns() const {
        return autoOpenPatterns_;
    }
    // Replaces the watcher (if any) by one for the current pairs; none when
    // there are no pairs or no queue to the user-interface thread. Files
    // that match already are opened only at start-up, and only when the
    // options ask for it.
    void StartAutoOpenWatcher(bool startUp);
    // The identifier of the current watcher; 0 when none runs.
    std::uint64_t AutoOpenWatcherId() const { return autoOpenWatcher_ ? autoOpenWatcherId_ : 0; }
    // A new file reported by watcher watcherId: ignored when that watcher
    // has been replaced, else opened (or brought to the front when open);
    // with the bound on, the earliest documents close until it holds.
    void OnAutoOpenFile(std::uint64_t watcherId, const std::u16string& path);
    // The auto-open dialog's OK: takes over the pairs and the four settings,
    // saves them, and starts a fresh watcher that treats every file present
    // now as existing.
    void ApplyAutoOpen(std::vector<settings::AutoOpenPattern> patterns, std::uint32_t checkInterval,
                       bool limitOpenFiles, std::int32_t maxOpenFiles, bool openExistingOnStartUp);

    bool IsCommandEnabled(int commandId) const;
    // True when the command was handled here.
    bool OnCommand(int commandId);

private:
    bool IsOpen(const core::CTarvikDoc* doc) const;
    template <typename Operation>
    void ForEachDocumentArmed(Operation operation);

    settings::Options options_;
    std::vector<settings::FileExtEditor> fileExtEditors_;
    filters::CHighlightFilters highlightFilters_;
    filters::CInExFilters inExFilters_;
    core::DocContext docContext_;
    CExternalPrograms externalPrograms_{docContext_, fileExtEditors_};
    // Before the documents, so that documents closing at exit still find it.
    mail::CMailCenter mail_;
    filters::CActionThrottle actionThrottle_;
    filters::HighlightActionPorts actionPorts_;
    core::CEventPolls eventPolls_;
    core::CStreamWakes streamWakes_;
    std::vector<core::CTarvikDoc*> lastPolled_;
    std::vector<std::unique_ptr<core::CTarvikDoc>> documents_;
    // Closed while one of their own commands waited on the user.
    std::vector<std::unique_ptr<core::CTarvikDoc>> closedInUse_;
    std::vector<settings::AutoOpenPattern> autoOpenPatterns_;
    std::uint64_t autoOpenWatcherId_ = 0;
    // Paths posted by a watcher reach this object only while it lives.
    std::shared_ptr<CTarvikApp*> alive_ = std::make_shared<CTarvikApp*>(this);
    // Last, so that it stops first.
    std::unique_ptr<discovery::CAutoOpenWatcher> autoOpenWatcher_;
};

}  // namespace app
