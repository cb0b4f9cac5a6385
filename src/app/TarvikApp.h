#pragma once
// The application object: it owns the options and the settings kept with
// them for the whole run, the include/exclude filters and the list of open
// documents, and runs the commands that concern all documents. The logic
// lives in the stores and the documents; this class coordinates.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/FileExtEditorStore.h"
#include "app/FileSetStore.h"
#include "app/IDocumentHost.h"
#include "app/IUserInterface.h"
#include "app/Options.h"
#include "app/WindowRect.h"
#include "core/DocContext.h"
#include "core/TarvikDoc.h"
#include "filters/InExFilterList.h"
#include "platform/IClock.h"

namespace app {

// The application commands that act on every document.
enum AppCommandId : int {
    kCmdToggleInExFilters = 40042,   // Ctrl+Shift+I
    kCmdClearAllWindows = 40044,     // "Clear All Open &Windows\tCtrl+Shift+L"
    kCmdReloadAllDocuments = 40053,  // "Reload All Document&s\tCtrl+Shift+R"
};

class CTarvikApp {
public:
    explicit CTarvikApp(const platform::IClock& clock = platform::SystemClock::Instance());
    ~CTarvikApp();
    CTarvikApp(const CTarvikApp&) = delete;
    CTarvikApp& operator=(const CTarvikApp&) = delete;

    Options& GetOptions() { return options_; }
    const Options& GetOptions() const { return options_; }

    // Start-up reads this alone, before anything else; it is kept in the options.
    bool LoadOnlyOneInstance();

    // Loads every option, then the settings that depend on them. The caller
    // presets maximized to true and rect to an empty rectangle. Registry
    // errors leave defaults; the result is always true.
    bool LoadOptions(bool& maximized, WindowRect& rect);
    // Writes the groups named by mask (option_group bits). False only for an
    // empty mask.
    bool SaveOptions(std::uint32_t mask, bool maximized, const WindowRect* rect) const;

    // A document's remembered window rectangle; the capture document has a
    // fixed name instead of a path.
    bool LoadDocPosition(std::u16string_view pathName, bool isCapture, WindowRect& rect) const;
    bool SaveDocPosition(std::u16string_view pathName, bool isCapture,
                         const WindowRect& rect) const;

    bool LoadAlias(std::u16string_view path, std::u16string& alias) const;
    bool SaveAlias(std::u16string_view path, std::u16string_view alias) const;

    std::vector<std::u16string> EnumFileSets() const;
    std::vector<std::u16string> LoadFileSet(std::u16string_view name) const;
    bool SaveFileSets(const std::vector<FileSet>& sets) const;

    void LoadFileExtEditors();
    bool SaveFileExtEditors() const;
    const std::vector<FileExtEditor>& FileExtEditors() const { return fileExtEditors_; }
    void SetFileExtEditors(std::vector<FileExtEditor> editors);

    // Takes the bound pairs from the text of the editing box.
    void ParseBoundPairs(std::u16string_view text);

    // The include and exclude filters of every document.
    const filters::CInExFilters& InExFilters() const { return inExFilters_; }
    // Replaces both lists (the filter dialog's OK), saves them with their
    // option group and reloads every document when ReloadAllDocsInExclude.
    void ApplyInExFilters(std::vector<filters::InExFilter> include,
                          std::vector<filters::InExFilter> exclude);

    // The main frame and the user interface, once they exist; a headless
    // program has neither.
    void SetDocumentHost(IDocumentHost* host) { docContext_.host = host; }
    void SetUserInterface(IUserInterface* ui) { docContext_.ui = ui; }
    // Opening several files at once reports their failures together.
    void SetReportOpenFailure(bool report) { docContext_.reportOpenFailure = report; }
    void SetPendingGoToLine(int oneBasedLine) { docContext_.pendingGoToLine = oneBasedLine; }

    // Creates a document for the file, gives it the host's frame and view
    // (if any) and opens it. Null when the file could not be opened; the
    // document is then discarded.
    core::CTarvikDoc* OpenDocument(std::u16string_view path);
    void CloseDocument(core::CTarvikDoc* doc);
    const std::vector<std::unique_ptr<core::CTarvikDoc>>& Documents() const { return documents_; }

    // Every document, in list order, under a wait cursor.
    void ReloadAllDocuments();
    void ClearAllDocuments();
    // Command 40042: the include/exclude master switch.
    void ToggleInExFilters();

    bool IsCommandEnabled(int commandId) const;
    // True when the command was handled here.
    bool OnCommand(int commandId);

private:
    template <typename Operation>
    void ForEachDocumentArmed(Operation operation);

    Options options_;
    std::vector<FileExtEditor> fileExtEditors_;
    filters::CInExFilters inExFilters_;
    core::DocContext docContext_;
    std::vector<std::unique_ptr<core::CTarvikDoc>> documents_;
};

}  // namespace app
