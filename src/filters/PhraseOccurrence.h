#pragma once
// Where a phrase was found in a line: columns in UTF-16 code units from the
// start of the line.

#include <cstddef>

namespace filters {

struct PhraseOccurrence {
    std::size_t start = 0;
    std::size_t length = 0;

    bool operator==(const PhraseOccurrence&) const = default;
};

}  // namespace filters
