#pragma once
// One coloured stretch of a line, and the rule that keeps a line's runs
// sorted by start column and free of overlaps. Overlaps are decided when a run
// is added, so drawing is one left-to-right walk over the runs.

#include <cstdint>
#include <vector>

namespace filters {

struct HighlightRun {
    int start = 0;
    int length = 0;
    // 0x00BBGGRR.
    std::uint32_t textColor = 0;
    std::uint32_t bkgColor = 0;

    int End() const { return start + length; }
    bool operator==(const HighlightRun&) const = default;
};

using HighlightRunList = std::vector<HighlightRun>;

// Adds run where it fits without touching any run already there: appended
// when it starts at or after the end of the last run, else placed in the gap
// before the first run that starts at or after its end. A run that overlaps
// one already there is dropped whole, never clipped, so the run added first
// keeps every character it claimed. Empty runs are dropped. True when added.
bool AddHighlightRun(HighlightRunList& runs, const HighlightRun& run);

}  // namespace filters
