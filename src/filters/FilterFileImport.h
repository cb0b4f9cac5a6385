#pragma once
// What an import makes of the filters read from a file in the highlight
// filter dialog: rows appended after the others, in file order, as new
// filters.

#include <vector>

#include "filters/FilterFileRecords.h"
#include "filters/HighlightFilterTakeOver.h"

namespace filters {

// Appends each imported filter as a new row without a phrase at open.
void AppendImportedHighlightRows(std::vector<HighlightFilterEdit>& rows,
                                 HighlightFileImport imported);

}  // namespace filters
