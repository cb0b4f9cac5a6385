#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "settings/LogFont.h"
#include "settings/WindowRect.h"

namespace {

using settings::LogFont;
using settings::WindowRect;

TEST(LogFontTest, DefaultRecordHasTheStoredByteLayout) {
    const auto bytes = LogFont{}.ToBytes();
    const std::vector<std::uint8_t> height(bytes.begin(), bytes.begin() + 4);
    EXPECT_EQ(height, (std::vector<std::uint8_t>{0xF4, 0xFF, 0xFF, 0xFF}));  // -12
    EXPECT_EQ(bytes[16], 0x90);                                              // weight 400
    EXPECT_EQ(bytes[17], 0x01);
    EXPECT_EQ(bytes[23], 1);  // character set
    // The face name starts at byte 28 as UTF-16LE: "Co..."
    EXPECT_EQ(bytes[28], 'C');
    EXPECT_EQ(bytes[29], 0);
    EXPECT_EQ(bytes[30], 'o');
    EXPECT_EQ(bytes[28 + 2 * 11], 0) << "terminator after \"Courier New\"";
}

TEST(LogFontTest, EveryFieldRoundTripsThroughBytes) {
    LogFont font;
    font.lfHeight = -20;
    font.lfWidth = 7;
    font.lfEscapement = 900;
    font.lfOrientation = -900;
    font.lfWeight = 700;
    font.lfItalic = 1;
    font.lfUnderline = 1;
    font.lfStrikeOut = 1;
    font.lfCharSet = 0xEE;
    font.lfOutPrecision = 3;
    font.lfClipPrecision = 2;
    font.lfQuality = 5;
    font.lfPitchAndFamily = 0x31;
    font.SetFaceName(u"\u00c9criture Mono");
    const auto bytes = font.ToBytes();
    EXPECT_EQ(LogFont::FromBytes(bytes), font);
}

TEST(LogFontTest, OnlyNinetyTwoBytesMakeARecordAndTheNameStaysTerminated) {
    EXPECT_FALSE(LogFont::FromBytes(std::vector<std::uint8_t>(91)));
    EXPECT_FALSE(LogFont::FromBytes(std::vector<std::uint8_t>(93)));

    const std::vector<std::uint8_t> noTerminator(92, 'A');
    const auto font = LogFont::FromBytes(noTerminator);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->FaceName().size(), 31u);

    LogFont named;
    named.SetFaceName(std::u16string(40, u'x'));
    EXPECT_EQ(named.FaceName(), std::u16string(31, u'x'));
}

TEST(WindowRectTest, BytesAreFourSignedLittleEndianNumbers) {
    const WindowRect rect{-5, 10, 800, 600};
    const auto bytes = rect.ToBytes();
    EXPECT_EQ(bytes[0], 0xFB);
    EXPECT_EQ(bytes[3], 0xFF);
    EXPECT_EQ(bytes[4], 10);
    EXPECT_EQ(bytes[8], 0x20);  // 800 = 0x320
    EXPECT_EQ(bytes[9], 0x03);
    EXPECT_EQ(WindowRect::FromBytes(bytes), rect);
    EXPECT_FALSE(WindowRect::FromBytes(std::vector<std::uint8_t>(15)));
    EXPECT_FALSE(WindowRect::FromBytes(std::vector<std::uint8_t>(17)));
}

TEST(WindowRectTest, RectanglesWithoutAreaAreEmpty) {
    EXPECT_TRUE(WindowRect{}.IsEmpty());
    EXPECT_TRUE((WindowRect{10, 10, 10, 50}).IsEmpty());
    EXPECT_TRUE((WindowRect{10, 10, 50, 5}).IsEmpty());
    EXPECT_FALSE((WindowRect{-10, -10, 1, 1}).IsEmpty());
}

}  // namespace
