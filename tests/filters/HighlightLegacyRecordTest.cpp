#include <gtest/gtest.h>

#include <string>

#include "filters/HighlightTestFilters.h"
#include "filters/LegacyHighlightFilterRecord.h"

namespace filters {
namespace {

TEST(HighlightLegacyRecord, EncodedFiltersDecodeToTheSameFields) {
    HighlightFilter filter = highlight_test::Filter(u"Ölfilter", 0x00010203);
    filter.Emails = u"a@example.org";
    filter.WrittenFile = u"/tmp/w.log";
    filter.ExecutableProgram = u"run me";
    filter.SetAvailableFile(u"/A.log");
    filter.WriteFile = filter.IncludeTimestamp = filter.HighlightEntireLine = true;
    filter.AttachPreviousLinesWithEmail = 32767;
    filter.Enable = false;

    const std::vector<std::uint8_t> bytes = LegacyHighlightFilterRecord::Encode(filter);
    ASSERT_EQ(bytes.size(), 2156u);
    const HighlightFilter back = LegacyHighlightFilterRecord::Decode(bytes);
    EXPECT_EQ(back.phrase.text, filter.phrase.text);
    EXPECT_EQ(back.TextColor, filter.TextColor);
    EXPECT_EQ(back.BkgColor, filter.BkgColor);
    EXPECT_EQ(back.Emails, filter.Emails);
    EXPECT_EQ(back.WrittenFile, filter.WrittenFile);
    EXPECT_EQ(back.ExecutableProgram, filter.ExecutableProgram);
    EXPECT_EQ(back.AvailableFile, filter.AvailableFile);
    EXPECT_EQ(back.foldedAvailableFile, u"/a.log");
    EXPECT_TRUE(back.WriteFile && back.IncludeTimestamp && back.HighlightEntireLine);
    EXPECT_FALSE(back.Enable);
    EXPECT_EQ(back.AttachPreviousLinesWithEmail, 32767);
}

TEST(HighlightLegacyRecord, LongTextsAreCutToLeaveRoomForTheTerminator) {
    HighlightFilter filter = highlight_test::Filter(std::u16string(100, u'p'), 1);
    filter.Emails = std::u16string(500, u'e');
    const std::vector<std::uint8_t> bytes = LegacyHighlightFilterRecord::Encode(filter);
    EXPECT_EQ(bytes[8 + 2 * 69], 0);
    EXPECT_EQ(bytes[8 + 2 * 69 + 1], 0);
    const HighlightFilter back = LegacyHighlightFilterRecord::Decode(bytes);
    EXPECT_EQ(back.phrase.text, std::u16string(69, u'p'));
    EXPECT_EQ(back.Emails, std::u16string(199, u'e'));
}

}  // namespace
}  // namespace filters
