#include "core/PollFinding.h"

namespace core {

PollFinding ClassifyPoll(const PollFacts& facts) {
    if (!facts.hasHandle) return PollFinding::NoHandle;
    // A log rotated by rename and re-creation may already be as large as the
    // old one: only the identity tells the files apart.
    const bool identitiesKnown = facts.pathIdentity.IsKnown() && facts.handleIdentity.IsKnown();
    if (identitiesKnown && facts.pathIdentity != facts.handleIdentity) {
        return PollFinding::Replaced;
    }
    if (facts.pathSize > facts.readPosition) return PollFinding::Grew;
    if (facts.pathSize == facts.readPosition) return PollFinding::Unchanged;
    if (identitiesKnown) return PollFinding::Truncated;
    const std::uint64_t shrink = facts.readPosition - facts.pathSize;
    return shrink <= kShrinkTolerance ? PollFinding::ShrunkTolerated : PollFinding::Truncated;
}

}  // namespace core
