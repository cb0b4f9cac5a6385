#pragma once
// How long the polls of one refresh tick may go on reading. A backlog larger
// than a tick can take in (a burst, or everything written while a document was
// paused) is read over several polls, so that the user-interface thread
// paints and answers between them. Time comes from the clock port, so tests
// decide when a budget is spent.

#include <cstdint>

#include "platform/IClock.h"

namespace core {

class CPollBudget {
public:
    // The reading time of one tick, leaving room within the 60 ms the user
    // should never wait for a tick, painting included.
    static constexpr std::uint64_t kTickMs = 35;

    // Never spent: the poll reads all it found.
    CPollBudget() = default;
    CPollBudget(const platform::IClock& clock, std::uint64_t ms)
        : clock_(&clock), endMs_(clock.TickMs() + ms) {}

    bool IsSpent() const { return clock_ != nullptr && clock_->TickMs() >= endMs_; }

private:
    const platform::IClock* clock_ = nullptr;
    std::uint64_t endMs_ = 0;
};

}  // namespace core
