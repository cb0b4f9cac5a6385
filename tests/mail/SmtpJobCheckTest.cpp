#include "mail/MailJobCheck.h"

#include <gtest/gtest.h>

#include <string>

#include "mail/MailSender.h"
#include "mail/SplitRecipients.h"

using mail::MailJob;

namespace {

MailJob CompleteJob() {
    MailJob job;
    // An address nobody listens on: a job that passed the checks would fail to connect.
    job.server = "127.0.0.1";
    job.port = 1;
    job.mailFrom = "from@example.org";
    job.recipients = "to@example.org";
    job.message = "Subject: s\r\n\r\nb\r\n";
    job.waitSeconds = 1;
    return job;
}

bool IsValid(const MailJob& job) {
    return mail::IsMailJobValid(job, mail::SplitRecipients(job.recipients));
}

}  // namespace

TEST(SmtpJobCheck, IncompleteJobsAreRefusedBeforeConnecting) {
    EXPECT_TRUE(IsValid(CompleteJob()));
    EXPECT_EQ(mail::SendMail(CompleteJob()), "Failed to connect to SMTP server.");

    auto refused = [](auto change) {
        MailJob job = CompleteJob();
        change(job);
        return mail::SendMail(job);
    };
    EXPECT_EQ(refused([](MailJob& j) { j.message.clear(); }), "Invalid parameters.");
    EXPECT_EQ(refused([](MailJob& j) { j.server.clear(); }), "Invalid parameters.");
    EXPECT_EQ(refused([](MailJob& j) { j.mailFrom.clear(); }), "Invalid parameters.");
    EXPECT_EQ(refused([](MailJob& j) { j.recipients = " , ,"; }), "Invalid parameters.");
    EXPECT_EQ(refused([](MailJob& j) { j.requiresAuth = true; }), "Invalid parameters.");
}

TEST(SmtpJobCheck, OverlongValuesAreRefused) {
    auto withChange = [](auto change) {
        MailJob job = CompleteJob();
        change(job);
        return IsValid(job);
    };
    EXPECT_TRUE(withChange([](MailJob& j) { j.server = std::string(63, 'h'); }));
    EXPECT_FALSE(withChange([](MailJob& j) { j.server = std::string(64, 'h'); }));
    EXPECT_TRUE(withChange([](MailJob& j) { j.mailFrom = std::string(255, 'f'); }));
    EXPECT_FALSE(withChange([](MailJob& j) { j.mailFrom = std::string(256, 'f'); }));
    EXPECT_FALSE(withChange([](MailJob& j) { j.recipients = std::string(256, 'r'); }));
    EXPECT_FALSE(withChange([](MailJob& j) {
        j.recipients.clear();
        for (int i = 0; i < 205; ++i) j.recipients += "a@b.org, ";  // 1845 characters
        j.recipients += std::string(203, 'c');                      // 2048 in all
    }));
    EXPECT_FALSE(withChange([](MailJob& j) {
        j.requiresAuth = true;
        j.accountName = std::string(256, 'a');
    }));
    EXPECT_FALSE(withChange([](MailJob& j) {
        j.requiresAuth = true;
        j.accountName = "me";
        j.password = std::string(256, 'p');
    }));
}

TEST(SmtpJobCheck, LineBreaksInAddressesOrAccountAreRefused) {
    auto withChange = [](auto change) {
        MailJob job = CompleteJob();
        change(job);
        return IsValid(job);
    };
    EXPECT_FALSE(withChange([](MailJob& j) { j.mailFrom = "a@b.org>\r\nRCPT TO: <x@y.org"; }));
    EXPECT_FALSE(withChange([](MailJob& j) { j.recipients = "ok@b.org, bad@b.org\nDATA"; }));
    EXPECT_FALSE(withChange([](MailJob& j) { j.recipients = std::string("n@b.org\0x", 9); }));
    EXPECT_FALSE(withChange([](MailJob& j) {
        j.requiresAuth = true;
        j.accountName = "me\r\nQUIT";
    }));
    // The password travels Base64-encoded, so any byte is safe in it.
    EXPECT_TRUE(withChange([](MailJob& j) {
        j.requiresAuth = true;
        j.accountName = "me";
        j.password = "p\r\nw";
    }));
}

TEST(SmtpJobCheck, UnreachableServersFailToConnect) {
    MailJob job = CompleteJob();
    job.port = 0;
    EXPECT_EQ(mail::SendMail(job), "Failed to connect to SMTP server.");
    job.port = 70000;
    EXPECT_EQ(mail::SendMail(job), "Failed to connect to SMTP server.");
    job.port = 1;
    job.useSsl = true;
    EXPECT_EQ(mail::SendMail(job), "Failed to connect to SMTP server.");
}
