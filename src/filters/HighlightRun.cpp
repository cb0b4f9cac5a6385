#include "filters/HighlightRun.h"

#include <algorithm>

namespace filters {

bool AddHighlightRun(HighlightRunList& runs, const HighlightRun& run) {
    if (run.length <= 0 || run.start < 0) return false;
    if (runs.empty() || run.start >= runs.back().End()) {
        runs.push_back(run);
        return true;
    }
    // The runs are sorted and disjoint, so their starts and ends both ascend:
    // the gap is found by one binary search.
    const auto next = std::lower_bound(
        runs.begin(), runs.end(), run.End(),
        [](const HighlightRun& existing, int end) { return existing.start < end; });
    const int previousEnd = next == runs.begin() ? 0 : std::prev(next)->End();
    if (run.start < previousEnd) return false;
    runs.insert(next, run);
    return true;
}

}  // namespace filters
