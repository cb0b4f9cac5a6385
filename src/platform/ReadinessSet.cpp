#include "platform/ReadinessSet.h"

#include <sys/epoll.h>
#include <unistd.h>

#include <cerrno>

namespace platform {

CReadinessSet::CReadinessSet() : fd_(epoll_create1(EPOLL_CLOEXEC)) {}

CReadinessSet::~CReadinessSet() {
    if (fd_ >= 0) close(fd_);
}

bool CReadinessSet::Add(int descriptor) {
    if (fd_ < 0 || descriptor < 0) return false;
    epoll_event event{};
    event.events = EPOLLIN;
    event.data.fd = descriptor;
    if (epoll_ctl(fd_, EPOLL_CTL_ADD, descriptor, &event) != 0) return errno == EEXIST;
    ++count_;
    return true;
}

void CReadinessSet::Remove(int descriptor) {
    if (fd_ < 0 || descriptor < 0) return;
    if (epoll_ctl(fd_, EPOLL_CTL_DEL, descriptor, nullptr) == 0 && count_ > 0) --count_;
}

void CReadinessSet::Ready(std::vector<int>& ready) const {
    ready.clear();
    if (fd_ < 0 || count_ == 0) return;
    constexpr int kAtOnce = 64;
    epoll_event events[kAtOnce];
    int got = 0;
    do {
        got = epoll_wait(fd_, events, kAtOnce, 0);
    } while (got < 0 && errno == EINTR);
    for (int i = 0; i < got; ++i) ready.push_back(events[i].data.fd);
}

}  // namespace platform
