#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/NormalizeText.h"
#include "core/SizeFormat.h"

namespace {

std::u16string Normalized(std::u16string_view input, bool spaces = true) {
    std::vector<char16_t> text(input.begin(), input.end());
    text.push_back(u'?');  // room for the terminator, which must replace it
    const std::size_t n = core::NormalizeText(text.data(), input.size(), spaces);
    EXPECT_EQ(text[n], 0);
    return std::u16string(text.data(), n);
}

TEST(NormalizeTextTest, LineBreaksBecomeSingleLfs) {
    EXPECT_EQ(Normalized(u"a\r\nb"), u"a\nb");
    EXPECT_EQ(Normalized(u"a\rb"), u"a\nb");
    EXPECT_EQ(Normalized(u"a\n\rb"), u"a\nb");
    EXPECT_EQ(Normalized(u"a\nb"), u"a\nb");
    EXPECT_EQ(Normalized(u"a\r\n\r\nb"), u"a\n\nb");
    EXPECT_EQ(Normalized(u"a\n\r\nb"), u"a\n\nb");
    EXPECT_EQ(Normalized(u"\r\r"), u"\n\n");
}

TEST(NormalizeTextTest, ASplitCrLfPairGivesAnExtraEmptyLine) {
    const std::u16string joined = Normalized(u"x\r") + Normalized(u"\ny");
    EXPECT_EQ(joined, u"x\n\ny");
}

TEST(NormalizeTextTest, ControlCharactersBecomeSpacesOnlyWhenAsked) {
    const std::u16string input = std::u16string(
        u"a\x07"
        u"b\x1F\x7F\t\x00z",
        8);
    EXPECT_EQ(Normalized(input, true), u"a b  \t z");
    EXPECT_EQ(Normalized(input, false), input);
    EXPECT_EQ(Normalized(u"\u00E9\uFFFD\U0001F600"), u"\u00E9\uFFFD\U0001F600");
}

TEST(SizeFormatTest, TitleSizesInHumanForm) {
    EXPECT_EQ(core::FormatHumanSize(0), u"0 B");
    EXPECT_EQ(core::FormatHumanSize(999), u"999 B");
    EXPECT_EQ(core::FormatHumanSize(1000), u"1.0 KB");
    EXPECT_EQ(core::FormatHumanSize(1536), u"1.5 KB");
    EXPECT_EQ(core::FormatHumanSize(1023999), u"1000.0 KB");
    EXPECT_EQ(core::FormatHumanSize(1024000), u"0.98 MB");
    EXPECT_EQ(core::FormatHumanSize(1048576000), u"0.98 GB");
    EXPECT_EQ(core::FormatHumanSize(0xFA00000000), u"0.98 TB");
    EXPECT_EQ(core::FormatHumanSize(0xFFFFFFFFFFFFFFFF), u"16777216.00 TB");
}

TEST(SizeFormatTest, TextLengthPane) {
    EXPECT_EQ(core::FormatTextLength(1023), u"1023Byte");
    EXPECT_EQ(core::FormatTextLength(1024), u"1.00KB");
    EXPECT_EQ(core::FormatTextLength(0xFFFFF), u"1024.00KB");
    EXPECT_EQ(core::FormatTextLength(0x100000), u"1.00MB");
    EXPECT_EQ(core::FormatTextLength(0x40000000), u"1.00GB");
}

}  // namespace
