#pragma once
// Which part of a file the initial load reads: at most half the buffer limit
// from the logical end, measured in the units the limit counts (two bytes per
// code unit).

#include <cstdint>

#include "core/TextEncoding.h"

namespace core {

struct TailLimit {
    bool limitBufSize = true;
    std::uint32_t maxBufSiz = 0;
};

// The byte offset where loading starts, for text that starts at textStart
// (after a byte-order mark) and ends at end.
//
// UTF-16LE: with the limit on and end above it, end - maxBufSiz / 2, moved
// up by one when the distance is odd; otherwise 0. UTF-8 bytes become about
// one unit each, so a quarter of the limit is read. The start is never below
// textStart. For UTF-8 the caller moves the start on to the next sequence
// start, which only the bytes there tell.
std::uint64_t TailStart(std::uint64_t end, std::uint64_t textStart, TailLimit limit,
                        TextEncoding encoding);

}  // namespace core
