#include "platform/Socket.h"

#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <utility>

namespace platform {

namespace {

int RemainingMilliseconds(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

}  // namespace

SocketWait WaitForDescriptor(int fd, SocketEvent event, int seconds, int cancelFd) {
    if (fd < 0) return SocketWait::Failed;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(seconds > 0 ? seconds : 0);
    pollfd entries[2] = {
        {fd, static_cast<short>(event == SocketEvent::Readable ? POLLIN : POLLOUT), 0},
        {cancelFd, POLLIN, 0}};
    const nfds_t count = cancelFd >= 0 ? 2 : 1;
    for (;;) {
        entries[0].revents = entries[1].revents = 0;
        const int ready = poll(entries, count, RemainingMilliseconds(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready < 0) return SocketWait::Failed;
        if (ready == 0) return SocketWait::TimedOut;
        // Errors and hang-ups count as ready: the following call reports them. A
        // socket that is ready wins over the cancel signal, which ends only waits.
        if (entries[0].revents != 0) return SocketWait::Ready;
        return SocketWait::Failed;
    }
}

CSocket::~CSocket() {
    Close();
}

CSocket::CSocket(CSocket&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

CSocket& CSocket::operator=(CSocket&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
}

void CSocket::Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
}

bool CSocket::Connect(const sockaddr* address, socklen_t length, int seconds, int cancelFd) {
    Close();
    fd_ = socket(address->sa_family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd_ < 0) return false;
#ifdef SO_NOSIGPIPE
    const int on = 1;
    setsockopt(fd_, SOL_SOCKET, SO_NOSIGPIPE, &on, sizeof on);
#endif
    if (connect(fd_, address, length) == 0) return true;
    if (errno != EINPROGRESS) {
        Close();
        return false;
    }
    int error = 0;
    socklen_t errorLength = sizeof error;
    if (Wait(SocketEvent::Writable, seconds, cancelFd) != SocketWait::Ready ||
        getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &errorLength) != 0 || error != 0) {
        Close();
        return false;
    }
    return true;
}

SocketWait CSocket::Wait(SocketEvent event, int seconds, int cancelFd) const {
    return WaitForDescriptor(fd_, event, seconds, cancelFd);
}

long CSocket::Send(const char* bytes, std::size_t length) {
    if (fd_ < 0) return -1;
#ifdef MSG_NOSIGNAL
    const int flags = MSG_NOSIGNAL;
#else
    const int flags = 0;
#endif
    for (;;) {
        const ssize_t sent = send(fd_, bytes, length, flags);
        if (sent >= 0) return static_cast<long>(sent);
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

long CSocket::Receive(char* buffer, std::size_t capacity) {
    if (fd_ < 0) return -1;
    for (;;) {
        const ssize_t received = recv(fd_, buffer, capacity, 0);
        if (received > 0) return static_cast<long>(received);
        if (received == 0) return -1;
        if (errno == EINTR) continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? 0 : -1;
    }
}

}  // namespace platform
