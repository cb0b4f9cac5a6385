#pragma once
// The pace of the follow loop: waits between polls, ends at the deadline,
// and lets SIGINT and SIGTERM end the run cleanly.

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

    // Sleeps until the next poll is due. False when the run is over: the
    // deadline has passed or a stop signal came.
    bool WaitForNextPoll();

private:
    using Clock = std::chrono::steady_clock;

    std::chrono::milliseconds interval_;
    std::optional<Clock::time_point> deadline_;
    Clock::time_point nextPoll_;
};

}  // namespace tail
