#pragma once
// What one poll of a followed file found, decided from facts gathered without
// reading any text, so the decision can be tested without files.

#include <cstdint>

#include "platform/File.h"

namespace core {

enum class PollFinding {
    NoHandle,         // the file is to be opened again; reading starts at the next poll
    Grew,             // the file holds bytes beyond the read position
    Unchanged,        // nothing new
    ShrunkTolerated,  // gone, after at most the tolerance was read: ignored for now
    Truncated,        // the same file, shorter by any amount; or gone beyond the tolerance
    Replaced,         // the path now names another file than the one held open
};

// The size of a file by its path is exact here, so the same file shorter than
// the read position was cut, by however little. A path that names nothing
// (the file was deleted) has only its size, 0, to go by: when no more than
// this was read of the file, the display stays until another file comes.
inline constexpr std::uint64_t kShrinkTolerance = 1024;

struct PollFacts {
    bool hasHandle = false;
    // The size by path; 0 when the path names nothing.
    std::uint64_t pathSize = 0;
    // Which file the path and the open handle name; unknown identities
    // (the path names nothing, or the query failed) never count as a change.
    platform::FileIdentity pathIdentity;
    platform::FileIdentity handleIdentity;
    std::uint64_t readPosition = 0;
};

PollFinding ClassifyPoll(const PollFacts& facts);

}  // namespace core
