#include "mail/MailSample.h"

#include <gtest/gtest.h>

#include "mail/MailTestTime.h"

namespace mail {
namespace {

TEST(MailSample, PreviewShowsDefaultHighlightTemplateWithSampleValues) {
    EXPECT_EQ(
        PreviewTemplate(DefaultTemplate(MailTemplateKind::Highlight), MailTemplateKind::Highlight),
        u"Subject:\nHighlight Phrase Occurs Notification\n\n\nBody:\n"
        u"Hi,\r\n\r\nHighlight phrase \"sample filter\" occurred in file d:\\app\\debug.log "
        u"at Tue Mar 02 15:32:21 2010.\r\n\r\nPrevious lines:\r\nsample text previous line "
        u"\r\n\r\nThe occurrence line is:\r\ntest sample filter occurs\r\n\r\n\r\n---\r\n"
        u"The email was sent by Ostra Tarvik\r\n");
}

TEST(MailSample, EachKindReplacesOnlyItsOwnTags) {
    const MailTemplate both{u"%c %s %h", u"%f %n %p %t"};
    EXPECT_EQ(PreviewTemplate(both, MailTemplateKind::StopUpdating),
              u"Subject:\nlast update 180 %h\n\n\nBody:\nd:\\app\\debug.log %n %p Tue Mar 02 "
              u"15:32:21 2010");
    EXPECT_EQ(PreviewTemplate(both, MailTemplateKind::Highlight),
              u"Subject:\n%c %s sample filter\n\n\nBody:\nd:\\app\\debug.log test sample filter "
              u"occurs sample text previous line  Tue Mar 02 15:32:21 2010");
}

TEST(MailSample, SampleMailGoesToTheSampleAddressWithTheDialogValues) {
    MailSettings settings;
    settings.smtpServer = u"relay.local";
    settings.smtpPort = 587;
    settings.mailFrom = u"%f@example.org";
    settings.stopSubject = u"Quiet for %s";
    settings.stopBody = u"since %c";
    const MailJob job = ComposeSampleMail(settings, MailTemplateKind::StopUpdating,
                                          u"me@example.org", mail_test::SampleTime());
    EXPECT_EQ(job.server, "relay.local");
    EXPECT_EQ(job.port, 587u);
    EXPECT_EQ(job.recipients, "me@example.org");
    EXPECT_EQ(job.message,
              "From: %f@example.org\r\nTo: me@example.org\r\nSubject: Quiet for 180\r\n"
              "Date: Tue, 02 Mar 2010 15:32:21 -0000\r\n\r\nsince last update");
}

}  // namespace
}  // namespace mail
