#pragma once
// Next and previous highlight: the search over the colour runs of the lines
// around the caret, wrapping once around the document.

#include <functional>
#include <optional>

#include "core/TextPos.h"
#include "filters/HighlightRun.h"

namespace view {

// The runs of a line in navigation mode.
using NavigationRuns = std::function<filters::HighlightRunList(int line)>;

struct HighlightHit {
    int line = 0;
    int start = 0;
    int end = 0;
    bool operator==(const HighlightHit&) const = default;
};

// The first run at or after the caret on its line, else the first run of the
// following lines, else (wrapping) of the lines above the caret line.
std::optional<HighlightHit> FindNextHighlight(int lineCount, core::TextPos caret,
                                              const NavigationRuns& runsOf);
// The last run ending strictly before the caret on its line, else the last
// run of the lines above, else (wrapping) of the lines below, from the end.
std::optional<HighlightHit> FindPreviousHighlight(int lineCount, core::TextPos caret,
                                                  const NavigationRuns& runsOf);

}  // namespace view
