#pragma once
// Opening the TCP connection to the configured relay.

#include <string>
#include <string_view>

#include "mail/MailJob.h"
#include "platform/Socket.h"

namespace mail {

// The server field as a host for resolving: an IPv6 address may be written in
// brackets ("[::1]"), which are removed.
std::string HostOfServer(std::string_view server);

// True when host is a numeric IPv4 or IPv6 address rather than a name.
bool IsIpAddress(const std::string& host);

// Resolves the job's server and connects to its port, waiting at most the
// job's waitSeconds for the connection. IPv4 is used when the server has an
// IPv4 address, IPv6 only when it has no other. An empty server, a port outside
// 1-65535, an unknown name, a refused connection or a cancelFd that became
// readable (even during the name lookup, which cannot be interrupted) give a
// closed socket.
platform::CSocket ConnectSmtpServer(const MailJob& job, int cancelFd = -1);

}  // namespace mail
