#pragma once
// The colours of one line: the runs of coloured phrases and the line's own
// text and background colours. Line drawing and export use it in drawing
// mode; "Next Highlight" and "Previous Highlight" use navigation mode, where
// entire-line filters also yield runs (so their occurrences can be found) and
// some filters may be passed over.

#include <cstdint>
#include <string_view>

#include "filters/HighlightFilters.h"
#include "filters/HighlightOptions.h"
#include "filters/HighlightRun.h"

namespace filters {

struct LineColors {
    // 0x00BBGGRR; the caller presets both with the view's normal colours.
    std::uint32_t textColor = 0;
    std::uint32_t bkgColor = 0;
};

enum class ColorizeMode { Drawing, Navigation };

// Adds the runs of every enabled filter occurring in line to runs (expected
// empty) and lets each matching entire-line filter overwrite colors, the last
// one in list order winning. A "Show as" filter looks for its ReplaceText,
// with case, since the buffer already holds the replacement. Compiles
// nothing and makes no folded copy of the line.
void ColorizeLine(const CHighlightFilters& filters, std::u16string_view line,
                  const HighlightOptions& options, ColorizeMode mode, LineColors& colors,
                  HighlightRunList& runs);

// The background of the text outside runs, applied after ColorizeLine in
// drawing mode: a line with runs whose background is still the normal one
// takes HLLineBkgColor when HighlightLine is on.
std::uint32_t FinalLineBackground(const HighlightOptions& options, const HighlightRunList& runs,
                                  std::uint32_t bkgColor, std::uint32_t normalBkgColor);

// The colour of the row after the end of the text.
std::uint32_t RowBlankColor(const HighlightOptions& options, std::uint32_t finalBkgColor,
                            std::uint32_t normalBkgColor);

}  // namespace filters
