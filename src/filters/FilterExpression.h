#pragma once
// A filter phrase compiled as a regular expression: Perl syntax, no captures,
// case folded by Unicode rules when match case is off. The compiled form is
// immutable and may be searched from several threads at once; each thread
// keeps its own match state.
//
// Searches never report an empty match, continue inside the whole line (so a
// start-of-line anchor matches only at column 0 and a word boundary sees the
// character before the continuation point), accept lines holding lone
// surrogates, and give up with "not found" when a pattern backtracks without
// end; each give-up is noted for the thread's CSearchLimitHits.

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "filters/PhraseOccurrence.h"

struct pcre2_real_code_16;

namespace filters {

class FilterExpression {
public:
    ~FilterExpression();
    FilterExpression(const FilterExpression&) = delete;
    FilterExpression& operator=(const FilterExpression&) = delete;

    // The first match that starts at or after column `from` of line.
    std::optional<PhraseOccurrence> Search(std::u16string_view line, std::size_t from) const;

    // All non-overlapping matches of line, left to right; each search after
    // the first continues right after the end of the previous match.
    std::vector<PhraseOccurrence> SearchAll(std::u16string_view line) const;

private:
    friend std::shared_ptr<const FilterExpression> CompileFilterExpression(std::u16string_view,
                                                                           bool);
    // Takes ownership of code; jitCompiled tells whether it runs as machine code.
    FilterExpression(pcre2_real_code_16* code, bool jitCompiled, std::u16string_view pattern);

    std::optional<PhraseOccurrence> SearchWellFormed(std::u16string_view subject,
                                                     std::size_t from) const;

    pcre2_real_code_16* code_;
    bool jitCompiled_;
    std::u16string pattern_;
};

// The compiled expression, or null when the pattern is not supported. Shows
// no message: a filter whose phrase does not compile simply never matches.
std::shared_ptr<const FilterExpression> CompileFilterExpression(std::u16string_view pattern,
                                                                bool matchCase);

// Searches line from column `from` (0 for the first search of a line). Not
// found when expression is null, the line is empty or `from` is at its end.
std::optional<PhraseOccurrence> SearchFilterExpression(const FilterExpression* expression,
                                                       std::u16string_view line,
                                                       std::size_t from = 0);

}  // namespace filters
