#pragma once
// The check made when a filter is edited: a phrase with regular expression on
// is accepted only when it compiles with the filter's match-case setting.

#include <string>
#include <string_view>

namespace filters {

inline constexpr std::u16string_view kUnsupportedExpressionMessage =
    u"The program doesn't support the following regular expression.\n\n%s";

// True when phrase compiles as a regular expression with matchCase.
bool IsSupportedExpression(std::u16string_view phrase, bool matchCase);

// The refusal message with the phrase in place of %s. The phrase is inserted
// as it is, never interpreted as a format.
std::u16string UnsupportedExpressionMessage(std::u16string_view phrase);

}  // namespace filters
