#include "platform/SigpipeGuard.h"

#include <pthread.h>

#include <cerrno>
#include <ctime>

namespace platform {

namespace {

sigset_t SigpipeOnly() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

bool IsSigpipePending() {
    sigset_t pending;
    sigemptyset(&pending);
    return sigpending(&pending) == 0 && sigismember(&pending, SIGPIPE) == 1;
}

}  // namespace

CSigpipeGuard::CSigpipeGuard() {
    // A SIGPIPE that was pending before belongs to someone else; leave it alone.
    wasPending_ = IsSigpipePending();
    const sigset_t set = SigpipeOnly();
    blocked_ = pthread_sigmask(SIG_BLOCK, &set, &previousMask_) == 0;
}

CSigpipeGuard::~CSigpipeGuard() {
    if (!blocked_) return;
    if (!wasPending_ && IsSigpipePending()) {
        const sigset_t set = SigpipeOnly();
        const timespec noWait{0, 0};
        while (sigtimedwait(&set, nullptr, &noWait) == -1 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

}  // namespace platform
