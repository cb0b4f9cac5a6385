#pragma once
// The byte stream an SMTP conversation runs over: a plain TCP connection or an
// SSL connection on top of one. Every wait is bounded by the given seconds.

#include <cstddef>
#include <string>
#include <string_view>

namespace mail {

class CSmtpChannel {
public:
    virtual ~CSmtpChannel() = default;

    // Sends the bytes; returns how many were sent before a wait ran out (the full
    // length on success), or -1 when the connection failed.
    virtual long long SendWithTimeout(std::string_view bytes, int seconds) = 0;

    // Reads one reply line into line, without its CR LF, keeping at most
    // capacity - 1 bytes; the rest of an over-long line is read and dropped.
    // Returns the bytes taken from the connection for the line; when a wait
    // runs out it returns what arrived so far (possibly 0), so the partial
    // line fails the caller's reply-code check. Returns -1 when the connection
    // failed or was closed, or when a line never ends.
    long long ReceiveLine(std::string& line, std::size_t capacity, int seconds);

protected:
    // Reads what is available: the byte count (> 0), 0 when the wait ran out,
    // -1 when the connection failed or was closed.
    virtual long ReadSome(char* buffer, std::size_t capacity, int seconds) = 0;

private:
    bool FillBuffer(int seconds, long& result);

    std::string received_;
    std::size_t readPosition_ = 0;
};

// No honest reply line comes near this; a peer that sends more without a line
// end is treated as a broken connection.
inline constexpr long long kLongestReplyLine = 64 * 1024;

}  // namespace mail
