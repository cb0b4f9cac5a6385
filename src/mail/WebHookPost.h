#pragma once
// One post to a web hook, filled by a composer and handed to a post thread,
// which keeps its own copy.

#include <string>
#include <string_view>

namespace mail {

struct WebHookPost {
    std::string url;   // UTF-8, tags expanded and their values percent-encoded
    std::string body;  // UTF-8 JSON, sent as application/json
    // The host the URL names, without any user name or password, for
    // records and reports.
    std::string host;
};

// A post without a URL to go to.
inline constexpr std::string_view kNoWebHookUrl = "No web hook URL.";
// A URL holding blanks or control characters, which no server is asked for.
inline constexpr std::string_view kErrorInvalidWebHookUrl = "Invalid web hook URL.";

}  // namespace mail
