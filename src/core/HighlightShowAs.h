#pragma once
// "Show as": every occurrence of an enabled filter's phrase is replaced in the
// buffer by the filter's ReplaceText, so selection, copying, saving and
// searching all see the replacement. The edits record no undo.

#include <functional>

#include "core/CrystalTextBuffer.h"
#include "filters/HighlightFilters.h"

namespace core {

// Replaces occurrences in lines firstLine..lastLine (inclusive; clamped to the
// buffer). Filters apply in list order, each to the line as earlier ones left
// it; every occurrence is found in the line before it is edited, so a
// replacement that contains its own phrase is not replaced again. The views
// attached to the buffer are told of each line that changed (its width may
// have grown), and redrawLine (may be empty) is called once for it; the
// document passes a function that redraws the line only when it is visible.
void ApplyShowAs(const filters::CHighlightFilters& filters, CCrystalTextBuffer& buffer,
                 int firstLine, int lastLine, const std::function<void(int line)>& redrawLine);

}  // namespace core
