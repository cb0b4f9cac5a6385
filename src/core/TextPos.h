#pragma once
// A position in a text buffer: a character (UTF-16 code unit) index within a
// line and a line index, both 0-based. Positions order by line first.

#include <compare>

namespace core {

struct TextPos {
    int ch = 0;
    int line = 0;

    friend constexpr bool operator==(const TextPos&, const TextPos&) = default;
    friend constexpr std::strong_ordering operator<=>(const TextPos& a, const TextPos& b) {
        if (auto byLine = a.line <=> b.line; byLine != 0) return byLine;
        return a.ch <=> b.ch;
    }
};

}  // namespace core
