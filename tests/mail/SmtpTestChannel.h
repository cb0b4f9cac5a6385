#pragma once
// An in-memory SMTP channel: serves scripted server bytes and records what
// the client sends, so the conversation can be checked without a network.

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "mail/SmtpChannel.h"

class FakeSmtpChannel final : public mail::CSmtpChannel {
public:
    // Bytes the server sends; after them the channel behaves as configured.
    std::string script;
    std::size_t readSize = 7;  // small pieces exercise line assembly
    bool closeAtEnd = true;    // true: -1 (closed) after the script, false: wait runs out
    long long sendLimit = -1;  // >= 0: total bytes the peer takes before it stalls
    bool failSends = false;    // true: every send fails as a broken connection
    std::string sent;

    long long SendWithTimeout(std::string_view bytes, int /*seconds*/) override {
        if (failSends) return -1;
        std::size_t take = bytes.size();
        if (sendLimit >= 0) {
            const auto room =
                static_cast<std::size_t>(sendLimit) - std::min<std::size_t>(sent.size(), sendLimit);
            take = std::min(take, room);
        }
        sent.append(bytes.substr(0, take));
        return static_cast<long long>(take);
    }

protected:
    long ReadSome(char* buffer, std::size_t capacity, int /*seconds*/) override {
        if (position_ == script.size()) return closeAtEnd ? -1 : 0;
        const std::size_t n = std::min({capacity, readSize, script.size() - position_});
        std::memcpy(buffer, script.data() + position_, n);
        position_ += n;
        return static_cast<long>(n);
    }

private:
    std::size_t position_ = 0;
};
