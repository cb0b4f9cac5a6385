#pragma once
// The phrase every filter carries, with its two switches, and the one place
// that decides whether and where it occurs in a line.
//
// Plain phrases without match case fold only A..Z; the search folds as it
// compares, so the same answer comes from a line or from its folded copy and
// no folded copy of a line is needed. Regular expressions handle case
// themselves (Unicode folding) and are always searched in the line itself.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "filters/FilterExpression.h"
#include "filters/PhraseOccurrence.h"

namespace filters {

struct FilterPhrase {
    std::u16string text;
    // text folded with FoldAsciiLower.
    std::u16string foldedText;
    bool matchCase = false;
    bool regularExpression = false;
    // Present only when regularExpression is on and text compiled; a regular
    // expression without it never matches.
    std::shared_ptr<const FilterExpression> expression;

    // Sets the phrase and its switches, refreshing the folded copy and the
    // compiled expression (compiled here once, never per line).
    void Assign(std::u16string_view phrase, bool matchCaseOn, bool regularExpressionOn);
};

// Whether the phrase occurs in line. Empty matches and empty phrases never
// count.
bool MatchPhrase(const FilterPhrase& filter, std::u16string_view line);

// All non-overlapping occurrences in searchText, left to right, as columns of
// searchText (the line or, for a plain phrase without match case, possibly its
// folded copy). Each search after the first continues right after the end of
// the previous occurrence; for an expression the text before that point still
// counts for anchors and word boundaries.
std::vector<PhraseOccurrence> ScanOccurrences(const FilterPhrase& filter,
                                              std::u16string_view searchText);

// Whether a stored list can give text back as a phrase: the settings store
// keeps a string only up to its first NUL, and an empty phrase ends a stored
// list, hiding every filter after it.
bool StoreKeepsPhrase(std::u16string_view text);

}  // namespace filters
