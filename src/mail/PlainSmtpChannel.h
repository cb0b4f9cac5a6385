#pragma once
// An SMTP conversation over a plain TCP connection.

#include "mail/SmtpChannel.h"
#include "platform/Socket.h"

namespace mail {

// Commands and data go out in pieces of at most this many bytes.
inline constexpr std::size_t kLargestSocketSend = 1400;

class CPlainSmtpChannel final : public CSmtpChannel {
public:
    // The channel uses the connected socket; cancelFd (or -1) ends its waits early.
    CPlainSmtpChannel(platform::CSocket& socket, int cancelFd);

    long long SendWithTimeout(std::string_view bytes, int seconds) override;

protected:
    long ReadSome(char* buffer, std::size_t capacity, int seconds) override;

private:
    platform::CSocket& socket_;
    int cancelFd_;
};

}  // namespace mail
