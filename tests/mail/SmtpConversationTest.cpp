#include "mail/SmtpConversation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SmtpTestChannel.h"
#include "mail/SplitRecipients.h"

using mail::CSmtpConversation;
using mail::MailJob;
using mail::QuitRule;

namespace {

MailJob PlainJob() {
    MailJob job;
    job.server = "127.0.0.1";
    job.mailFrom = "monitor@example.org";
    job.recipients = " ops@example.org , , dev@example.org ";
    job.message = "Subject: hi\r\n\r\nbody\r\n";
    return job;
}

struct Outcome {
    bool delivered;
    std::string error;
    std::string sent;
};

Outcome Converse(const MailJob& job, const std::string& script, QuitRule rule = QuitRule::Ignore,
                 long long sendLimit = -1) {
    FakeSmtpChannel channel;
    channel.script = script;
    channel.sendLimit = sendLimit;
    std::string error = "stale";
    const bool delivered =
        CSmtpConversation(channel, job, rule).Run(mail::SplitRecipients(job.recipients), error);
    return {delivered, error, channel.sent};
}

const std::string kHappyReplies =
    "220 ready\r\n250 hello\r\n250 sender ok\r\n250 rcpt1\r\n251 rcpt2\r\n354 go\r\n"
    "250 queued\r\n221 bye\r\n";

}  // namespace

TEST(SmtpConversation, PlainDeliverySendsTheFixedCommands) {
    const auto outcome = Converse(PlainJob(), kHappyReplies);
    EXPECT_TRUE(outcome.delivered);
    EXPECT_EQ(outcome.error, "");
    EXPECT_EQ(outcome.sent,
              "HELO host\r\n"
              "MAIL FROM: <monitor@example.org>\r\n"
              "RCPT TO: <ops@example.org>\r\n"
              "RCPT TO: <dev@example.org>\r\n"
              "DATA\r\n"
              "Subject: hi\r\n\r\nbody\r\n"
              ".\r\n"
              "QUIT\r\n");
}

TEST(SmtpConversation, AuthLoginSendsEncodedCredentialsAfterEhlo) {
    MailJob job = PlainJob();
    job.requiresAuth = true;
    job.accountName = "ab";
    job.password = "secret";
    const auto outcome = Converse(job,
                                  "220 ready\r\n250-hello\r\n250 AUTH LOGIN\r\n334 VXNlcm5hbWU6\r\n"
                                  "334 UGFzc3dvcmQ6\r\n235 ok\r\n250 ok\r\n250 ok\r\n250 ok\r\n"
                                  "354 go\r\n250 queued\r\n221 bye\r\n");
    EXPECT_TRUE(outcome.delivered) << outcome.error;
    EXPECT_EQ(outcome.sent.substr(0, 54),
              "EHLO host\r\nAUTH LOGIN\r\nYWI=\r\nc2VjcmV0\r\nMAIL FROM: <mon");
}

TEST(SmtpConversation, UnexpectedReplyBecomesTheErrorWithoutQuit) {
    MailJob job = PlainJob();
    job.requiresAuth = true;
    job.accountName = "me";
    const auto ehlo = Converse(job, "220 ready\r\n500 Command not recognized\r\n");
    EXPECT_FALSE(ehlo.delivered);
    EXPECT_EQ(ehlo.error, "500 Command not recognized");
    EXPECT_EQ(ehlo.sent, "EHLO host\r\n");

    const auto auth = Converse(job, "220 ready\r\n250 hi\r\n334 user\r\n334 pass\r\n535 bad\r\n");
    EXPECT_EQ(auth.error, "535 bad");
    EXPECT_EQ(auth.sent.find("QUIT"), std::string::npos);

    const auto greeting = Converse(PlainJob(), "554 go away\r\n");
    EXPECT_EQ(greeting.error, "554 go away");
    EXPECT_EQ(greeting.sent, "");
}

TEST(SmtpConversation, LongErrorReplyIsCutTo1023Characters) {
    const auto outcome =
        Converse(PlainJob(), "220 ready\r\n250 hi\r\n550 " + std::string(3000, 'z') + "\r\n");
    EXPECT_EQ(outcome.error.size(), 1023u);
    EXPECT_EQ(outcome.error.substr(0, 5), "550 z");
}

TEST(SmtpConversation, RefusedRecipientIsSkippedAndNoneAcceptedStillQuits) {
    const auto mixed = Converse(PlainJob(),
                                "220 a\r\n250 b\r\n250 c\r\n550 no such user\r\n250 d\r\n354 e\r\n"
                                "250 f\r\n221 g\r\n");
    EXPECT_TRUE(mixed.delivered);

    const auto none =
        Converse(PlainJob(), "220 a\r\n250 b\r\n250 c\r\n550 x\r\n553 y\r\n221 g\r\n");
    EXPECT_FALSE(none.delivered);
    EXPECT_EQ(none.error, "SMTP Server doesn't relay emails.");
    EXPECT_EQ(none.sent.find("DATA"), std::string::npos);
    EXPECT_NE(none.sent.find("QUIT\r\n"), std::string::npos);
}

TEST(SmtpConversation, QuitOutcomeMattersOnlyForTheSslConversation) {
    const std::string noRelay = "220 a\r\n250 b\r\n250 c\r\n550 x\r\n550 y\r\n";
    EXPECT_EQ(Converse(PlainJob(), noRelay + "500 odd\r\n").error,
              "SMTP Server doesn't relay emails.");
    EXPECT_EQ(Converse(PlainJob(), noRelay + "500 odd\r\n", QuitRule::Report).error, "500 odd");
    EXPECT_EQ(Converse(PlainJob(), noRelay, QuitRule::Report).error, "Time out.");
    EXPECT_EQ(Converse(PlainJob(), noRelay + "221 bye\r\n", QuitRule::Report).error,
              "SMTP Server doesn't relay emails.");
    // After a delivery QUIT may complain, the job is delivered all the same.
    const std::string delivered = kHappyReplies.substr(0, kHappyReplies.size() - 9);
    const auto outcome = Converse(PlainJob(), delivered + "421 closing\r\n", QuitRule::Report);
    EXPECT_TRUE(outcome.delivered);
}

TEST(SmtpConversation, ShortSendsAndLostConnectionsReportTheirTexts) {
    // The peer stops taking bytes in the middle of HELO.
    EXPECT_EQ(Converse(PlainJob(), kHappyReplies, QuitRule::Ignore, 4).error, "Time out.");
    // ... in the middle of the message body.
    const std::size_t beforeBody = std::string(
                                       "HELO host\r\nMAIL FROM: <monitor@example.org>\r\n"
                                       "RCPT TO: <ops@example.org>\r\n"
                                       "RCPT TO: <dev@example.org>\r\nDATA\r\n")
                                       .size();
    const auto body = Converse(PlainJob(), kHappyReplies, QuitRule::Ignore, beforeBody + 3);
    EXPECT_EQ(body.error, "Failed to send email body.");
    EXPECT_EQ(body.sent.find("QUIT"), std::string::npos);
    // The connection closes before a RCPT reply.
    EXPECT_EQ(Converse(PlainJob(), "220 a\r\n250 b\r\n250 c\r\n").error, "Time out.");
    // ... or while the greeting is still coming.
    EXPECT_EQ(Converse(PlainJob(), "220-a\r\n220-b").error, "Time out.");
}

TEST(SmtpConversation, DotsAtLineStartsAreDoubledOnTheWire) {
    MailJob job = PlainJob();
    job.message = ".first\r\nmiddle\r\n.\r\n..two\r\nend.";
    const auto outcome = Converse(job, kHappyReplies);
    EXPECT_NE(outcome.sent.find("DATA\r\n..first\r\nmiddle\r\n..\r\n...two\r\nend.\r\n.\r\nQUIT"),
              std::string::npos);
}
