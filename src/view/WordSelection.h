#pragma once
// What a double-click (or Ctrl+click) in the text selects: the text between
// a pair of bound characters around the click, or the word under it.

#include <string_view>

namespace view {

struct CharRange {
    int start = 0;
    int end = 0;  // exclusive
    bool operator==(const CharRange&) const = default;
};

struct BoundPairs {
    bool specialSelect = true;
    // Paired by position: the n-th left bound closes with the n-th right one.
    std::u16string_view left;
    std::u16string_view right;
};

// The nearest left bound before the click wins, whatever lies between it and
// the click; the range then runs to the first matching right bound at or
// after the click, or to the line end. Without a bound it is the run of
// letters, digits and underscores around the click.
CharRange WordOrBoundRange(std::u16string_view line, int click, const BoundPairs& bounds);

}  // namespace view
