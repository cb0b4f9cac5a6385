#include "platform/DeadlineSignal.h"

#include <sys/timerfd.h>
#include <unistd.h>

namespace platform {

CDeadlineSignal::CDeadlineSignal(Clock::time_point deadline)
    : deadline_(deadline), fd_(timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC | TFD_NONBLOCK)) {
    Arm(deadline_);
}

CDeadlineSignal::~CDeadlineSignal() {
    if (fd_ >= 0) close(fd_);
}

void CDeadlineSignal::Arm(Clock::time_point at) const {
    if (fd_ < 0) return;
    // The steady clock is the monotonic clock; a time at or before its start
    // would disarm the timer, so the earliest time armed is one nanosecond.
    const auto sinceStart =
        std::chrono::duration_cast<std::chrono::nanoseconds>(at.time_since_epoch());
    const long long nanoseconds = sinceStart.count() > 0 ? sinceStart.count() : 1;
    itimerspec when{};
    when.it_value.tv_sec = static_cast<time_t>(nanoseconds / 1000000000);
    when.it_value.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    // The expiry count is never read back, so once expired the timer stays readable.
    timerfd_settime(fd_, TFD_TIMER_ABSTIME, &when, nullptr);
}

void CDeadlineSignal::Raise() {
    // Re-arming an expired timer would make it unreadable for a moment.
    if (raised_.exchange(true) || DeadlinePassed()) return;
    Arm(Clock::time_point{});
}

}  // namespace platform
