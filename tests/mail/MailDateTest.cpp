#include "mail/MailDate.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "mail/MailTestTime.h"

namespace mail {
namespace {

using mail_test::SampleTime;

TEST(MailDate, OffsetSignFollowsMinutesWestOfUtc) {
    EXPECT_EQ(FormatMailDate(SampleTime(0)), u"Tue, 02 Mar 2010 15:32:21 -0000");
    EXPECT_EQ(FormatMailDate(SampleTime(3600)), u"Tue, 02 Mar 2010 15:32:21 +0100");
    EXPECT_EQ(FormatMailDate(SampleTime(-5 * 3600)), u"Tue, 02 Mar 2010 15:32:21 -0500");
    EXPECT_EQ(FormatMailDate(SampleTime(5 * 3600 + 30 * 60)), u"Tue, 02 Mar 2010 15:32:21 +0530");
    EXPECT_EQ(FormatMailDate(SampleTime(-(3 * 3600 + 30 * 60))),
              u"Tue, 02 Mar 2010 15:32:21 -0330");
    EXPECT_EQ(FormatMailDate(SampleTime(14 * 3600)), u"Tue, 02 Mar 2010 15:32:21 +1400");
}

TEST(MailDate, TagTimeUsesEnglishNamesAndPaddedFields) {
    EXPECT_EQ(FormatTagTime(SampleTime(3600)), u"Tue Mar 02 15:32:21 2010");
    platform::LocalTime time = SampleTime(0);
    time.month = 12;
    time.dayOfWeek = 0;
    time.day = 31;
    time.hour = 0;
    EXPECT_EQ(FormatTagTime(time), u"Sun Dec 31 00:32:21 2010");
}

TEST(MailDate, FieldsOutOfRangeNeverReadPastTheNameTables) {
    platform::LocalTime time = SampleTime(0);
    time.month = 13;
    time.dayOfWeek = -1;
    EXPECT_EQ(FormatTagTime(time), u"??? ??? 02 15:32:21 2010");
    time.month = 0;
    time.dayOfWeek = 7;
    EXPECT_EQ(FormatMailDate(time), u"???, 02 ??? 2010 15:32:21 -0000");
}

// Switches the process's time zone for one test.
class ZoneScope {
public:
    explicit ZoneScope(const char* zone) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~ZoneScope() {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }

private:
    std::optional<std::string> previous_;
};

TEST(MailDate, LocalTimeOfAMomentCarriesItsZone) {
    constexpr std::int64_t kMoment = 1267543941;  // 2010-03-02 15:32:21 UTC
    {
        ZoneScope zone("UTC0");
        const platform::LocalTime time = LocalTimeAt(kMoment);
        EXPECT_EQ(FormatTagTime(time), u"Tue Mar 02 15:32:21 2010");
        EXPECT_EQ(FormatMailDate(time), u"Tue, 02 Mar 2010 15:32:21 -0000");
    }
    {
        ZoneScope zone("EST5");
        EXPECT_EQ(FormatMailDate(LocalTimeAt(kMoment)), u"Tue, 02 Mar 2010 10:32:21 -0500");
    }
    {
        ZoneScope zone("CET-1");
        EXPECT_EQ(FormatMailDate(LocalTimeAt(kMoment)), u"Tue, 02 Mar 2010 16:32:21 +0100");
    }
}

}  // namespace
}  // namespace mail
