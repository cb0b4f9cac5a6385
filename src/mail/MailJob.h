#pragma once
// One message to deliver over SMTP, filled by a composer and handed to a send
// thread. The thread keeps its own copy, so the composer may forget it at once.

#include <cstddef>
#include <cstdint>
#include <string>

namespace mail {

struct MailJob {
    std::string server;  // host name or IPv4/IPv6 address (UTF-8)
    std::uint32_t port = 25;
    bool useSsl = false;
    bool sslNoVerify =
        false;  // skip certificate checks (private relays with their own certificates)
    std::string mailFrom;
    std::string recipients;  // comma-separated
    bool requiresAuth = false;
    std::string accountName, password;
    std::string message;        // header lines, empty line, body (CR LF line ends)
    int waitSeconds = 60;       // per socket wait; tests shorten these
    int dataWaitSeconds = 120;  // end-of-data marker and its reply
};

// The longest values a job accepts; longer ones are refused as invalid
// parameters rather than cut, so a message never goes to a truncated address.
inline constexpr std::size_t kMaxServerLength = 63;
inline constexpr std::size_t kMaxAddressLength = 255;
inline constexpr std::size_t kMaxRecipientsLength = 2047;
inline constexpr std::size_t kMaxAccountLength = 255;
inline constexpr std::size_t kMaxPasswordLength = 255;

}  // namespace mail
