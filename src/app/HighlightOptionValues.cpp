#include "app/HighlightOptionValues.h"

namespace app {

filters::HighlightOptions HighlightOptionsOf(const Options& options) {
    filters::HighlightOptions highlight;
    highlight.HighlightLine = options.HighlightLine;
    highlight.HLLineBkgColor = options.HLLineBkgColor;
    highlight.FillLineBlankInBkgColor = options.FillLineBlankInBkgColor;
    highlight.IgnoreReplaceTextForGotoHFilter = options.IgnoreReplaceTextForGotoHFilter;
    highlight.IgnoreHighlightEntireLineForGotoHFilter =
        options.IgnoreHighlightEntireLineForGotoHFilter;
    highlight.RemoveAllFiltersBeforeImport = options.RemoveAllFiltersBeforeImport;
    return highlight;
}

void StoreHighlightOptions(Options& options, const filters::HighlightOptions& highlight) {
    options.HighlightLine = highlight.HighlightLine;
    options.HLLineBkgColor = highlight.HLLineBkgColor;
    options.FillLineBlankInBkgColor = highlight.FillLineBlankInBkgColor;
    options.IgnoreReplaceTextForGotoHFilter = highlight.IgnoreReplaceTextForGotoHFilter;
    options.IgnoreHighlightEntireLineForGotoHFilter =
        highlight.IgnoreHighlightEntireLineForGotoHFilter;
    options.RemoveAllFiltersBeforeImport = highlight.RemoveAllFiltersBeforeImport;
}

}  // namespace app
