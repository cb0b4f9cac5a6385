#pragma once
// One highlight filter: a phrase with the colours it is shown in, the "Show
// as" text that replaces it in the buffer, and the settings of the actions
// that run when it occurs in newly appended text.
//
// A record read from the store or a filter file starts from this default
// state: every flag and number 0 and every text empty, so a filter whose
// Enable value is missing stays disabled.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "filters/FilterPhrase.h"
#include "filters/HighlightDocumentRef.h"

namespace filters {

struct HighlightFilter {
    // Text, foldedText, MatchCase, RegularExpression and the compiled expression.
    FilterPhrase phrase;
    // Colours are 0x00BBGGRR.
    std::uint32_t TextColor = 0;
    std::uint32_t BkgColor = 0;
    bool HighlightEntireLine = false;
    bool Enable = false;

    bool SendEmail = false;
    // Comma-separated addresses.
    std::u16string Emails;
    std::int32_t AttachPreviousLinesWithEmail = 0;
    bool SendFirstOccured = false;
    // The documents already notified since the last confirmation, by e-mail
    // or web hook alike. Exists exactly when Enable and SendFirstOccured are
    // on together with SendEmail or PostWebHook; never stored.
    std::optional<DocumentRefSet> notifiedDocuments;

    bool WriteFile = false;
    bool IncludeTimestamp = false;
    bool IncludeFileName = false;
    std::u16string WrittenFile;

    bool PrintLineToDefaultPrinter = false;

    bool ExecuteProgram = false;
    std::u16string ExecutableProgram;

    // A desktop notification naming the document, with the matched line.
    bool ShowDesktopNotification = false;
    // An HTTP POST of WebHookBody (the default JSON object when empty), its
    // tags expanded, to WebHookUrl.
    bool PostWebHook = false;
    std::u16string WebHookUrl;
    std::u16string WebHookBody;

    // "Show as": occurrences are replaced by ReplaceText in the buffer.
    bool ReplaceWith = false;
    std::u16string ReplaceText;

    bool ActionsOnlyAvailableInSpecialFile = false;
    std::u16string AvailableFile;
    // AvailableFile folded with FoldAsciiLower.
    std::u16string foldedAvailableFile;

    // Whether the rule for notifiedDocuments asks for a set.
    bool WantsNotifiedDocuments() const {
        return Enable && (SendEmail || PostWebHook) && SendFirstOccured;
    }
    // Makes an empty set when the rule asks for one and there is none, and
    // discards the set when the rule no longer asks for it. An existing set
    // that is still wanted keeps its documents.
    void SyncNotifiedDocuments();

    // Sets AvailableFile and its folded copy.
    void SetAvailableFile(std::u16string_view path);

    // Brings every derived field in line with the stored ones after loading
    // or editing: folded copies, compiled expression, notifiedDocuments by
    // the rule. A line break in ReplaceText would split the buffer line it is
    // inserted into, so each one becomes a space here.
    void Prepare();

    // The filter takes part in "Show as": enabled, switched on, and with a
    // text to show (an empty text would make every occurrence vanish).
    bool ShowsAs() const { return Enable && ReplaceWith && !ReplaceText.empty(); }
    // At least one of the actions is switched on.
    bool HasAction() const {
        return ExecuteProgram || PrintLineToDefaultPrinter || WriteFile || SendEmail ||
               ShowDesktopNotification || PostWebHook;
    }
};

}  // namespace filters
