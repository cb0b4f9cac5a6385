#pragma once
// Keeps SIGPIPE from killing the process while the calling thread writes to a
// socket through code that cannot pass MSG_NOSIGNAL (the SSL library writes
// with plain write()). The signal is blocked in this thread for the guard's
// life and a SIGPIPE raised meanwhile is taken off the thread before it ends.

#include <signal.h>

namespace platform {

class CSigpipeGuard {
public:
    CSigpipeGuard();
    ~CSigpipeGuard();
    CSigpipeGuard(const CSigpipeGuard&) = delete;
    CSigpipeGuard& operator=(const CSigpipeGuard&) = delete;

private:
    sigset_t previousMask_;
    bool wasPending_ = false;
    bool blocked_ = false;
};

}  // namespace platform
