#include "filters/HighlightOptionValues.h"

namespace filters {

HighlightOptions HighlightOptionsOf(const settings::Options& options) {
    HighlightOptions highlight;
    highlight.HighlightLine = options.HighlightLine;
    highlight.HLLineBkgColor = options.HLLineBkgColor;
    highlight.FillLineBlankInBkgColor = options.FillLineBlankInBkgColor;
    highlight.IgnoreReplaceTextForGotoHFilter = options.IgnoreReplaceTextForGotoHFilter;
    highlight.IgnoreHighlightEntireLineForGotoHFilter =
        options.IgnoreHighlightEntireLineForGotoHFilter;
    highlight.RemoveAllFiltersBeforeImport = options.RemoveAllFiltersBeforeImport;
    return highlight;
}

void StoreHighlightOptions(settings::Options& options, const HighlightOptions& highlight) {
    options.HighlightLine = highlight.HighlightLine;
    options.HLLineBkgColor = highlight.HLLineBkgColor;
    options.FillLineBlankInBkgColor = highlight.FillLineBlankInBkgColor;
    options.IgnoreReplaceTextForGotoHFilter = highlight.IgnoreReplaceTextForGotoHFilter;
    options.IgnoreHighlightEntireLineForGotoHFilter =
        highlight.IgnoreHighlightEntireLineForGotoHFilter;
    options.RemoveAllFiltersBeforeImport = highlight.RemoveAllFiltersBeforeImport;
}

}  // namespace filters
