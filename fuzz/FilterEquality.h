#pragma once
// Field-by-field comparison of the filters a file carries, for the
// round-trip properties of the fuzz targets.

#include "filters/FilterFileRecords.h"

namespace fuzz {

inline bool SameStoredFields(const filters::HighlightFilter& a, const filters::HighlightFilter& b) {
    return a.phrase.text == b.phrase.text && a.phrase.matchCase == b.phrase.matchCase &&
           a.phrase.regularExpression == b.phrase.regularExpression && a.TextColor == b.TextColor &&
           a.BkgColor == b.BkgColor && a.HighlightEntireLine == b.HighlightEntireLine &&
           a.Enable == b.Enable && a.SendEmail == b.SendEmail && a.Emails == b.Emails &&
           a.AttachPreviousLinesWithEmail == b.AttachPreviousLinesWithEmail &&
           a.SendFirstOccured == b.SendFirstOccured && a.WriteFile == b.WriteFile &&
           a.IncludeTimestamp == b.IncludeTimestamp && a.IncludeFileName == b.IncludeFileName &&
           a.WrittenFile == b.WrittenFile &&
           a.PrintLineToDefaultPrinter == b.PrintLineToDefaultPrinter &&
           a.ExecuteProgram == b.ExecuteProgram && a.ExecutableProgram == b.ExecutableProgram &&
           a.ReplaceWith == b.ReplaceWith && a.ReplaceText == b.ReplaceText &&
           a.ActionsOnlyAvailableInSpecialFile == b.ActionsOnlyAvailableInSpecialFile &&
           a.AvailableFile == b.AvailableFile && a.foldedAvailableFile == b.foldedAvailableFile;
}

inline bool SameRow(const filters::InExFilterRow& a, const filters::InExFilterRow& b) {
    return a.text == b.text && a.matchCase == b.matchCase &&
           a.regularExpression == b.regularExpression && a.enable == b.enable &&
           a.include == b.include;
}

}  // namespace fuzz
