#pragma once
// An IUiQueue for programs without a Qt event loop (the command-line tools and
// tests): posted tasks wait until the owning thread drains the queue.

#include <condition_variable>
#include <deque>
#include <mutex>

#include "platform/IUiQueue.h"

namespace platform {

class TaskQueue final : public IUiQueue {
public:
    void Post(std::function<void()> task) override;
    // Runs every task posted so far; returns how many ran.
    int Drain();
    // Waits up to timeoutMs for at least one task, then drains. Returns how many ran.
    int WaitAndDrain(int timeoutMs);

private:
    std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
};

}  // namespace platform
