#include "filters/HighlightEditMarks.h"

namespace filters {

namespace {

bool MarksModified(HighlightSetting setting) {
    switch (setting) {
        case HighlightSetting::Phrase:
        case HighlightSetting::Enable:
        case HighlightSetting::MatchCase:
        case HighlightSetting::RegularExpression:
        case HighlightSetting::SendEmail:
        case HighlightSetting::Emails:
        case HighlightSetting::AttachPreviousLines:
        case HighlightSetting::SendFirstOccured:
        // Web hooks keep their first occurrences in the e-mails' records.
        case HighlightSetting::PostWebHook:
        case HighlightSetting::WebHookUrl:
        case HighlightSetting::WebHookBody:
        case HighlightSetting::ActionsOnlyAvailableInSpecialFile:
        case HighlightSetting::AvailableFile:
            return true;
        default:
            return false;
    }
}

bool ChangesShownText(const HighlightFilter& filter, HighlightSetting setting) {
    switch (setting) {
        case HighlightSetting::ReplaceWith:
        case HighlightSetting::ReplaceText:
            return true;
        case HighlightSetting::Phrase:
        case HighlightSetting::Enable:
        case HighlightSetting::MatchCase:
        case HighlightSetting::RegularExpression:
            return filter.ReplaceWith;
        default:
            return false;
    }
}

}  // namespace

void NoteHighlightEdit(HighlightFilterEdit& row, HighlightSetting setting, bool& reload) {
    if (MarksModified(setting) && row.changeMark == HighlightChangeMark::Unchanged) {
        row.changeMark = HighlightChangeMark::Modified;
    }
    if (ChangesShownText(row.filter, setting)) reload = true;
}

void NoteHighlightRemoval(HighlightFilterEdit& row, bool& reload) {
    row.changeMark = HighlightChangeMark::Removed;
    if (row.filter.ReplaceWith) reload = true;
}

}  // namespace filters
