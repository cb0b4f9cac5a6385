#include "filters/FilterPhrase.h"

#include "filters/AsciiFold.h"
#include "filters/PhraseSearch.h"

namespace filters {

void FilterPhrase::Assign(std::u16string_view phrase, bool matchCaseOn, bool regularExpressionOn) {
    text.assign(phrase);
    foldedText = FoldedAsciiLower(phrase);
    matchCase = matchCaseOn;
    regularExpression = regularExpressionOn;
    expression = regularExpression ? CompileFilterExpression(text, matchCase) : nullptr;
}

bool MatchPhrase(const FilterPhrase& filter, std::u16string_view line) {
    if (filter.regularExpression) {
        return SearchFilterExpression(filter.expression.get(), line).has_value();
    }
    return FindPhrase(line, filter.text, 0, !filter.matchCase) != std::u16string_view::npos;
}

std::vector<PhraseOccurrence> ScanOccurrences(const FilterPhrase& filter,
                                              std::u16string_view searchText) {
    if (filter.regularExpression) {
        if (filter.expression == nullptr) return {};
        return filter.expression->SearchAll(searchText);
    }
    std::vector<PhraseOccurrence> occurrences;
    const std::size_t length = filter.text.size();
    std::size_t at = 0;
    while ((at = FindPhrase(searchText, filter.text, at, !filter.matchCase)) !=
           std::u16string_view::npos) {
        occurrences.push_back({at, length});
        at += length;
    }
    return occurrences;
}

bool StoreKeepsPhrase(std::u16string_view text) {
    return !text.empty() && text.front() != u'\0';
}

}  // namespace filters
