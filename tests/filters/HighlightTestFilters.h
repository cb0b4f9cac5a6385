#pragma once
// Building highlight filters for tests.

#include <cstdint>
#include <string_view>

#include "filters/HighlightFilter.h"

namespace filters::highlight_test {

enum class Kind { Plain, MatchCase, Expression };

inline HighlightFilter Filter(std::u16string_view phrase, std::uint32_t color,
                              Kind kind = Kind::Plain) {
    HighlightFilter filter;
    filter.phrase.Assign(phrase, kind == Kind::MatchCase, kind == Kind::Expression);
    filter.TextColor = color;
    filter.BkgColor = color + 0x100;
    filter.Enable = true;
    return filter;
}

inline HighlightFilter EntireLine(std::u16string_view phrase, std::uint32_t color,
                                  Kind kind = Kind::Plain) {
    HighlightFilter filter = Filter(phrase, color, kind);
    filter.HighlightEntireLine = true;
    return filter;
}

inline HighlightFilter ShowAs(std::u16string_view phrase, std::u16string_view shown,
                              std::uint32_t color, Kind kind = Kind::Plain) {
    HighlightFilter filter = Filter(phrase, color, kind);
    filter.ReplaceWith = true;
    filter.ReplaceText = shown;
    return filter;
}

}  // namespace filters::highlight_test
