#pragma once
// The rows of the include/exclude filter dialog: both lists in one, include
// rows first, then exclude rows, each in list order. The row order is the
// filter order; on OK each row goes back to the list of its type.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filters/InExFilter.h"
#include "filters/InExFilterList.h"

namespace filters {

struct InExFilterRow {
    std::u16string text;
    bool enable = true;
    bool matchCase = false;
    bool regularExpression = false;
    bool include = true;
};

inline constexpr std::u16string_view kEmptyFilterPhraseMessage = u"Please enter filter phrase.";

std::vector<InExFilterRow> MakeInExFilterRows(const CInExFilters& filters);

struct InExFilterLists {
    std::vector<InExFilter> include;
    std::vector<InExFilter> exclude;
};

// The two lists the rows stand for, each in display order. Only the records
// are filled: folding and compiling is left to CInExFilters::Replace.
InExFilterLists SplitInExFilterRows(const std::vector<InExFilterRow>& rows);

// The first row, from the top, that cannot be confirmed, with the message
// that says why. An empty phrase is refused before its expression is tried.
struct InExRowProblem {
    std::size_t row = 0;
    std::u16string message;
};
std::optional<InExRowProblem> FindInExRowProblem(const std::vector<InExFilterRow>& rows);

}  // namespace filters
