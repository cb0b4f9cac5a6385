#pragma once
// Turns one phrase into a piece of a larger alternation that matches exactly
// what the phrase alone matches, or tells that it cannot be embedded safely.
//
// Every piece is a group of its own. Plain phrases become literals, with only
// A..Z/a..z written as two-letter classes when case does not matter (a
// caseless flag would fold by Unicode rules, e.g. K with the Kelvin sign).
// Expressions keep their own case setting inside their group; those whose
// meaning depends on their place in the whole pattern (references to groups
// by number, recursion, verbs, \G, \K) or that reach past their own end (an
// unterminated \Q, a comment of extended syntax) are refused.

#include <optional>
#include <string>

#include "filters/FilterPhrase.h"

namespace filters {

// The piece for phrase, or nullopt when it must be tested on its own. A phrase
// that can never match (empty text, an expression that did not compile) also
// gives nullopt; NeverMatches tells those apart.
std::optional<std::u16string> EmbeddablePattern(const FilterPhrase& phrase);

// True when MatchPhrase can never find the phrase in any line.
bool NeverMatches(const FilterPhrase& phrase);

}  // namespace filters
