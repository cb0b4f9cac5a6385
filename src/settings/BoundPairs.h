#pragma once
// The pairs of bound characters between which a double-click selects text.
// In the editing box each pair is one line: the left character, then the
// right one.

#include <string>
#include <string_view>

namespace settings {

struct BoundPairs {
    std::u16string left;
    std::u16string right;  // right[i] closes left[i]

    bool operator==(const BoundPairs&) const = default;
};

// One pair from each line that has at least two characters before its end;
// the rest of such a line is ignored. At most 511 pairs are kept.
BoundPairs ParseBoundPairs(std::u16string_view text);

// The editing box text: left, right and a line break for each pair.
std::u16string BoundPairsText(std::u16string_view left, std::u16string_view right);

}  // namespace settings
