#pragma once
// How long the polls of one refresh tick may go on reading. A backlog larger
// than a tick can take in (a burst, or everything written while a document was
// paused) is read over several polls, so that the user-interface thread
// paints and answers between them. Time comes from the clock port, so tests
// decide when a budget is spent.

#include <algorithm>
#include <cstddef>
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

    bool IsSpent() const { return clock_ != nullptr && IsSpentAt(clock_->TickMs()); }
    bool IsSpentAt(std::uint64_t nowMs) const { return clock_ != nullptr && nowMs >= endMs_; }
    // Whether time counts at all, and the time now (0 when it does not).
    bool IsTimed() const { return clock_ != nullptr; }
    std::uint64_t NowMs() const { return clock_ != nullptr ? clock_->TickMs() : 0; }

private:
    const platform::IClock* clock_ = nullptr;
    std::uint64_t endMs_ = 0;
};

// How much one read of a document's polls takes. The budget is looked at
// only between reads, and all a read brings is filtered, appended and acted
// on before that: lines that are slow to filter (a pathological expression
// against hostile lines) would let one large read hold the tick for seconds.
// So reads start small, double while one takes no longer than a tick's
// budget, and shrink in proportion when one took longer. Without a timed
// budget a read takes all it may.
class CReadPace {
public:
    static constexpr std::size_t kFirstUnits = 16384;
    static constexpr std::size_t kLeastUnits = 1024;

    explicit CReadPace(std::size_t mostUnits)
        : mostUnits_(mostUnits), units_(std::min(kFirstUnits, mostUnits)) {}

    std::size_t Units(const CPollBudget& budget) const {
        return budget.IsTimed() ? units_ : mostUnits_;
    }
    // A read under a timed budget took elapsedMs, filtering included.
    void Took(std::uint64_t elapsedMs) {
        if (elapsedMs <= CPollBudget::kTickMs) {
            units_ = std::min(mostUnits_, units_ * 2);
        } else {
            const std::uint64_t scaled = units_ * CPollBudget::kTickMs / elapsedMs;
            units_ = std::max<std::size_t>(std::min(kLeastUnits, mostUnits_),
                                           static_cast<std::size_t>(scaled));
        }
    }

private:
    std::size_t mostUnits_;
    std::size_t units_;
};

}  // namespace core
