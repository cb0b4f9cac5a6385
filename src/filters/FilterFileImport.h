#pragma once
// The steps an import makes on the rows of the highlight filter dialog: the
// optional removal of every row before the file is read, and the imported
// filters appended after the rows, in file order, as new filters.

#include <vector>

#include "filters/FilterFileRecords.h"
#include "filters/HighlightFilterTakeOver.h"

namespace filters {

// Marks every row removed. True when a filter removed now had "Show as"
// switched on, so the documents' text changes.
bool RemoveAllHighlightRows(std::vector<HighlightFilterEdit>& rows);

// Appends each imported filter as a new row without a phrase at open.
void AppendImportedHighlightRows(std::vector<HighlightFilterEdit>& rows,
                                 HighlightFileImport imported);

}  // namespace filters
