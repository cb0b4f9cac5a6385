#pragma once
// The pace of the follow loop: waits between polls, wakes early for file
// events and for event polls held back by their gap, ends at the deadline,
// and lets SIGINT and SIGTERM end the run cleanly. The interval is the
// longest wait.

#include <chrono>
#include <cstdint>
#include <optional>

namespace tail {

class CPollClock {
public:
    CPollClock(std::uint32_t intervalMs, std::optional<double> durationSeconds);

    // Installs the handlers of SIGINT and SIGTERM (once per process).
    static void CatchStopSignals();
    static bool StopRequested();

    enum class Wake {
        Over,     // the deadline has passed or a stop signal came
        Tick,     // the interval is over: poll every document
        Events,   // the event descriptor is readable
        DuePoll,  // an event poll held back by its gap is due
    };

    // Sleeps until the next tick, until the event descriptor (-1: none) is
    // readable, or until dueIn has passed (none: no event poll waits).
    Wake WaitForWake(int eventDescriptor, std::optional<std::chrono::milliseconds> dueIn);
    // The ticks in the coming `idle` would have nothing to do (none: no
    // tick has until a wake says otherwise): the next one waits until it
    // is over. A tick already due stays due.
    void SkipIdleTicks(std::optional<std::chrono::milliseconds> idle);

private:
    using Clock = std::chrono::steady_clock;

    std::chrono::milliseconds interval_;
    std::optional<Clock::time_point> deadline_;
    Clock::time_point nextPoll_;
};

}  // namespace tail
