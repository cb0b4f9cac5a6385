#include "platform/ChildReaper.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

namespace platform {

namespace {

// How often children without a process descriptor are looked at.
constexpr int kRecheckMs = 250;

int OpenProcessDescriptor(pid_t pid) {
    return static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
}

class CChildReaper {
public:
    void Adopt(pid_t pid, std::function<void()> onEnded) {
        const int pidfd = OpenProcessDescriptor(pid);
        std::vector<std::function<void()>> ended;
        {
            std::lock_guard lock(mutex_);
            children_.push_back({pid, pidfd, std::move(onEnded)});
            if (!running_) StartThread();
            // Without a thread the callers take its part.
            if (!running_) CollectEnded(ended);
        }
        Wake();
        for (auto& callback : ended) callback();
    }

private:
    struct Child {
        pid_t pid;
        int pidfd;
        std::function<void()> onEnded;
    };

    void StartThread() {
        if (wakeFd_ < 0) wakeFd_ = eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
        if (wakeFd_ < 0) return;
        try {
            std::thread([this] { Run(); }).detach();
            running_ = true;
        } catch (const std::system_error&) {
        }
    }

    void Wake() {
        if (wakeFd_ < 0) return;
        const std::uint64_t one = 1;
        [[maybe_unused]] const ssize_t written = write(wakeFd_, &one, sizeof one);
    }

    // Reaps what has ended; their callbacks go to ended. Called under the lock.
    void CollectEnded(std::vector<std::function<void()>>& ended) {
        for (auto it = children_.begin(); it != children_.end();) {
            int status = 0;
            pid_t got;
            do {
                got = waitpid(it->pid, &status, WNOHANG);
            } while (got < 0 && errno == EINTR);
            // ECHILD: someone else reaped it; it is gone either way.
            if (got == 0) {
                ++it;
                continue;
            }
            if (it->pidfd >= 0) close(it->pidfd);
            if (it->onEnded) ended.push_back(std::move(it->onEnded));
            it = children_.erase(it);
        }
    }

    void Run() {
        std::vector<pollfd> watched;
        for (;;) {
            int timeout = -1;
            watched.clear();
            watched.push_back({wakeFd_, POLLIN, 0});
            {
                std::lock_guard lock(mutex_);
                for (const Child& child : children_) {
                    if (child.pidfd >= 0) {
                        watched.push_back({child.pidfd, POLLIN, 0});
                    } else {
                        timeout = kRecheckMs;
                    }
                }
            }
            if (poll(watched.data(), watched.size(), timeout) < 0 && errno != EINTR) {
                // Nothing sensible can be watched: look again after a while.
                std::this_thread::sleep_for(std::chrono::milliseconds(kRecheckMs));
            }
            std::uint64_t count = 0;
            [[maybe_unused]] const ssize_t got = read(wakeFd_, &count, sizeof count);
            std::vector<std::function<void()>> ended;
            {
                std::lock_guard lock(mutex_);
                CollectEnded(ended);
            }
            for (auto& callback : ended) callback();
        }
    }

    std::mutex mutex_;
    std::vector<Child> children_;
    int wakeFd_ = -1;
    bool running_ = false;
};

}  // namespace

void ReapWhenEnded(pid_t pid, std::function<void()> onEnded) {
    // Lives as long as the process: its thread never ends.
    static CChildReaper* const reaper = new CChildReaper;
    reaper->Adopt(pid, std::move(onEnded));
}

}  // namespace platform
