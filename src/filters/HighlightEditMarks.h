#pragma once
// What an edit in the highlight filter dialog means beyond the new value:
// whether the filter counts as modified (which releases the notifications
// waiting on its former phrase when the dialog is confirmed) and whether
// every document has to be read again because the text "Show as" puts into
// the buffer changes.

#include "filters/HighlightFilterTakeOver.h"

namespace filters {

// The settings of a filter the dialog edits one at a time.
enum class HighlightSetting {
    Phrase,
    Enable,
    MatchCase,
    RegularExpression,
    Colors,
    HighlightEntireLine,
    ReplaceWith,
    ReplaceText,
    ExecuteProgram,
    ExecutableProgram,
    Print,
    WriteFile,
    WrittenFile,
    IncludeTimestamp,
    IncludeFileName,
    SendEmail,
    Emails,
    AttachPreviousLines,
    SendFirstOccured,
    ShowDesktopNotification,
    PostWebHook,
    WebHookUrl,
    WebHookBody,
    ActionsOnlyAvailableInSpecialFile,
    AvailableFile,
};

// Marks the row modified when the setting is one that notifications depend
// on (unless the row is new), and raises reload when the change alters what
// "Show as" writes into the buffer. Call it once the row holds the new value;
// for ReplaceWith either value counts.
void NoteHighlightEdit(HighlightFilterEdit& row, HighlightSetting setting, bool& reload);

// Marks the row removed; a filter that showed its phrase as other text
// raises reload.
void NoteHighlightRemoval(HighlightFilterEdit& row, bool& reload);

}  // namespace filters
