#pragma once
// One alternation of several phrases, compiled once with the options of the
// phrase matcher's expressions (Perl syntax, UTF-16 with Unicode properties,
// no captures) and searched for any non-empty match in a line.
//
// Unlike a single expression, the search tells "no match" from "gave up": a
// search that hits the match limit says nothing about each phrase alone, so
// the caller then tests them one by one.

#include <memory>
#include <string_view>

struct pcre2_real_code_16;

namespace filters {

enum class CombinedResult { NoMatch, Match, GaveUp };

class CombinedExpression {
public:
    ~CombinedExpression();
    CombinedExpression(const CombinedExpression&) = delete;
    CombinedExpression& operator=(const CombinedExpression&) = delete;

    // The compiled alternation, or null when the pattern does not compile.
    static std::shared_ptr<const CombinedExpression> Compile(std::u16string_view pattern);

    // True when the closing parenthesis at the end of wrappedPiece (a group
    // around one phrase's pattern) really closes that group, so that what
    // follows it in the alternation stays outside: one more parenthesis must
    // then be the unmatched one. A piece that swallows what follows it (an
    // unterminated \Q, a comment of extended syntax) fails this test.
    static bool ClosesItsGroup(std::u16string_view wrappedPiece);

    // Searches a well-formed line (no lone surrogates) from its start.
    CombinedResult Search(std::u16string_view line) const;

private:
    CombinedExpression(pcre2_real_code_16* code, bool jitCompiled);

    pcre2_real_code_16* code_;
    bool jitCompiled_;
};

}  // namespace filters
