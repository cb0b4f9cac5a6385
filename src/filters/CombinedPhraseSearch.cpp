#include "filters/CombinedPhraseSearch.h"

namespace filters {

CombinedPhraseSearch::CombinedPhraseSearch(const std::vector<const FilterPhrase*>& phrases)
    : prefilter_(phrases), all_(phrases) {
    for (const FilterPhrase* phrase : phrases) phrases_.push_back(*phrase);
    std::vector<const FilterPhrase*> uncovered;
    for (std::size_t i = 0; i < phrases.size(); ++i) {
        if (!prefilter_.Covers(i)) uncovered.push_back(phrases[i]);
    }
    if (prefilter_.CoveredCount() > 0) uncovered_ = PhraseAlternation(uncovered);
}

bool CombinedPhraseSearch::AnyMatch(std::u16string_view line, bool noSurrogates) const {
    if (line.empty()) return false;
    auto confirmed = [&](std::size_t i) { return MatchPhrase(phrases_[i], line); };
    switch (prefilter_.ScanLine(line, confirmed)) {
        case PhrasePrefilter::Scan::Stopped:
            return true;
        case PhrasePrefilter::Scan::Finished:
            // An ASCII line holds no surrogate.
            return uncovered_.AnyMatch(line, true);
        case PhrasePrefilter::Scan::NotAscii:
            break;
    }
    return all_.AnyMatch(line, noSurrogates);
}

}  // namespace filters
