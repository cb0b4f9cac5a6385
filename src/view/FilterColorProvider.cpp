#include "view/FilterColorProvider.h"

namespace view {

void CFilterColorProvider::GetLineColors(std::u16string_view text, filters::ColorizeMode mode,
                                         filters::LineColors& colors,
                                         filters::HighlightRunList& runs) const {
    if (text.empty() || filters_.Empty()) return;
    filters::ColorizeLine(filters_, text, Options(), mode, colors, runs);
}

filters::HighlightOptions CFilterColorProvider::Options() const {
    filters::HighlightOptions highlight;
    highlight.HighlightLine = options_.HighlightLine;
    highlight.HLLineBkgColor = options_.HLLineBkgColor;
    highlight.FillLineBlankInBkgColor = options_.FillLineBlankInBkgColor;
    highlight.IgnoreReplaceTextForGotoHFilter = options_.IgnoreReplaceTextForGotoHFilter;
    highlight.IgnoreHighlightEntireLineForGotoHFilter =
        options_.IgnoreHighlightEntireLineForGotoHFilter;
    highlight.RemoveAllFiltersBeforeImport = options_.RemoveAllFiltersBeforeImport;
    return highlight;
}

}  // namespace view
