#include "filters/PhraseAlternation.h"

#include <optional>
#include <string>

#include "filters/CombinedExpression.h"
#include "filters/EmbeddablePattern.h"
#include "filters/LoneSurrogates.h"

namespace filters {

namespace {

struct Piece {
    const FilterPhrase* phrase;
    std::u16string pattern;
};

std::u16string Alternation(const std::vector<Piece>& pieces) {
    std::u16string pattern;
    for (const Piece& piece : pieces) {
        if (!pattern.empty()) pattern += u'|';
        pattern += piece.pattern;
    }
    return pattern;
}

struct Combination {
    std::shared_ptr<const CombinedExpression> expression;
    std::vector<Piece> kept;
    std::vector<Piece> refused;
};

// Two phrases may each compile alone and clash together (a group name used
// twice, a pattern grown too large). Then the pieces are added one by one and
// each that keeps the alternation from compiling is refused.
Combination Combine(std::vector<Piece> pieces) {
    Combination combination;
    combination.expression = CombinedExpression::Compile(Alternation(pieces));
    if (combination.expression != nullptr) {
        combination.kept = std::move(pieces);
        return combination;
    }
    for (Piece& piece : pieces) {
        combination.kept.push_back(std::move(piece));
        if (CombinedExpression::Compile(Alternation(combination.kept)) == nullptr) {
            combination.refused.push_back(std::move(combination.kept.back()));
            combination.kept.pop_back();
        }
    }
    if (!combination.kept.empty()) {
        combination.expression = CombinedExpression::Compile(Alternation(combination.kept));
    }
    return combination;
}

bool AnySeparateMatch(const std::vector<FilterPhrase>& phrases, std::u16string_view line) {
    for (const FilterPhrase& phrase : phrases) {
        if (MatchPhrase(phrase, line)) return true;
    }
    return false;
}

}  // namespace

PhraseAlternation::PhraseAlternation(const std::vector<const FilterPhrase*>& phrases) {
    std::vector<Piece> pieces;
    for (const FilterPhrase* phrase : phrases) {
        if (NeverMatches(*phrase)) continue;
        std::optional<std::u16string> pattern = EmbeddablePattern(*phrase);
        if (pattern) {
            pieces.push_back({phrase, std::move(*pattern)});
        } else {
            separatePhrases_.push_back(*phrase);
        }
    }
    // A single phrase is searched faster on its own than as an alternation.
    if (pieces.size() == 1) {
        separatePhrases_.push_back(*pieces.front().phrase);
        return;
    }
    if (pieces.empty()) return;
    const Combination combination = Combine(std::move(pieces));
    combined_ = combination.expression;
    for (const Piece& piece : combination.kept) combinedPhrases_.push_back(*piece.phrase);
    for (const Piece& piece : combination.refused) separatePhrases_.push_back(*piece.phrase);
}

bool PhraseAlternation::AnyMatch(std::u16string_view line, bool noSurrogates) const {
    if (line.empty()) return false;
    if (combined_ != nullptr) {
        // A line holding lone surrogates is left to the phrases one by one,
        // which search it exactly as MatchPhrase does.
        const bool lone = !noSurrogates && HasLoneSurrogate(line);
        const CombinedResult result = lone ? CombinedResult::GaveUp : combined_->Search(line);
        if (result == CombinedResult::Match) return true;
        if (result == CombinedResult::GaveUp && AnySeparateMatch(combinedPhrases_, line)) {
            return true;
        }
    }
    return AnySeparateMatch(separatePhrases_, line);
}

}  // namespace filters
