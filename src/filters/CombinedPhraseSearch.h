#pragma once
// "Does any of these phrases occur in the line?" answered with one pass over
// the line whatever the number of phrases. An ASCII line (almost every log
// line) is scanned once by the multi-pattern prefilter for the phrases it
// covers, each phrase it reports confirmed with MatchPhrase; the phrases it
// does not cover, and lines of other text, go to the expression engine's
// alternation. The answer is exactly the one MatchPhrase gives for each
// phrase in turn.

#include <cstddef>
#include <string_view>
#include <vector>

#include "filters/FilterPhrase.h"
#include "filters/PhraseAlternation.h"
#include "filters/PhrasePrefilter.h"

namespace filters {

class CombinedPhraseSearch {
public:
    CombinedPhraseSearch() = default;
    // Builds the search over the given phrases (the enabled filters of one
    // list). Phrases that can never match are left out.
    explicit CombinedPhraseSearch(const std::vector<const FilterPhrase*>& phrases);

    // True when at least one of the phrases occurs in line. noSurrogates
    // tells that the caller already knows line holds no surrogate unit, so
    // it needs no check for lone ones.
    bool AnyMatch(std::u16string_view line, bool noSurrogates = false) const;

    // How many phrases the expression engine's alternation for lines of any
    // text holds and how many it tests on their own.
    std::size_t CombinedCount() const { return all_.CombinedCount(); }
    std::size_t SeparateCount() const { return all_.SeparateCount(); }
    // How many phrases the prefilter covers on ASCII lines.
    std::size_t PrefilteredCount() const { return prefilter_.CoveredCount(); }

private:
    // The phrases in the order given, for confirming the prefilter's
    // candidates.
    std::vector<FilterPhrase> phrases_;
    PhrasePrefilter prefilter_;
    // Every phrase, for lines the prefilter cannot scan.
    PhraseAlternation all_;
    // The phrases the prefilter does not cover, for the lines it scans.
    PhraseAlternation uncovered_;
};

}  // namespace filters
