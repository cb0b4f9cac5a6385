#include "mail/PlainSmtpChannel.h"

#include <algorithm>

namespace mail {

using platform::SocketEvent;
using platform::SocketWait;

CPlainSmtpChannel::CPlainSmtpChannel(platform::CSocket& socket, int cancelFd)
    : socket_(socket), cancelFd_(cancelFd) {}

long long CPlainSmtpChannel::SendWithTimeout(std::string_view bytes, int seconds) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (socket_.Wait(SocketEvent::Writable, seconds, cancelFd_) != SocketWait::Ready) break;
        const std::size_t piece = std::min(kLargestSocketSend, bytes.size() - sent);
        const long result = socket_.Send(bytes.data() + sent, piece);
        if (result < 0) return -1;
        sent += static_cast<std::size_t>(result);
    }
    return static_cast<long long>(sent);
}

long CPlainSmtpChannel::ReadSome(char* buffer, std::size_t capacity, int seconds) {
    for (;;) {
        switch (socket_.Wait(SocketEvent::Readable, seconds, cancelFd_)) {
            case SocketWait::TimedOut:
                return 0;
            case SocketWait::Failed:
                return -1;
            case SocketWait::Ready:
                break;
        }
        const long result = socket_.Receive(buffer, capacity);
        if (result != 0) return result;
    }
}

}  // namespace mail
