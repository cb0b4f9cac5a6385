#include "view/FilterColorProvider.h"

#include "filters/HighlightOptionValues.h"

namespace view {

void CFilterColorProvider::GetLineColors(std::u16string_view text, filters::ColorizeMode mode,
                                         filters::LineColors& colors,
                                         filters::HighlightRunList& runs) const {
    if (text.empty() || filters_.Empty()) return;
    filters::ColorizeLine(filters_, text, Options(), mode, colors, runs);
}

filters::HighlightOptions CFilterColorProvider::Options() const {
    return filters::HighlightOptionsOf(options_);
}

}  // namespace view
