#pragma once
// A descriptor that becomes readable at a deadline, or earlier when raised by
// hand. Handed to socket waits as their cancel descriptor, it bounds a whole
// conversation rather than each wait, and lets an owner that closes end the
// waits at once.

#include <atomic>
#include <chrono>

namespace platform {

class CDeadlineSignal {
public:
    using Clock = std::chrono::steady_clock;

    explicit CDeadlineSignal(Clock::time_point deadline);
    ~CDeadlineSignal();
    CDeadlineSignal(const CDeadlineSignal&) = delete;
    CDeadlineSignal& operator=(const CDeadlineSignal&) = delete;

    // Makes the descriptor readable now, whatever the deadline. Safe from any thread.
    void Raise();
    bool DeadlinePassed() const { return Clock::now() >= deadline_; }
    // Readable once the deadline passed or the signal was raised; -1 if none could be made.
    int Fd() const { return fd_; }

private:
    void Arm(Clock::time_point at) const;

    Clock::time_point deadline_;
    std::atomic<bool> raised_ = false;
    int fd_ = -1;
};

}  // namespace platform
