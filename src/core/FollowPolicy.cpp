#include "core/FollowPolicy.h"

namespace core {

bool DecideFollowEnd(const FollowFacts& facts) {
    return facts.view == nullptr || facts.caretAtEnd;
}

}  // namespace core
