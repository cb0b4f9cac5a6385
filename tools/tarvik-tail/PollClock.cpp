#include "PollClock.h"

#include <poll.h>
#include <signal.h>
#include <time.h>

#include <algorithm>
#include <cerrno>

namespace tail {

namespace {

volatile sig_atomic_t stopRequested = 0;

void OnStopSignal(int /*signal*/) {
    stopRequested = 1;
}

// Sleeps for the duration unless a signal arrives first or the descriptor
// (-1: none) becomes readable; true when it did.
bool SleepFor(std::chrono::nanoseconds duration, int descriptor) {
    if (duration < std::chrono::nanoseconds::zero()) duration = std::chrono::nanoseconds::zero();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    timespec timeout{};
    timeout.tv_sec = static_cast<time_t>(seconds.count());
    timeout.tv_nsec = static_cast<long>((duration - seconds).count());
    pollfd ready{descriptor, POLLIN, 0};
    // EINTR ends the sleep: the caller looks at the stop flag.
    return ::ppoll(&ready, descriptor >= 0 ? 1 : 0, &timeout, nullptr) == 1 &&
           (ready.revents & POLLIN) != 0;
}

}  // namespace

CPollClock::CPollClock(std::uint32_t intervalMs, std::optional<double> durationSeconds)
    : interval_(intervalMs), nextPoll_(Clock::now() + interval_) {
    if (durationSeconds) {
        deadline_ = Clock::now() + std::chrono::duration_cast<Clock::duration>(
                                       std::chrono::duration<double>(*durationSeconds));
    }
}

void CPollClock::CatchStopSignals() {
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no restart: a signal ends the sleep at once
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool CPollClock::StopRequested() {
    return stopRequested != 0;
}

void CPollClock::SkipIdleTicks(std::optional<std::chrono::milliseconds> idle) {
    // Without work in sight the deadline, a signal, events or a due poll wake.
    constexpr auto kLongest = std::chrono::hours(1);
    const auto until = Clock::now() + std::min<Clock::duration>(idle.value_or(kLongest), kLongest);
    nextPoll_ = std::max(nextPoll_, until);
}

CPollClock::Wake CPollClock::WaitForWake(int eventDescriptor,
                                         std::optional<std::chrono::milliseconds> dueIn) {
    const auto start = Clock::now();
    const std::optional<Clock::time_point> due =
        dueIn ? std::optional<Clock::time_point>(start + *dueIn) : std::nullopt;
    while (!StopRequested()) {
        const auto now = Clock::now();
        if (deadline_ && now >= *deadline_) return Wake::Over;
        if (now >= nextPoll_) {
            // A poll that took longer than the interval delays the next one;
            // missed polls do not pile up.
            nextPoll_ = std::max(nextPoll_ + interval_, now);
            return Wake::Tick;
        }
        if (due && now >= *due) return Wake::DuePoll;
        auto until = nextPoll_;
        if (deadline_) until = std::min(until, *deadline_);
        if (due) until = std::min(until, *due);
        if (SleepFor(until - now, eventDescriptor)) return Wake::Events;
    }
    return Wake::Over;
}

}  // namespace tail
