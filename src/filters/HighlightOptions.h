#pragma once
// The options that decide how highlight colours are applied to a line. The
// application keeps them with its other options and hands a copy to the
// colouring code.

#include <cstdint>

namespace filters {

struct HighlightOptions {
    // A line with coloured phrases gets HLLineBkgColor behind the rest of it.
    bool HighlightLine = true;
    // Red 255, green 255, blue 192.
    std::uint32_t HLLineBkgColor = 12648447;
    // The row after the end of the text is filled with the line background.
    bool FillLineBlankInBkgColor = false;
    // "Next Highlight" and "Previous Highlight" pass over "Show as" filters.
    bool IgnoreReplaceTextForGotoHFilter = false;
    // ... and over filters that colour the entire line.
    bool IgnoreHighlightEntireLineForGotoHFilter = false;
    bool RemoveAllFiltersBeforeImport = false;

    bool operator==(const HighlightOptions&) const = default;
};

}  // namespace filters
