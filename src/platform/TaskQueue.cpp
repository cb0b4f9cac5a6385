#include "platform/TaskQueue.h"

#include <chrono>

namespace platform {

void TaskQueue::Post(std::function<void()> task) {
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_one();
}

int TaskQueue::Drain() {
    std::deque<std::function<void()>> ready;
    {
        std::lock_guard lock(mutex_);
        ready.swap(tasks_);
    }
    int ran = 0;
    for (auto& task : ready) {
        task();
        ++ran;
    }
    return ran;
}

int TaskQueue::WaitAndDrain(int timeoutMs) {
    {
        std::unique_lock lock(mutex_);
        posted_.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                         [this] { return !tasks_.empty(); });
    }
    return Drain();
}

}  // namespace platform
