#include "mail/StopUpdatingMail.h"

#include <gtest/gtest.h>

#include "mail/MailTestTime.h"

namespace mail {
namespace {

MailSettings CompleteSettings() {
    MailSettings settings;
    settings.smtpServer = u"smtp.example.org";
    settings.mailFrom = u"monitor@example.org";
    return settings;
}

StopUpdatingMailEvent Event(bool sinceLastUpdate) {
    StopUpdatingMailEvent event;
    event.path = u"/var/log/app.log";
    event.emails = u"ops@example.org";
    event.sinceLastUpdate = sinceLastUpdate;
    event.seconds = 180;
    event.referenceTime = mail_test::SampleTime();
    event.referenceTime.hour = 9;
    return event;
}

TEST(StopUpdatingMail, DefaultTemplateNamesTheReferenceMoment) {
    platform::LocalTime now = mail_test::SampleTime(-3600);
    EXPECT_EQ(ComposeStopUpdatingMessage(CompleteSettings(), Event(false), now),
              u"From: monitor@example.org\r\nTo: ops@example.org\r\n"
              u"Subject: File Stops Updating Notification\r\n"
              u"Date: Tue, 02 Mar 2010 15:32:21 -0100\r\n\r\n"
              u"Hi,\r\n\r\nFile \"/var/log/app.log\" has stopped updating for 180 seconds since "
              u"file open.\r\n\r\nfile open at: Tue Mar 02 09:32:21 2010\r\n\r\n\r\n---\r\n"
              u"The email was sent by Ostra Tarvik\r\n");
    EXPECT_NE(ComposeStopUpdatingMessage(CompleteSettings(), Event(true), now)
                  .find(u"180 seconds since last update.\r\n\r\nlast update at: Tue Mar 02"),
              std::u16string::npos);
}

TEST(StopUpdatingMail, TagsAreReplacedPathSecondsWordsTime) {
    MailSettings settings = CompleteSettings();
    settings.stopSubject = u"%f";
    StopUpdatingMailEvent event = Event(true);
    event.path = u"/logs/%s-%c-%t-%f";
    const std::u16string message =
        ComposeStopUpdatingMessage(settings, event, mail_test::SampleTime());
    EXPECT_NE(message.find(u"Subject: /logs/180-last update-Tue Mar 02 09:32:21 2010-%f\r\n"),
              std::u16string::npos);
}

TEST(StopUpdatingMail, RecipientsAndATemplateAreRequired) {
    const auto now = mail_test::SampleTime();
    StopUpdatingMailEvent event = Event(false);
    EXPECT_TRUE(ComposeStopUpdatingMail(CompleteSettings(), event, now).has_value());
    event.emails = u"";
    EXPECT_FALSE(ComposeStopUpdatingMail(CompleteSettings(), event, now).has_value());

    MailSettings settings = CompleteSettings();
    settings.stopSubject.clear();
    settings.stopBody.clear();
    EXPECT_FALSE(ComposeStopUpdatingMail(settings, Event(false), now).has_value());
    settings = CompleteSettings();
    settings.highlightSubject.clear();
    settings.highlightBody.clear();
    EXPECT_TRUE(ComposeStopUpdatingMail(settings, Event(false), now).has_value())
        << "the highlight templates do not matter here";
    settings.requiresAuth = true;
    EXPECT_FALSE(ComposeStopUpdatingMail(settings, Event(false), now).has_value());
}

}  // namespace
}  // namespace mail
