#include "PollClock.h"

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

// Sleeps for the duration unless a signal arrives first.
void SleepFor(std::chrono::nanoseconds duration) {
    if (duration <= std::chrono::nanoseconds::zero()) return;
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(duration);
    timespec request{};
    request.tv_sec = static_cast<time_t>(seconds.count());
    request.tv_nsec = static_cast<long>((duration - seconds).count());
    // EINTR ends the sleep: the caller looks at the stop flag.
    nanosleep(&request, nullptr);
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

bool CPollClock::WaitForNextPoll() {
    while (!StopRequested()) {
        const auto now = Clock::now();
        if (deadline_ && now >= *deadline_) return false;
        if (now >= nextPoll_) {
            // A poll that took longer than the interval delays the next one;
            // missed polls do not pile up.
            nextPoll_ = std::max(nextPoll_ + interval_, now);
            return true;
        }
        auto until = nextPoll_;
        if (deadline_) until = std::min(until, *deadline_);
        SleepFor(until - now);
    }
    return false;
}

}  // namespace tail
