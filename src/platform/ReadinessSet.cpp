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

std::vector<int> CReadinessSet::Ready() const {
    std::vector<int> ready;
    if (fd_ < 0 || count_ == 0) return ready;
    std::vector<epoll_event> events(count_);
    int got = 0;
    do {
        got = epoll_wait(fd_, events.data(), static_cast<int>(events.size()), 0);
    } while (got < 0 && errno == EINTR);
    for (int i = 0; i < got; ++i) ready.push_back(events[static_cast<std::size_t>(i)].data.fd);
    return ready;
}

}  // namespace platform
