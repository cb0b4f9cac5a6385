#pragma once
// The normalisation every piece of new text goes through before it is
// filtered and shown: line breaks become single LFs and control characters
// become spaces.

#include <cstddef>

namespace core {

// Works in place on n units and writes a terminating 0 after the result
// (text must have room for n + 1 units). Returns the new length.
//
// CR LF, LF CR, CR and LF each become one LF. A CR or LF that is the last
// unit becomes one LF whatever the next piece of text brings; a reader that
// must not see a pair split between two pieces as two breaks drops the
// partner with CLineBreakCarry. TAB, 0x20-0x7E and every unit
// above 0x7F stay; the other units below 0x20 and 0x7F become spaces when
// showSpaceForBadChar is on, else they stay.
std::size_t NormalizeText(char16_t* text, std::size_t n, bool showSpaceForBadChar);

}  // namespace core
