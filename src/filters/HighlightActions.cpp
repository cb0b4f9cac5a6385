#include "filters/HighlightActions.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "filters/MatchedLineFile.h"
#include "platform/CodePage.h"
#include "platform/DebugOutput.h"
#include "platform/Process.h"

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

// A program that cannot be started is no one's business but the debug output's.
void StartProgram(std::u16string_view commandLine) {
    std::string error;
    if (platform::StartProcess(commandLine, error)) return;
    platform::OutputDebugStringA(std::string(platform::kDebugPrefix) + "Could not start \"" +
                                 platform::Utf16ToUtf8(commandLine) + "\": " + error);
}

void WriteLine(const ActionDocument& document, const HighlightFilter& filter,
               std::u16string_view text, const platform::IClock& clock) {
    if (filter.WrittenFile == document.path) return;
    if (WriteMatchedLine(document.path, filter.WrittenFile, text, filter.IncludeFileName,
                         filter.IncludeTimestamp, clock.Local())) {
        return;
    }
    platform::OutputDebugStringA(std::string(platform::kDebugPrefix) + "Could not write to \"" +
                                 platform::Utf16ToUtf8(filter.WrittenFile) + "\"");
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

void SendMailFor(CHighlightFilters& filters, std::size_t index, const ActionDocument& document,
                 int line, std::u16string_view text, IHighlightMail& mail) {
    if (!filters.ClaimFirstOccurrence(index, document.ref)) return;
    const HighlightFilter& filter = filters.Items()[index];
    const std::optional<std::u16string> previous =
        PreviousLines(document, line, filter.AttachPreviousLinesWithEmail);
    std::optional<std::u16string_view> previousView;
    if (previous) previousView = *previous;
    mail.SendHighlightMail(document.logName, text, previousView, filter, document.ref);
}

}  // namespace

void RunHighlightActions(CHighlightFilters& filters, const ActionDocument& document, int firstLine,
                         int lastLine, const HighlightActionPorts& ports) {
    const std::vector<std::size_t> acting = CollectActingFilters(filters, document);
    if (acting.empty()) return;
    std::u16string printText;
    for (int line = std::max(0, firstLine); line <= lastLine; ++line) {
        const std::u16string_view text = document.lineAt(line);
        if (text.empty()) continue;
        for (const std::size_t index : acting) {
            const HighlightFilter& filter = filters.Items()[index];
            if (!MatchPhrase(filter.phrase, text)) continue;
            if (filter.ExecuteProgram) StartProgram(filter.ExecutableProgram);
            if (filter.PrintLineToDefaultPrinter) {
                printText += text;
                printText += u"\r\n";
            }
            if (filter.WriteFile) WriteLine(document, filter, text, ports.clock);
            if (filter.SendEmail && ports.mail) {
                SendMailFor(filters, index, document, line, text, *ports.mail);
            }
        }
    }
    if (printText.empty() || !ports.printer) return;
    ports.printer->Print(
        PrintJob{std::u16string(document.path), std::move(printText), document.font});
}

}  // namespace filters
