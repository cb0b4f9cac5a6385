#pragma once
// Keeps a burst of matching lines from starting a program or a print job per
// line without end: at most kMaxRunning programs of the actions run at once,
// and the printer takes at most as many jobs at once. What comes beyond is
// dropped and counted, and the count goes to the debug output once per tick.

#include <atomic>
#include <cstddef>
#include <functional>
#include <memory>

namespace filters {

class CActionThrottle {
public:
    static constexpr int kMaxRunning = 16;

    // A place for one more program: a call that gives the place back (from
    // any thread, once, when the program has ended or could not start), or
    // an empty function when kMaxRunning programs run; that start is counted
    // as dropped.
    std::function<void()> TakeProgramPlace();
    // A print job the printer did not take.
    void CountDroppedPrintJob() { ++droppedPrintJobs_; }

    // Programs of the actions running now.
    int RunningPrograms() const { return running_->load(); }

    // Writes how many starts and print jobs were dropped since the last
    // call, when any were, to the debug output. Called once per tick.
    void ReportDropped();

private:
    // Shared with the programs still running, which may end after this.
    std::shared_ptr<std::atomic<int>> running_ = std::make_shared<std::atomic<int>>(0);
    std::size_t droppedPrograms_ = 0;
    std::size_t droppedPrintJobs_ = 0;
};

}  // namespace filters
