// The client against a scripted server: replies and failures a real relay
// rarely shows, each ending with its own error text.

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>

#include "InteropSupport.h"
#include "TlsSuite.h"
#include "mail/MailSender.h"
#include "mail/SslLibrary.h"
#include "platform/TaskQueue.h"

using interop::ChildProcess;
using interop::TempFolder;
using mail::MailJob;

namespace {

class FakeServer {
public:
    explicit FakeServer(const std::string& scenario, std::vector<std::string> options = {}) {
        transcript_ = (folder_.Path() / "transcript.txt").string();
        std::vector<std::string> arguments = {interop::PythonProgram(),
                                              interop::ScriptPath("fake_smtp.py"),
                                              "--scenario",
                                              scenario,
                                              "--transcript",
                                              transcript_,
                                              "--lifetime",
                                              "20"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        child_ = std::make_unique<ChildProcess>(arguments);
        if (const auto line = child_->ReadLine(15000)) port_ = std::stoul(*line);
    }
    std::uint32_t Port() const { return port_; }

    // What the server received, line by line, once it has ended.
    std::string Transcript() {
        child_->Wait(15000);
        std::ifstream in(transcript_);
        std::ostringstream text;
        text << in.rdbuf();
        return text.str();
    }

private:
    TempFolder folder_;
    std::string transcript_;
    std::unique_ptr<ChildProcess> child_;
    std::uint32_t port_ = 0;
};

MailJob JobFor(std::uint32_t port) {
    MailJob job;
    job.server = "127.0.0.1";
    job.port = port;
    job.mailFrom = "monitor@example.org";
    job.recipients = "first@example.org ,, second@example.org";
    job.message = "Subject: test\r\n\r\nbody\r\n";
    job.waitSeconds = 5;
    job.dataWaitSeconds = 5;
    return job;
}

const std::string kDialogue =
    "HELO host\n"
    "MAIL FROM: <monitor@example.org>\n"
    "RCPT TO: <first@example.org>\n"
    "RCPT TO: <second@example.org>\n"
    "DATA\n"
    "Subject: test\n"
    "\n"
    "body\n"
    ".\n"
    "QUIT\n";

std::uint32_t ClosedPort() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    bind(fd, reinterpret_cast<sockaddr*>(&address), length);
    getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    close(fd);  // nobody listens there any more
    return ntohs(address.sin_port);
}

}  // namespace

TEST(SmtpFakeServer, MultiLineGreetingIsAccepted) {
    FakeServer server("multiline_greeting");
    ASSERT_NE(server.Port(), 0u);
    EXPECT_EQ(mail::SendMail(JobFor(server.Port())), "");
    EXPECT_EQ(server.Transcript(), kDialogue);
}

TEST(SmtpFakeServer, RefusedRecipientDoesNotStopTheOthers) {
    FakeServer server("mixed_recipients");
    EXPECT_EQ(mail::SendMail(JobFor(server.Port())), "");
    EXPECT_EQ(server.Transcript(), kDialogue);
}

TEST(SmtpFakeServer, NoAcceptedRecipientStillSaysQuit) {
    FakeServer server("no_recipients");
    EXPECT_EQ(mail::SendMail(JobFor(server.Port())), "SMTP Server doesn't relay emails.");
    EXPECT_EQ(server.Transcript(),
              "HELO host\nMAIL FROM: <monitor@example.org>\nRCPT TO: <first@example.org>\n"
              "RCPT TO: <second@example.org>\nQUIT\n");
}

TEST(SmtpFakeServer, RefusedEhloFailsWithoutFallingBackToHelo) {
    FakeServer server("ehlo_500");
    MailJob job = JobFor(server.Port());
    job.requiresAuth = true;
    job.accountName = "me";
    job.password = "pw";
    EXPECT_EQ(mail::SendMail(job), "500 Command not recognized");
    // The client closes without another word; the server sees the end of the stream.
    EXPECT_EQ(server.Transcript(), "EHLO host\n<server: EOFError>\n");
}

TEST(SmtpFakeServer, AuthLoginSendsEachCredentialOnItsOwnLine) {
    FakeServer server("normal");
    MailJob job = JobFor(server.Port());
    job.requiresAuth = true;
    job.accountName = "abc";
    job.password = "pa";
    EXPECT_EQ(mail::SendMail(job), "");
    EXPECT_EQ(server.Transcript().substr(0, 35), "EHLO host\nAUTH LOGIN\nYWJj\ncGE=\nMAIL");
}

TEST(SmtpFakeServer, SilentServerEndsAsSendingFailure) {
    FakeServer server("silent");
    MailJob job = JobFor(server.Port());
    job.waitSeconds = 1;
    EXPECT_EQ(mail::SendMail(job), "Sending email failure");
}

TEST(SmtpFakeServer, TricklingServerEndsAtTheJobDeadline) {
    // Each byte comes well within the wait for it; only the job's own
    // deadline ends the greeting that never finishes in time.
    FakeServer server("trickle");
    ASSERT_NE(server.Port(), 0u);
    platform::TaskQueue queue;
    std::optional<std::string> outcome;
    {
        mail::MailSenderLimits limits;
        limits.jobDeadline = std::chrono::milliseconds(300);
        mail::CMailSender sender(&queue, limits);
        sender.Start(JobFor(server.Port()),
                     [&outcome](std::uint32_t, std::string error) { outcome = std::move(error); });
        for (int i = 0; i < 300 && !outcome; ++i) queue.WaitAndDrain(100);
    }
    EXPECT_EQ(outcome, "Time out.");
    EXPECT_EQ(server.Transcript().find("HELO"), std::string::npos);
}

TEST(SmtpFakeServer, ConnectionClosedMidReplyIsATimeOut) {
    FakeServer server("close_mid_reply");
    EXPECT_EQ(mail::SendMail(JobFor(server.Port())), "Time out.");
}

TEST(SmtpFakeServer, LongReplyLinesNeverOverflow) {
    FakeServer greeting("long_greeting");
    EXPECT_EQ(mail::SendMail(JobFor(greeting.Port())), "");
    EXPECT_EQ(greeting.Transcript(), kDialogue);

    FakeServer refusal("long_error");
    const std::string error = mail::SendMail(JobFor(refusal.Port()));
    EXPECT_EQ(error.size(), 1023u);
    EXPECT_EQ(error.substr(0, 8), "550 xxxx");
}

TEST(SmtpFakeServer, ServerGoneDuringTheBodyFailsTheBody) {
    // The peer closes after 354; writing to it must neither kill the process
    // (SIGPIPE) nor pass for success.
    FakeServer server("close_after_data");
    MailJob job = JobFor(server.Port());
    job.message = "Subject: big\r\n\r\n" + std::string(8 << 20, 'b');
    EXPECT_EQ(mail::SendMail(job), "Failed to send email body.");
}

TEST(SmtpFakeServer, NobodyListeningFailsToConnect) {
    EXPECT_EQ(mail::SendMail(JobFor(ClosedPort())), "Failed to connect to SMTP server.");
}

class SmtpFakeServerTls : public interop::TlsSuite {
protected:
    static std::vector<std::string> TlsOptions() {
        return {"--cert", Certificates().serverCert, "--key", Certificates().serverKey};
    }
    static MailJob TlsJob(std::uint32_t port) {
        MailJob job = JobFor(port);
        job.useSsl = true;
        job.sslNoVerify = true;
        return job;
    }
};

TEST_F(SmtpFakeServerTls, SameDialogueOverSsl) {
    FakeServer server("multiline_greeting,mixed_recipients", TlsOptions());
    EXPECT_EQ(mail::SendMail(TlsJob(server.Port())), "");
    EXPECT_EQ(server.Transcript(), kDialogue);
}

TEST_F(SmtpFakeServerTls, QuitReplyReplacesTheErrorOnlyOverSsl) {
    FakeServer odd("no_recipients,quit_odd", TlsOptions());
    EXPECT_EQ(mail::SendMail(TlsJob(odd.Port())), "500 odd");

    FakeServer mute("no_recipients,quit_silent", TlsOptions());
    EXPECT_EQ(mail::SendMail(TlsJob(mute.Port())), "Time out.");

    FakeServer plain("no_recipients,quit_odd");
    EXPECT_EQ(mail::SendMail(JobFor(plain.Port())), "SMTP Server doesn't relay emails.");

    // Once delivered, nothing QUIT says matters.
    FakeServer delivered("quit_odd", TlsOptions());
    EXPECT_EQ(mail::SendMail(TlsJob(delivered.Port())), "");
}

TEST_F(SmtpFakeServerTls, SilentPeersNeverHoldTheThread) {
    // No handshake at all: the server expects plain text.
    FakeServer plainOnly("silent");
    MailJob job = TlsJob(plainOnly.Port());
    job.waitSeconds = 1;
    EXPECT_EQ(mail::SendMail(job), "Failed to connect to SMTP server.");

    // Handshake done, then no greeting.
    FakeServer mute("silent", TlsOptions());
    job.port = mute.Port();
    EXPECT_EQ(mail::SendMail(job), "Sending email failure");
}

TEST_F(SmtpFakeServerTls, ServerGoneDuringTheBodyFailsTheBody) {
    FakeServer server("close_after_data", TlsOptions());
    MailJob job = TlsJob(server.Port());
    job.message = "Subject: big\r\n\r\n" + std::string(8 << 20, 'b');
    EXPECT_EQ(mail::SendMail(job), "Failed to send email body.");
}

TEST_F(SmtpFakeServerTls, ServerClosingMidReplyIsATimeOut) {
    FakeServer server("close_mid_reply", TlsOptions());
    EXPECT_EQ(mail::SendMail(TlsJob(server.Port())), "Time out.");
}
