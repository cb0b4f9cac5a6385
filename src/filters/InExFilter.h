#pragma once
// One include or exclude filter. Whether it includes or excludes is given by
// the list that holds it.

#include "filters/FilterPhrase.h"

namespace filters {

struct InExFilter {
    // Text, foldedText, matchCase, regularExpression and the compiled
    // expression. The folded text and the expression are filled only while
    // the filter is enabled.
    FilterPhrase phrase;
    // The filter takes part in the decision.
    bool Enable = true;
};

}  // namespace filters
