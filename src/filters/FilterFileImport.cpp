#include "filters/FilterFileImport.h"

#include <utility>

namespace filters {

bool RemoveAllHighlightRows(std::vector<HighlightFilterEdit>& rows) {
    bool showAsRemoved = false;
    for (HighlightFilterEdit& row : rows) {
        if (row.changeMark == HighlightChangeMark::Removed) continue;
        showAsRemoved |= row.filter.ReplaceWith;
        row.changeMark = HighlightChangeMark::Removed;
    }
    return showAsRemoved;
}

void AppendImportedHighlightRows(std::vector<HighlightFilterEdit>& rows,
                                 HighlightFileImport imported) {
    rows.reserve(rows.size() + imported.filters.size());
    for (HighlightFilter& filter : imported.filters) {
        rows.push_back({std::move(filter), HighlightChangeMark::New, {}, std::nullopt});
    }
}

}  // namespace filters
