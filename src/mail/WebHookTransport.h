#pragma once
// The HTTP conversation of one web hook post, synchronous, on a post thread.
// The only place that speaks to the HTTP library.

#include <chrono>
#include <string>

#include "mail/WebHookPost.h"

namespace mail {

// Names an extra certificate authority file trusted besides the system's own
// for HTTPS web hooks (a private server's authority, or a test authority).
inline constexpr const char* kWebHookCaFileVariable = "TARVIK_WEBHOOK_CA_FILE";

// Posts the body to the URL as application/json over HTTP or HTTPS (the
// certificate checked against the system's authorities and that of
// TARVIK_WEBHOOK_CA_FILE, and the host name against it). Redirects are not
// followed. The whole post ends within timeout, or as soon as cancelFd
// becomes readable. The error text, empty when the server answered 2xx; a
// different answer gives the server's status line.
std::string SendWebHookPost(const WebHookPost& post, int cancelFd,
                            std::chrono::milliseconds timeout);

}  // namespace mail
