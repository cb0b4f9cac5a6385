#pragma once
// Writes a phrase as a pattern of the multi-pattern prefilter, which searches
// lines of ASCII characters as bytes. On such a line the pattern must find
// every match the phrase finds (more is harmless: each candidate is confirmed
// with MatchPhrase).
//
// Only a small, well-understood part of the expression syntax is taken over:
// literals, ., ^, $, |, non-capturing groups, greedy and lazy quantifiers,
// classes of ASCII characters, \b, \B, and \d \w \s with their negations,
// written out as explicit classes so that no shorthand of either engine
// decides. Anything else (lookaround, inline options, references, verbs,
// \Q, properties, possessive quantifiers, non-ASCII characters) leaves the
// phrase to the expression engine alone.

#include <optional>
#include <string>

#include "filters/FilterPhrase.h"

namespace filters {

struct PrefilterPattern {
    // ASCII text in the prefilter's syntax.
    std::string expression;
    // ASCII letters compare without case.
    bool caseless = false;
};

// The pattern for phrase, or nullopt when the phrase is not taken over. A
// phrase that never matches gives nullopt too.
std::optional<PrefilterPattern> AsciiPrefilterPattern(const FilterPhrase& phrase);

}  // namespace filters
