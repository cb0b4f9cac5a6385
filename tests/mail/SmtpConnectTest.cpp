#include "mail/ConnectSmtpServer.h"

#include <arpa/inet.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "mail/MailSender.h"

using mail::ConnectSmtpServer;
using mail::MailJob;

namespace {

// A listening socket on a loopback address of the given family (port chosen by the system).
class LoopbackListener {
public:
    explicit LoopbackListener(int family) {
        fd_ = socket(family, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd_ < 0) return;
        sockaddr_storage storage{};
        socklen_t length = 0;
        if (family == AF_INET6) {
            auto* address = reinterpret_cast<sockaddr_in6*>(&storage);
            address->sin6_family = AF_INET6;
            address->sin6_addr = in6addr_loopback;
            length = sizeof *address;
        } else {
            auto* address = reinterpret_cast<sockaddr_in*>(&storage);
            address->sin_family = AF_INET;
            address->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            length = sizeof *address;
        }
        auto* any = reinterpret_cast<sockaddr*>(&storage);
        if (bind(fd_, any, length) != 0 || listen(fd_, 4) != 0 ||
            getsockname(fd_, any, &length) != 0) {
            return;
        }
        port_ = ntohs(family == AF_INET6 ? reinterpret_cast<sockaddr_in6*>(&storage)->sin6_port
                                         : reinterpret_cast<sockaddr_in*>(&storage)->sin_port);
    }
    ~LoopbackListener() {
        if (fd_ >= 0) close(fd_);
    }
    std::uint32_t Port() const { return port_; }

private:
    int fd_ = -1;
    std::uint32_t port_ = 0;
};

MailJob JobTo(const std::string& server, std::uint32_t port) {
    MailJob job;
    job.server = server;
    job.port = port;
    job.waitSeconds = 2;
    return job;
}

int OpenDescriptors() {
    int count = 0;
    if (DIR* folder = opendir("/proc/self/fd")) {
        while (readdir(folder) != nullptr) ++count;
        closedir(folder);
    }
    return count;
}

}  // namespace

TEST(SmtpConnect, ServerFieldMayHoldAnAddressOrAName) {
    EXPECT_EQ(mail::HostOfServer("[::1]"), "::1");
    EXPECT_EQ(mail::HostOfServer("mail.example.org"), "mail.example.org");
    EXPECT_EQ(mail::HostOfServer("[x"), "[x");
    EXPECT_TRUE(mail::IsIpAddress("127.0.0.1"));
    EXPECT_TRUE(mail::IsIpAddress("::1"));
    EXPECT_FALSE(mail::IsIpAddress("localhost"));
    EXPECT_FALSE(mail::IsIpAddress("127.0.0.1 "));
}

TEST(SmtpConnect, ConnectsOverIpv4AndPrefersItForNames) {
    LoopbackListener listener(AF_INET);
    ASSERT_NE(listener.Port(), 0u);
    EXPECT_TRUE(ConnectSmtpServer(JobTo("127.0.0.1", listener.Port())).IsOpen());
    // "localhost" may also name ::1, where nobody listens: IPv4 goes first.
    EXPECT_TRUE(ConnectSmtpServer(JobTo("localhost", listener.Port())).IsOpen());
    EXPECT_FALSE(ConnectSmtpServer(JobTo("", listener.Port())).IsOpen());
    EXPECT_FALSE(ConnectSmtpServer(JobTo("127.0.0.1", 0)).IsOpen());
    EXPECT_FALSE(ConnectSmtpServer(JobTo("127.0.0.1", 65536)).IsOpen());
}

TEST(SmtpConnect, ConnectsOverIpv6WhenThatIsAllThereIs) {
    LoopbackListener listener(AF_INET6);
    if (listener.Port() == 0) GTEST_SKIP() << "this machine has no IPv6 loopback";
    EXPECT_TRUE(ConnectSmtpServer(JobTo("::1", listener.Port())).IsOpen());
    EXPECT_TRUE(ConnectSmtpServer(JobTo("[::1]", listener.Port())).IsOpen());
}

TEST(SmtpConnect, NoDescriptorOutlivesAJob) {
    LoopbackListener silent(AF_INET);
    MailJob job = JobTo("127.0.0.1", silent.Port());
    job.mailFrom = "a@example.org";
    job.recipients = "b@example.org";
    job.message = "x";
    job.waitSeconds = 1;
    const int before = OpenDescriptors();
    EXPECT_EQ(mail::SendMail(job), "Sending email failure");
    job.useSsl = true;
    EXPECT_EQ(mail::SendMail(job), "Failed to connect to SMTP server.");
    job.port = 1;
    EXPECT_EQ(mail::SendMail(job), "Failed to connect to SMTP server.");
    EXPECT_EQ(OpenDescriptors(), before);
}
