#include "mail/MailCompose.h"

#include <gtest/gtest.h>

#include <array>

#include "mail/MailTags.h"

namespace mail {
namespace {

TEST(MailTags, OnePassThatNeverLooksAtWhatItInserted) {
    const std::array<MailTag, 1> bracketed = {{{u"%h", u"<%h>"}}};
    EXPECT_EQ(ExpandTags(u"%h and %h%h", bracketed), u"<%h> and <%h><%h>");

    const std::array<MailTag, 1> doubled = {{{u"%", u"%%"}}};
    EXPECT_EQ(ExpandTags(u"100%% %", doubled), u"100%%%% %%");

    const std::array<MailTag, 1> empty = {{{u"", u"x"}}};
    EXPECT_EQ(ExpandTags(u"unchanged", empty), u"unchanged");

    const std::array<MailTag, 3> tags = {{
        {u"%f", u"/var/log/%h/%t.log"},
        {u"%h", u"disk %f full"},
        {u"%t", u"noon"},
    }};
    EXPECT_EQ(ExpandTags(u"[%f] [%h] %t %%h %", tags),
              u"[/var/log/%h/%t.log] [disk %f full] noon %disk %f full %");

    // The first tag of the list wins where two start at the same place.
    const std::array<MailTag, 2> overlapping = {{{u"%ab", u"1"}, {u"%a", u"2"}}};
    EXPECT_EQ(ExpandTags(u"%ab %a %abc", overlapping), u"1 2 1c");
}

TEST(MailCompose, HeaderLinesEmptyLineAndBody) {
    const std::array<MailTag, 1> tags = {{{u"%h", u"ERROR"}}};
    const MailMessageParts parts{u"me@example.org", u"a@example.org, b@example.org", u"Seen %h",
                                 u"Tue, 02 Mar 2010 15:32:21 -0000", u"Line with %h\r\n"};
    EXPECT_EQ(ComposeMessage(parts, tags),
              u"From: me@example.org\r\nTo: a@example.org, b@example.org\r\nSubject: Seen ERROR\r\n"
              u"Date: Tue, 02 Mar 2010 15:32:21 -0000\r\n\r\nLine with ERROR\r\n");
}

TEST(MailCompose, LineBreaksInHeaderValuesCannotAddHeaderLines) {
    const std::array<MailTag, 1> tags = {{{u"%f", u"/tmp/evil\r\nBcc: x@example.org\n.log"}}};
    const MailMessageParts parts{u"me@example.org", u"a@example.org", u"Quiet %f\r\nX: y", u"date",
                                 u"%f"};
    const std::u16string message = ComposeMessage(parts, tags);
    EXPECT_EQ(message.substr(0, message.find(u"\r\n\r\n")),
              u"From: me@example.org\r\nTo: a@example.org\r\n"
              u"Subject: Quiet /tmp/evil  Bcc: x@example.org .log  X: y\r\nDate: date");
    EXPECT_EQ(message.substr(message.find(u"\r\n\r\n") + 4),
              u"/tmp/evil\r\nBcc: x@example.org\n.log")
        << "the body keeps the value as it is";
}

TEST(MailCompose, JobCarriesAccountOnlyWithAuthentication) {
    MailSettings settings;
    settings.smtpServer = u"smtp.example.org";
    settings.smtpPort = 465;
    settings.useSsl = true;
    settings.sslNoVerify = true;
    settings.mailFrom = u"me@example.org";
    settings.accountName = u"me";
    settings.password = u"secret";

    MailJob job = MakeMailJob(settings, u" a@example.org ,b@example.org", u"Gr\u00fc\u00dfe");
    EXPECT_EQ(job.server, "smtp.example.org");
    EXPECT_EQ(job.port, 465u);
    EXPECT_TRUE(job.useSsl && job.sslNoVerify);
    EXPECT_EQ(job.mailFrom, "me@example.org");
    EXPECT_EQ(job.recipients, " a@example.org ,b@example.org");
    EXPECT_FALSE(job.requiresAuth);
    EXPECT_TRUE(job.accountName.empty() && job.password.empty());
    EXPECT_EQ(job.message,
              "Gr\xC3\xBC\xC3\x9F"
              "e");

    settings.requiresAuth = true;
    job = MakeMailJob(settings, u"a@example.org", u"x");
    EXPECT_TRUE(job.requiresAuth);
    EXPECT_EQ(job.accountName, "me");
    EXPECT_EQ(job.password, "secret");
}

}  // namespace
}  // namespace mail
