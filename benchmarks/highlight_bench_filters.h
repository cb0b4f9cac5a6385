#pragma once
// Building highlight filters for the benchmarks: a colour pair from one
// colour, and "Show as" filters.

#include <cstdint>
#include <string_view>

#include "filters/HighlightFilter.h"

namespace bench {

inline filters::HighlightFilter MakeFilter(std::u16string_view phrase, bool matchCase,
                                           bool expression, bool entireLine, std::uint32_t color) {
    filters::HighlightFilter filter;
    filter.phrase.Assign(phrase, matchCase, expression);
    filter.TextColor = color;
    filter.BkgColor = ~color & 0x00FFFFFF;
    filter.HighlightEntireLine = entireLine;
    filter.Enable = true;
    return filter;
}

inline filters::HighlightFilter ShowAs(std::u16string_view phrase, bool expression,
                                       std::u16string_view shown) {
    filters::HighlightFilter filter = MakeFilter(phrase, false, expression, false, 0x0000FF);
    filter.ReplaceWith = true;
    filter.ReplaceText = shown;
    return filter;
}

}  // namespace bench
