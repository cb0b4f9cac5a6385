// Delivery to a real SMTP server (aiosmtpd) over plain, AUTH LOGIN and implicit TLS.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "InteropSupport.h"
#include "SmtpSink.h"
#include "TlsSuite.h"
#include "mail/MailSender.h"
#include "mail/SslLibrary.h"
#include "platform/TaskQueue.h"

using interop::ScopedEnvironment;
using interop::SinkServer;
using interop::TempFolder;
using mail::MailJob;

namespace {

const char kUser[] = "monitor";
const char kPassword[] = "s3cr\xC3\xABt pass";

// Headers, lines that begin with dots (one alone on its line), an 8-bit body,
// and enough text to need many socket sends.
std::string ComposedMessage() {
    std::string message =
        "From: Monitor <monitor@example.org>\r\n"
        "To: ops@example.org, dev@example.org\r\n"
        "Subject: Highlight \"ERROR\" found in app.log\r\n"
        "Date: Tue, 02 Jan 2024 10:00:00 +0100\r\n"
        "\r\n"
        ".leading dot\r\n"
        ".\r\n"
        "..two dots\r\n"
        "K\xC3\xA4ytt\xC3\xA4j\xC3\xA4 \xE2\x80\x94 \xE2\x9C\x93 \xFF\xFE raw bytes\r\n";
    for (int i = 0; i < 2000; ++i) message += "log line " + std::to_string(i) + " .\r\n";
    return message + "last line\r\n";
}

MailJob JobFor(std::uint32_t port) {
    MailJob job;
    job.server = "127.0.0.1";
    job.port = port;
    job.mailFrom = "monitor@example.org";
    job.recipients = " ops@example.org , , dev@example.org ";
    job.message = ComposedMessage();
    job.waitSeconds = 10;
    job.dataWaitSeconds = 10;
    return job;
}

void ExpectDelivered(const SinkServer& server, const std::string& envelopeLines) {
    const auto received = server.Message(1);
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(received->content, ComposedMessage());
    EXPECT_EQ(received->envelope, envelopeLines);
}

const std::string kPlainEnvelope =
    "greeting_name: host\nextended: False\nauthenticated: False\n"
    "mail_from: monitor@example.org\nrcpt_to: ops@example.org\nrcpt_to: dev@example.org\n";
const std::string kAuthEnvelope =
    "greeting_name: host\nextended: True\nauthenticated: True\n"
    "mail_from: monitor@example.org\nrcpt_to: ops@example.org\nrcpt_to: dev@example.org\n";

MailJob WithLogin(MailJob job, const std::string& password = kPassword) {
    job.requiresAuth = true;
    job.accountName = kUser;
    job.password = password;
    return job;
}

}  // namespace

TEST(SmtpSink, PlainHeloDeliversTheMessageUnchanged) {
    SinkServer server({});
    ASSERT_NE(server.Port(), 0u);
    EXPECT_EQ(mail::SendMail(JobFor(server.Port())), "");
    ExpectDelivered(server, kPlainEnvelope);
}

TEST(SmtpSink, SendThreadReportsDeliveryThroughTheQueue) {
    SinkServer server({});
    ASSERT_NE(server.Port(), 0u);
    platform::TaskQueue queue;
    std::optional<std::string> outcome;
    std::uint32_t reportedId = 0;
    mail::CMailSender sender(&queue);
    const std::uint32_t jobId =
        sender.Start(JobFor(server.Port()), [&](std::uint32_t id, std::string error) {
            reportedId = id;
            outcome = std::move(error);
        });
    for (int i = 0; i < 150 && !outcome; ++i) queue.WaitAndDrain(100);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_EQ(*outcome, "");
    EXPECT_EQ(reportedId, jobId);
    ExpectDelivered(server, kPlainEnvelope);
}

TEST(SmtpSink, LongLinesAndBareCarriageReturnsAreMadeFitForTheWire) {
    // A strict server refuses lines over 998 octets: a long log line is folded
    // at a character boundary, and a carriage return from a path ends a line.
    SinkServer server({});
    ASSERT_NE(server.Port(), 0u);
    std::string logLine;
    for (int i = 0; i < 2000; ++i) logLine += "\xC3\xA4";
    const std::string head = "Subject: long\r\n\r\nIn /tmp/odd";
    MailJob job = JobFor(server.Port());
    job.message = head + "\rname:\r\n" + logLine + "\r\n";
    EXPECT_EQ(mail::SendMail(job), "");
    std::string expected = head + "\r\nname:\r\n";
    for (std::size_t start = 0; start < logLine.size(); start += 998) {
        expected += logLine.substr(start, 998) + "\r\n";
    }
    const auto received = server.Message(1);
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(received->content, expected);
}

TEST(SmtpSink, AuthLoginAfterEhlo) {
    SinkServer server({"--user", kUser, "--password", kPassword});
    ASSERT_NE(server.Port(), 0u);
    EXPECT_EQ(mail::SendMail(WithLogin(JobFor(server.Port()))), "");
    ExpectDelivered(server, kAuthEnvelope);

    const std::string refused = mail::SendMail(WithLogin(JobFor(server.Port()), "wrong"));
    EXPECT_EQ(refused.substr(0, 4), "535 ") << refused;
    EXPECT_FALSE(server.Message(2, 0).has_value());
}

class SmtpSinkTls : public interop::TlsSuite {
protected:
    static std::vector<std::string> ServerOptions(bool wrongName = false) {
        const auto& c = Certificates();
        return {"--cert", wrongName ? c.wrongNameCert : c.serverCert, "--key",
                wrongName ? c.wrongNameKey : c.serverKey};
    }
    static MailJob TlsJob(std::uint32_t port) {
        MailJob job = JobFor(port);
        job.useSsl = true;
        return job;
    }
};

TEST_F(SmtpSinkTls, TrustedCertificateByAddressAndByName) {
    ScopedEnvironment trust("TARVIK_SMTP_CA_FILE", Certificates().caFile);
    auto options = ServerOptions();
    options.insert(options.end(), {"--user", kUser, "--password", kPassword});
    SinkServer server(options);
    ASSERT_NE(server.Port(), 0u);
    EXPECT_EQ(mail::SendMail(WithLogin(TlsJob(server.Port()))), "");
    ExpectDelivered(server, kAuthEnvelope);

    MailJob byName = WithLogin(TlsJob(server.Port()));
    byName.server = "localhost";
    EXPECT_EQ(mail::SendMail(byName), "");
    const auto second = server.Message(2);
    ASSERT_TRUE(second.has_value());
    EXPECT_EQ(second->content, ComposedMessage());
}

TEST_F(SmtpSinkTls, UntrustedCertificateIsRefusedUnlessVerificationIsOff) {
    ScopedEnvironment trust("TARVIK_SMTP_CA_FILE", Certificates().otherCaFile);
    SinkServer server(ServerOptions());
    ASSERT_NE(server.Port(), 0u);
    testing::internal::CaptureStderr();
    const std::string refused = mail::SendMail(TlsJob(server.Port()));
    const std::string debugOutput = testing::internal::GetCapturedStderr();
    EXPECT_EQ(refused, "Failed to connect to SMTP server.");
    EXPECT_NE(debugOutput.find("[Ostra Tarvik]: "), std::string::npos);
    EXPECT_NE(debugOutput.find("certificate verification failed"), std::string::npos)
        << debugOutput;
    EXPECT_FALSE(server.Message(1, 0).has_value());

    MailJob relaxed = TlsJob(server.Port());
    relaxed.sslNoVerify = true;
    EXPECT_EQ(mail::SendMail(relaxed), "");
    ExpectDelivered(server, kPlainEnvelope);
}

TEST_F(SmtpSinkTls, CertificateForAnotherNameIsRefused) {
    ScopedEnvironment trust("TARVIK_SMTP_CA_FILE", Certificates().caFile);
    SinkServer server(ServerOptions(true));
    ASSERT_NE(server.Port(), 0u);
    testing::internal::CaptureStderr();
    EXPECT_EQ(mail::SendMail(TlsJob(server.Port())), "Failed to connect to SMTP server.");
    EXPECT_NE(testing::internal::GetCapturedStderr().find("certificate verification failed"),
              std::string::npos);

    MailJob relaxed = TlsJob(server.Port());
    relaxed.sslNoVerify = true;
    EXPECT_EQ(mail::SendMail(relaxed), "");
    ExpectDelivered(server, kPlainEnvelope);
}
