#pragma once
// "Does any of these phrases occur in the line?" answered by the expression
// engine with one scan of the line: the phrases that can be embedded safely
// are joined into one alternation compiled once; the rest are tested one by
// one. The answer is exactly the one MatchPhrase gives for each phrase in
// turn.

#include <cstddef>
#include <memory>
#include <string_view>
#include <vector>

#include "filters/FilterPhrase.h"

namespace filters {

class CombinedExpression;

class PhraseAlternation {
public:
    PhraseAlternation() = default;
    // Builds the search over the given phrases (the enabled filters of one
    // list). Phrases that can never match are left out.
    explicit PhraseAlternation(const std::vector<const FilterPhrase*>& phrases);

    // True when at least one of the phrases occurs in line. noSurrogates
    // tells that the caller already knows line holds no surrogate unit, so
    // it needs no check for lone ones.
    bool AnyMatch(std::u16string_view line, bool noSurrogates = false) const;

    // How many phrases the combined expression holds and how many are tested
    // on their own.
    std::size_t CombinedCount() const { return combinedPhrases_.size(); }
    std::size_t SeparateCount() const { return separatePhrases_.size(); }

private:
    std::shared_ptr<const CombinedExpression> combined_;
    // The phrases inside the combined expression, tested one by one when the
    // combined search gives up (a match limit, or a line the expression
    // cannot search as it is).
    std::vector<FilterPhrase> combinedPhrases_;
    std::vector<FilterPhrase> separatePhrases_;
};

}  // namespace filters
