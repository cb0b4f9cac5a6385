#pragma once
// Where a view gets the colour runs of a line: the highlight filters in the
// program, a fake in tests.

#include <string_view>

#include "filters/HighlightColorizer.h"
#include "filters/HighlightRun.h"

namespace view {

class ILineColorProvider {
public:
    virtual ~ILineColorProvider() = default;

    // colors come in preset with the view's default colours; in drawing mode
    // an entire-line filter may replace them. runs comes in empty and leaves
    // sorted and without overlaps; nothing for an empty line or no filters.
    virtual void GetLineColors(std::u16string_view text, filters::ColorizeMode mode,
                               filters::LineColors& colors,
                               filters::HighlightRunList& runs) const = 0;
    // Whether next/previous highlight has anything to look for.
    virtual bool HasHighlightFilters() const = 0;
    // The options that decide the line background and the blank after the text.
    virtual filters::HighlightOptions Options() const = 0;
};

}  // namespace view
