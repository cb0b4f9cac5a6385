#include "filters/HighlightActions.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "filters/MatchedLineFile.h"
#include "platform/CodePage.h"
#include "platform/DebugOutput.h"
#include "platform/Process.h"
#include "platform/StandardError.h"

namespace filters {

namespace {

// The filters that may act for this document, by index in the list.
std::vector<std::size_t> CollectActingFilters(const CHighlightFilters& filters,
                                              const ActionDocument& document) {
    // A path names one file only as it is written (file names here are
    // case-sensitive); a source name such as "OutputDebugString" folds A..Z.
    const bool isPath = document.path.starts_with(u'/');
    std::vector<std::size_t> acting;
    const std::vector<HighlightFilter>& items = filters.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        const HighlightFilter& filter = items[i];
        if (!filter.Enable || !filter.HasAction()) continue;
        if (filter.ActionsOnlyAvailableInSpecialFile &&
            (isPath ? filter.AvailableFile != document.path
                    : filter.foldedAvailableFile != document.foldedPath))
            continue;
        acting.push_back(i);
    }
    return acting;
}

void ReportFailure(const std::string& text) {
    platform::WriteStandardError(std::string(platform::kDebugPrefix) + text);
}

// A program that cannot be started (the process limit reached among the
// reasons) is passed over; one beyond the throttle's limit is not started.
void StartProgram(std::u16string_view commandLine, CActionThrottle* throttle) {
    std::function<void()> givePlaceBack;
    if (throttle) {
        givePlaceBack = throttle->TakeProgramPlace();
        if (!givePlaceBack) return;
    }
    std::string error;
    if (platform::StartProcess(commandLine, error, givePlaceBack)) return;
    if (givePlaceBack) givePlaceBack();
    ReportFailure("Could not start \"" + platform::Utf16ToUtf8(commandLine) + "\": " + error);
}

// Asked once per call of the actions, when the first line is to be written.
class FollowedFilesOnce {
public:
    FollowedFilesOnce(const ActionDocument& document, const HighlightActionPorts& ports)
        : document_(document), ports_(ports) {}
    const std::vector<FollowedFile>& Get() {
        if (!files_) {
            files_.emplace();
            if (ports_.followedFiles) *files_ = ports_.followedFiles();
            files_->push_back({std::u16string(document_.path), {}});
        }
        return *files_;
    }

private:
    const ActionDocument& document_;
    const HighlightActionPorts& ports_;
    std::optional<std::vector<FollowedFile>> files_;
};

void WriteLine(const ActionDocument& document, const HighlightFilter& filter,
               std::u16string_view text, const platform::IClock& clock,
               FollowedFilesOnce& followed) {
    if (WriteMatchedLine(document.path, filter.WrittenFile, text, filter.IncludeFileName,
                         filter.IncludeTimestamp, clock.Local(), followed.Get())) {
        return;
    }
    ReportFailure("Could not write to \"" + platform::Utf16ToUtf8(filter.WrittenFile) + "\"");
}

// Lines max(0, L - N) to L - 1, each followed by CR LF; none at all when
// nothing is to be attached to a match past the first line.
std::optional<std::u16string> PreviousLines(const ActionDocument& document, int line,
                                            std::int32_t attach) {
    if (attach <= 0 && line > 0) return std::nullopt;
    std::u16string previous;
    const int first = attach > 0 ? std::max(0, line - attach) : 0;
    for (int i = first; i < line; ++i) {
        previous += document.lineAt(i);
        previous += u"\r\n";
    }
    return previous;
}

// The e-mail and the web hook post of a match; the first-occurrence rule
// holds for both together, so a filter with both notifies once per document.
void NotifyFor(CHighlightFilters& filters, std::size_t index, const ActionDocument& document,
               int line, std::u16string_view text, const HighlightActionPorts& ports) {
    const HighlightFilter& filter = filters.Items()[index];
    IHighlightMail* mail = filter.SendEmail ? ports.mail : nullptr;
    IHighlightWebHook* webHook = filter.PostWebHook ? ports.webHook : nullptr;
    if (!mail && !webHook) return;
    if (!filters.ClaimFirstOccurrence(index, document.ref)) return;
    const std::optional<std::u16string> previous =
        PreviousLines(document, line, filter.AttachPreviousLinesWithEmail);
    std::optional<std::u16string_view> previousView;
    if (previous) previousView = *previous;
    if (mail) mail->SendHighlightMail(document.logName, text, previousView, filter, document.ref);
    if (webHook) {
        webHook->PostHighlightWebHook(document.logName, text, previousView, filter, document.ref);
    }
}

}  // namespace

void RunHighlightActions(CHighlightFilters& filters, const ActionDocument& document, int firstLine,
                         int lastLine, const HighlightActionPorts& ports) {
    const std::vector<std::size_t> acting = CollectActingFilters(filters, document);
    if (acting.empty()) return;
    std::u16string printText;
    FollowedFilesOnce followed(document, ports);
    std::vector<char> maybe;
    for (int line = std::max(0, firstLine); line <= lastLine; ++line) {
        const std::u16string_view text = document.lineAt(line);
        if (text.empty()) continue;
        // One scan of the line rules out the filters that cannot match.
        filters.MarkActionCandidates(text, maybe);
        for (const std::size_t index : acting) {
            const HighlightFilter& filter = filters.Items()[index];
            if (!maybe[index] || !MatchPhrase(filter.phrase, text)) continue;
            if (filter.ExecuteProgram) StartProgram(filter.ExecutableProgram, ports.throttle);
            if (filter.PrintLineToDefaultPrinter) {
                printText += text;
                printText += u"\r\n";
            }
            if (filter.WriteFile) WriteLine(document, filter, text, ports.clock, followed);
            NotifyFor(filters, index, document, line, text, ports);
            if (filter.ShowDesktopNotification && ports.desktop) {
                ports.desktop->ShowHighlightNotice(document.logName, text, line, filter,
                                                   document.ref);
            }
        }
    }
    if (printText.empty() || !ports.printer) return;
    const bool taken = ports.printer->Print(
        PrintJob{std::u16string(document.path), std::move(printText), document.font});
    if (!taken && ports.throttle) ports.throttle->CountDroppedPrintJob();
}

}  // namespace filters
