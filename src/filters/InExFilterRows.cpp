#include "filters/InExFilterRows.h"

#include "filters/ExpressionValidation.h"

namespace filters {

namespace {

void AppendRows(const std::vector<InExFilter>& list, bool include,
                std::vector<InExFilterRow>& rows) {
    for (const InExFilter& filter : list) {
        rows.push_back({filter.phrase.text, filter.Enable, filter.phrase.matchCase,
                        filter.phrase.regularExpression, include});
    }
}

}  // namespace

std::vector<InExFilterRow> MakeInExFilterRows(const CInExFilters& filters) {
    std::vector<InExFilterRow> rows;
    rows.reserve(filters.Include().size() + filters.Exclude().size());
    AppendRows(filters.Include(), true, rows);
    AppendRows(filters.Exclude(), false, rows);
    return rows;
}

InExFilterLists SplitInExFilterRows(const std::vector<InExFilterRow>& rows) {
    InExFilterLists lists;
    for (const InExFilterRow& row : rows) {
        InExFilter filter;
        filter.phrase.text = row.text;
        filter.phrase.matchCase = row.matchCase;
        filter.phrase.regularExpression = row.regularExpression;
        filter.Enable = row.enable;
        (row.include ? lists.include : lists.exclude).push_back(std::move(filter));
    }
    return lists;
}

std::optional<InExRowProblem> FindInExRowProblem(const std::vector<InExFilterRow>& rows) {
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const InExFilterRow& row = rows[i];
        if (row.text.empty()) return InExRowProblem{i, std::u16string(kEmptyFilterPhraseMessage)};
        if (row.regularExpression && !IsSupportedExpression(row.text, row.matchCase)) {
            return InExRowProblem{i, UnsupportedExpressionMessage(row.text)};
        }
    }
    return std::nullopt;
}

}  // namespace filters
