#include "mail/ConnectSmtpServer.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>

#include <memory>

namespace mail {

namespace {

struct AddrInfoDeleter {
    void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddrInfoList = std::unique_ptr<addrinfo, AddrInfoDeleter>;

AddrInfoList Resolve(const std::string& host, std::uint32_t port) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    addrinfo* found = nullptr;
    const std::string service = std::to_string(port);
    if (getaddrinfo(host.c_str(), service.c_str(), &hints, &found) != 0) return nullptr;
    return AddrInfoList(found);
}

const addrinfo* PreferredAddress(const addrinfo* list) {
    const addrinfo* firstIpv6 = nullptr;
    for (const addrinfo* entry = list; entry != nullptr; entry = entry->ai_next) {
        if (entry->ai_family == AF_INET) return entry;
        if (entry->ai_family == AF_INET6 && firstIpv6 == nullptr) firstIpv6 = entry;
    }
    return firstIpv6;
}

bool IsCancelled(int cancelFd) {
    return cancelFd >= 0 && platform::WaitForDescriptor(cancelFd, platform::SocketEvent::Readable,
                                                        0, -1) == platform::SocketWait::Ready;
}

}  // namespace

std::string HostOfServer(std::string_view server) {
    if (server.size() >= 2 && server.front() == '[' && server.back() == ']') {
        server = server.substr(1, server.size() - 2);
    }
    return std::string(server);
}

bool IsIpAddress(const std::string& host) {
    in6_addr address{};
    return inet_pton(AF_INET, host.c_str(), &address) == 1 ||
           inet_pton(AF_INET6, host.c_str(), &address) == 1;
}

platform::CSocket ConnectSmtpServer(const MailJob& job, int cancelFd) {
    platform::CSocket socket;
    const std::string host = HostOfServer(job.server);
    if (host.empty() || job.port < 1 || job.port > 65535) return socket;
    const AddrInfoList addresses = Resolve(host, job.port);
    const addrinfo* address = PreferredAddress(addresses.get());
    if (address == nullptr) return socket;
    // The lookup cannot be interrupted; a job cancelled meanwhile stops here.
    if (IsCancelled(cancelFd)) return socket;
    socket.Connect(address->ai_addr, address->ai_addrlen, job.waitSeconds, cancelFd);
    return socket;
}

}  // namespace mail
