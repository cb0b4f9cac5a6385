#pragma once
// A TCP socket that owns its descriptor. It is non-blocking: every wait is an
// explicit, bounded poll, so a silent peer can never hold the caller forever.
// Sends never raise SIGPIPE.

#include <sys/socket.h>

#include <cstddef>

namespace platform {

enum class SocketEvent { Readable, Writable };
enum class SocketWait { Ready, TimedOut, Failed };

class CSocket {
public:
    CSocket() = default;
    ~CSocket();
    CSocket(CSocket&& other) noexcept;
    CSocket& operator=(CSocket&& other) noexcept;
    CSocket(const CSocket&) = delete;
    CSocket& operator=(const CSocket&) = delete;

    // Opens a stream socket of the address's family and connects it, waiting at
    // most seconds. cancelFd (or -1) ends the wait early when it becomes readable.
    bool Connect(const sockaddr* address, socklen_t length, int seconds, int cancelFd);
    // Waits until the socket is ready for the event, at most seconds.
    SocketWait Wait(SocketEvent event, int seconds, int cancelFd) const;
    // Sends what the socket takes now: bytes sent, 0 when it takes nothing yet, -1 on error.
    long Send(const char* bytes, std::size_t length);
    // Receives what has arrived: bytes received, 0 when nothing is there yet,
    // -1 when the connection failed or the peer closed it.
    long Receive(char* buffer, std::size_t capacity);

    bool IsOpen() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    void Close();

private:
    int fd_ = -1;
};

// Waits until fd is ready for the event, at most seconds; a readable cancelFd
// (unless -1) ends the wait as failed. Interrupted waits resume with the time left.
SocketWait WaitForDescriptor(int fd, SocketEvent event, int seconds, int cancelFd);

}  // namespace platform
