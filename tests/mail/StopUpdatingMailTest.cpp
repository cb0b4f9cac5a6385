#include "mail/StopUpdatingMail.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "mail/IStopUpdatingDesktopNotice.h"
#include "mail/MailCenter.h"
#include "mail/MailTestTime.h"
#include "mail/StopUpdatingEdit.h"
#include "mail/StopUpdatingRule.h"
#include "platform/Registry.h"
#include "platform/SettableClock.h"
#include "settings/RegistryPaths.h"
#include "settings/StopUpdatingSettings.h"
#include "settings/TempRegistry.h"

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

TEST(StopUpdatingMail, APathIsNeverExpandedAndEveryTagOfTheTemplateIs) {
    MailSettings settings = CompleteSettings();
    settings.stopSubject = u"%f [%s %c %t]";
    StopUpdatingMailEvent event = Event(true);
    event.path = u"/logs/%s-%c-%t-%f";
    const std::u16string message =
        ComposeStopUpdatingMessage(settings, event, mail_test::SampleTime());
    EXPECT_NE(
        message.find(u"Subject: /logs/%s-%c-%t-%f [180 last update Tue Mar 02 09:32:21 2010]\r\n"),
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

// The rule, its do-not-send span, its store and the dialog's checks.

namespace mail {
namespace {

using settings::StopUpdatingSettings;

StopUpdatingSettings Rule(std::int32_t seconds) {
    StopUpdatingSettings rule;
    rule.enabled = true;
    rule.seconds = seconds;
    rule.emails = u"ops@example.org";
    return rule;
}

StopUpdatingSettings Window(std::int32_t seconds, std::uint32_t begin, std::uint32_t end) {
    StopUpdatingSettings rule = Rule(seconds);
    rule.dontSendEnabled = true;
    rule.dontSendBegin = begin;
    rule.dontSendEnd = end;
    return rule;
}

constexpr std::int64_t At(int hour, int minute, int second) {
    return hour * 3600 + minute * 60 + second;
}

TEST(StopUpdatingRule, WatchesEveryFileOrExactlyTheListedPaths) {
    StopUpdatingSettings rule = Rule(60);
    EXPECT_TRUE(StopUpdatingApplies(rule, u"/var/log/any.log"));
    rule.allFiles = false;
    rule.files = {u"/var/log/App.log"};
    EXPECT_TRUE(StopUpdatingApplies(rule, u"/var/log/App.log"));
    EXPECT_FALSE(StopUpdatingApplies(rule, u"/var/log/app.log")) << "letter case counts";
    EXPECT_FALSE(StopUpdatingApplies(rule, u"/var/log/App.log.1"));

    for (auto spoil : {+[](StopUpdatingSettings& r) { r.enabled = false; },
                       +[](StopUpdatingSettings& r) { r.seconds = 0; },
                       +[](StopUpdatingSettings& r) { r.emails.clear(); },
                       +[](StopUpdatingSettings& r) {
                           r.emails.clear();
                           r.postWebHook = true;  // without a URL to post to
                       }}) {
        StopUpdatingSettings off = Rule(60);
        spoil(off);
        EXPECT_FALSE(StopUpdatingApplies(off, u"/var/log/any.log"));
    }
    // A rule that only posts, or only shows a desktop notice, watches too.
    StopUpdatingSettings posting = Rule(60);
    posting.emails.clear();
    posting.postWebHook = true;
    posting.webHookUrl = u"http://127.0.0.1:9/hook";
    EXPECT_TRUE(StopUpdatingApplies(posting, u"/var/log/any.log"));
    StopUpdatingSettings desktop = Rule(60);
    desktop.emails.clear();
    desktop.desktopNotice = true;
    EXPECT_TRUE(StopUpdatingApplies(desktop, u"/var/log/any.log"));
}

TEST(StopUpdatingRule, QuietSecondsThenTheDoNotSendSpan) {
    const std::int64_t opened = 1000000;
    const StopUpdatingSettings rule = Rule(60);
    EXPECT_EQ(DecideStopUpdating(rule, opened + 59, opened, At(10, 0, 0)),
              StopUpdatingDecision::Wait);
    EXPECT_EQ(DecideStopUpdating(rule, opened + 60, opened, At(10, 0, 0)),
              StopUpdatingDecision::Send);

    // 22:00-06:00 with 600 seconds: silent from 22:00:00 through 06:10:00.
    const StopUpdatingSettings night = Window(600, 79200, 21600);
    const std::pair<std::int64_t, bool> nightMoments[] = {
        {At(21, 59, 59), false}, {At(22, 0, 0), true},  {At(23, 59, 59), true}, {At(0, 0, 0), true},
        {At(6, 10, 0), true},    {At(6, 10, 1), false}, {At(12, 0, 0), false},
    };
    for (const auto& [t, silent] : nightMoments) {
        EXPECT_EQ(InDontSendSpan(night, t), silent) << t;
        EXPECT_EQ(DecideStopUpdating(night, opened + 600, opened, t),
                  silent ? StopUpdatingDecision::Suppressed : StopUpdatingDecision::Send)
            << t;
    }

    // 12:00-13:00 with 60 seconds: silent from 12:00:00 through 13:01:00.
    const StopUpdatingSettings noon = Window(60, At(12, 0, 0), At(13, 0, 0));
    EXPECT_FALSE(InDontSendSpan(noon, At(11, 59, 59)));
    EXPECT_TRUE(InDontSendSpan(noon, At(12, 0, 0)));
    EXPECT_TRUE(InDontSendSpan(noon, At(13, 1, 0)));
    EXPECT_FALSE(InDontSendSpan(noon, At(13, 1, 1)));

    // A stored begin equal to its end silences the whole day.
    const StopUpdatingSettings always = Window(60, At(8, 0, 0), At(8, 0, 0));
    for (const std::int64_t t : {At(0, 0, 0), At(7, 0, 0), At(8, 2, 0), At(23, 59, 59)}) {
        EXPECT_TRUE(InDontSendSpan(always, t)) << t;
    }
    StopUpdatingSettings switchedOff = always;
    switchedOff.dontSendEnabled = false;
    EXPECT_FALSE(InDontSendSpan(switchedOff, At(8, 0, 0)));
}

class StopUpdatingStore : public app_test::TempRegistryTest {};

TEST_F(StopUpdatingStore, DefaultsThenLoadRules) {
    EXPECT_EQ(settings::LoadStopUpdatingSettings(), StopUpdatingSettings{});

    platform::RegKey key = app_test::CreateKey(settings::reg_paths::kStopUpdating);
    for (const std::int32_t stored : {0, -5}) {
        key.SetDWORD(u"SUNSeconds", static_cast<std::uint32_t>(stored));
        EXPECT_EQ(settings::LoadStopUpdatingSettings().seconds, 1) << stored;
    }
    key.SetString(u"File1", u"/var/log/a.log");
    key.SetString(u"File2", u"/var/log/b.log");
    key.SetString(u"File3", u"");
    key.SetString(u"File4", u"/var/log/after-the-gap.log");
    EXPECT_EQ(settings::LoadStopUpdatingSettings().files,
              (std::vector<std::u16string>{u"/var/log/a.log", u"/var/log/b.log"}));
    // A path longer than its reading buffer (260 characters) ends the list too.
    key.SetString(u"File2", u"/" + std::u16string(259, u'x'));
    EXPECT_EQ(settings::LoadStopUpdatingSettings().files.size(), 1u);
    key.SetString(u"File2", u"/" + std::u16string(258, u'x'));
    EXPECT_EQ(settings::LoadStopUpdatingSettings().files.size(), 2u);
}

TEST_F(StopUpdatingStore, SavingReplacesTheWholeKey) {
    StopUpdatingSettings rule = Window(90, At(22, 0, 0), At(6, 30, 0));
    rule.allFiles = false;
    rule.files = {u"/var/log/a.log", u"/var/log/b.log", u"/var/log/c.log"};
    ASSERT_TRUE(settings::SaveStopUpdatingSettings(rule));
    app_test::CreateKey(settings::reg_paths::kStopUpdating).SetString(u"Stray", u"x");
    EXPECT_EQ(settings::LoadStopUpdatingSettings(), rule);

    rule.files = {u"/var/log/z.log"};
    ASSERT_TRUE(settings::SaveStopUpdatingSettings(rule));
    EXPECT_EQ(settings::LoadStopUpdatingSettings(), rule);
    std::vector<std::u16string> names = app_test::ValueNames(settings::reg_paths::kStopUpdating);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{
                         u"File1", u"SUNAllFiles", u"SUNDontSendAt", u"SUNDontSendBeginSecond",
                         u"SUNDontSendEndSecond", u"SUNEmails", u"SUNEnable", u"SUNSeconds"}))
        << "no stray or stale value survives";

    // The desktop notice and the web hook post load back; without them the
    // rule above loaded with both off.
    rule.desktopNotice = true;
    rule.postWebHook = true;
    rule.webHookUrl = u"https://chat.example/hooks/ops";
    rule.webHookBody = u"{\"text\":\"No new lines in %f for %s seconds\"}";
    ASSERT_TRUE(settings::SaveStopUpdatingSettings(rule));
    EXPECT_EQ(settings::LoadStopUpdatingSettings(), rule);
}

TEST(StopUpdatingEdit, ChecksInOrderOnlyWhileOn) {
    StopUpdatingEdit edit;
    edit.enabled = true;
    edit.seconds = 0;
    edit.emails = u"  \t ";
    edit.dontSendEnabled = true;
    edit.beginHour = edit.endHour = 7;
    edit.beginMinute = edit.endMinute = 5;
    auto problem = StopUpdatingEditProblem(edit);
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem, (StopUpdatingProblem{StopUpdatingField::Seconds,
                                             u"Please enter a value greater than 0"}));
    edit.seconds = 1;
    problem = StopUpdatingEditProblem(edit);
    ASSERT_TRUE(problem);
    EXPECT_EQ(*problem, (StopUpdatingProblem{StopUpdatingField::Emails,
                                             u"Please enter one or more email addresses"}));
    edit.emails = u"  ops@example.org, dev@example.org ";
    problem = StopUpdatingEditProblem(edit);
    ASSERT_TRUE(problem);
    EXPECT_EQ(problem->field, StopUpdatingField::DontSendTimes);
    EXPECT_EQ(problem->message, u"Begin time (07:05) should be different to end time (07:05).");
    EXPECT_EQ(edit.emails, u"ops@example.org, dev@example.org");
    edit.endMinute = 6;
    EXPECT_FALSE(StopUpdatingEditProblem(edit));
    EXPECT_EQ(StopUpdatingSettingsOf(edit).dontSendBegin, At(7, 5, 0));
    EXPECT_EQ(StopUpdatingSettingsOf(edit).dontSendEnd, At(7, 6, 0));

    StopUpdatingEdit off;
    off.seconds = 0;
    off.emails = u" x ";
    EXPECT_FALSE(StopUpdatingEditProblem(off));
    EXPECT_EQ(off.emails, u" x ") << "nothing is touched while the rule is off";
}

class RecordingDesktop final : public IStopUpdatingDesktopNotice {
public:
    void ShowStopUpdatingNotice(std::u16string_view path, std::u16string_view text) override {
        shown.emplace_back(path, text);
    }
    std::vector<std::pair<std::u16string, std::u16string>> shown;
};

// The quiet period in words, and the notice that goes to the desktop with
// the e-mail only when the rule asks for it.
TEST_F(StopUpdatingStore, AQuietFileShowsOnTheDesktopWhenTheRuleAsks) {
    EXPECT_EQ(QuietPeriodWords(1), u"1 second");
    EXPECT_EQ(QuietPeriodWords(90), u"90 seconds");
    EXPECT_EQ(QuietPeriodWords(60), u"1 minute");
    EXPECT_EQ(QuietPeriodWords(5400), u"90 minutes");
    EXPECT_EQ(QuietPeriodWords(7200), u"2 hours");
    EXPECT_EQ(StopUpdatingNoticeText(u"OutputDebugString", 3600),
              u"No new lines in OutputDebugString for 1 hour");
    // A source's name is shown whole: its slashes are no folders.
    EXPECT_EQ(StopUpdatingNoticeText(u"journal:?dir=/var/log/journal/remote", 600),
              u"No new lines in journal:?dir=/var/log/journal/remote for 10 minutes");

    platform_test::SettableClock clock;
    CMailCenter center(nullptr, clock);
    RecordingDesktop desktop;
    center.StopUpdating().SetDesktopNotice(&desktop);
    StopUpdatingSettings rule = Rule(600);
    center.StopUpdating().Apply(rule);
    EXPECT_TRUE(center.StopUpdating().Check(u"/var/log/app.log", true, clock.now - 600));
    EXPECT_TRUE(desktop.shown.empty()) << "the rule does not ask for it";

    rule.desktopNotice = true;
    center.StopUpdating().Apply(rule);
    EXPECT_FALSE(center.StopUpdating().Check(u"/var/log/app.log", true, clock.now - 599));
    EXPECT_TRUE(desktop.shown.empty()) << "not quiet long enough";
    EXPECT_TRUE(center.StopUpdating().Check(u"/var/log/app.log", true, clock.now - 600));
    ASSERT_EQ(desktop.shown.size(), 1u);
    EXPECT_EQ(desktop.shown[0].first, u"/var/log/app.log");
    EXPECT_EQ(desktop.shown[0].second, u"No new lines in app.log for 10 minutes");
}

// Paths differing in letter case name different files, as the rule sees them.
TEST(StopUpdatingEdit, ListedFilesRepeatNoPath) {
    StopUpdatingSettings stored = Rule(60);
    stored.files = {u"/var/log/A.log", u"/var/log/b.log", u"/var/log/a.log", u"/var/log/b.log"};
    StopUpdatingEdit edit = StopUpdatingEditOf(stored);
    EXPECT_EQ(edit.files, (std::vector<std::u16string>{u"/var/log/A.log", u"/var/log/b.log",
                                                       u"/var/log/a.log"}));
    AddStopUpdatingFiles(edit.files, {u"/var/log/B.LOG", u"/var/log/c.log", u"/var/log/c.log"});
    EXPECT_EQ(edit.files,
              (std::vector<std::u16string>{u"/var/log/A.log", u"/var/log/b.log", u"/var/log/a.log",
                                           u"/var/log/B.LOG", u"/var/log/c.log"}));
}

}  // namespace
}  // namespace mail
