#include "platform/CancelSignal.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cstdint>

namespace platform {

CCancelSignal::CCancelSignal() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CCancelSignal::~CCancelSignal() {
    if (fd_ >= 0) close(fd_);
}

void CCancelSignal::Raise() {
    if (fd_ < 0) return;
    const std::uint64_t one = 1;
    // The counter is never read back, so the descriptor stays readable for good.
    [[maybe_unused]] ssize_t written = write(fd_, &one, sizeof one);
}

bool CCancelSignal::IsRaised() const {
    if (fd_ < 0) return false;
    pollfd entry{fd_, POLLIN, 0};
    return poll(&entry, 1, 0) == 1 && (entry.revents & POLLIN) != 0;
}

}  // namespace platform
