// The shared size and duration texts of titles and status panes, at the
// boundaries where their units change.

#include <gtest/gtest.h>

#include <cstdint>

#include "core/SizeFormat.h"

namespace {

TEST(MonitorFormatTest, DurationsChangeUnitAtOneSecondAndOneMinute) {
    EXPECT_EQ(core::FormatDuration(0), u"0 ms");
    EXPECT_EQ(core::FormatDuration(100), u"100 ms");
    EXPECT_EQ(core::FormatDuration(999), u"999 ms");
    EXPECT_EQ(core::FormatDuration(1000), u"1.0 sec.");
    EXPECT_EQ(core::FormatDuration(32767), u"32.8 sec.");
    EXPECT_EQ(core::FormatDuration(59999), u"60.0 sec.");
    EXPECT_EQ(core::FormatDuration(60000), u"1.0 min.");
    EXPECT_EQ(core::FormatDuration(0xFFFFFFFF), u"71582.8 min.");
}

TEST(MonitorFormatTest, BufferSizesChangeUnitAtPowersOf1024) {
    EXPECT_EQ(core::FormatBufferSize(0), u"0Byte");
    EXPECT_EQ(core::FormatBufferSize(1023), u"1023Byte");
    EXPECT_EQ(core::FormatBufferSize(1024), u"1.00KB");
    EXPECT_EQ(core::FormatBufferSize(1048575), u"1024.00KB");
    EXPECT_EQ(core::FormatBufferSize(1048576), u"1.00MB");
    EXPECT_EQ(core::FormatBufferSize(20971520), u"20.00MB");
    EXPECT_EQ(core::FormatBufferSize(1073741823), u"1024.00MB");
    EXPECT_EQ(core::FormatBufferSize(1073741824), u"1.00GB");
    EXPECT_EQ(core::FormatBufferSize(0xFFFFFFFF), u"4.00GB");
}

TEST(MonitorFormatTest, FileSizesChangeUnitAtThousandsOfPowersOf1024) {
    EXPECT_EQ(core::FormatFileSize(-5), u"-5 B");
    EXPECT_EQ(core::FormatFileSize(999), u"999 B");
    EXPECT_EQ(core::FormatFileSize(1000), u"1.0 KB");
    EXPECT_EQ(core::FormatFileSize(1023999), u"1000.0 KB");
    EXPECT_EQ(core::FormatFileSize(1024000), u"0.98 MB");
    EXPECT_EQ(core::FormatFileSize(1048575999), u"1000.00 MB");
    EXPECT_EQ(core::FormatFileSize(1048576000), u"0.98 GB");
    EXPECT_EQ(core::FormatFileSize(INT64_C(0xF9FFFFFFFF)), u"1000.00 GB");
    EXPECT_EQ(core::FormatFileSize(INT64_C(0xFA00000000)), u"0.98 TB");
}

}  // namespace
