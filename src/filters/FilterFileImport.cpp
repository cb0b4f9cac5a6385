#include "filters/FilterFileImport.h"

#include <utility>

namespace filters {

void AppendImportedHighlightRows(std::vector<HighlightFilterEdit>& rows,
                                 HighlightFileImport imported) {
    rows.reserve(rows.size() + imported.filters.size());
    for (HighlightFilter& filter : imported.filters) {
        KeepInDialogRanges(filter);
        rows.push_back({std::move(filter), HighlightChangeMark::New, {}, std::nullopt});
    }
}

}  // namespace filters
