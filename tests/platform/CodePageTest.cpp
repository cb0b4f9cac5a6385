#include "platform/CodePage.h"

#include <gtest/gtest.h>

using platform::Utf16ToUtf8;
using platform::Utf8ToUtf16;

TEST(CodePage, RoundTripsEveryPlane) {
    const std::u16string text = u"ascii \u00e4\u00df \u20ac \U0001F600 end";
    EXPECT_EQ(Utf8ToUtf16(Utf16ToUtf8(text)), text);
    EXPECT_EQ(Utf16ToUtf8(u"\u00e4"), "\xC3\xA4");
    EXPECT_EQ(Utf16ToUtf8(u"\U0001F600"), "\xF0\x9F\x98\x80");
}

TEST(CodePage, InvalidUtf8BecomesReplacementCharacters) {
    // A stray continuation byte, a truncated sequence at the end, an overlong
    // form and an encoded surrogate each give U+FFFD and decoding resumes.
    EXPECT_EQ(Utf8ToUtf16("a\x80z"), u"a\uFFFDz");
    EXPECT_EQ(Utf8ToUtf16("ab\xE2\x82"), u"ab\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xC0\xAF"), u"\uFFFD\uFFFD");
    EXPECT_EQ(Utf8ToUtf16("\xED\xA0\x80x"), u"\uFFFD\uFFFD\uFFFDx");
    // A broken sequence does not swallow the ASCII byte that interrupts it.
    EXPECT_EQ(Utf8ToUtf16("\xE2" "A"), u"\uFFFDA");
    EXPECT_EQ(Utf8ToUtf16("\xF5\xFF"), u"\uFFFD\uFFFD");
}

TEST(CodePage, LoneSurrogatesBecomeReplacementCharacters) {
    const char16_t lone[] = {u'a', 0xD800, u'b', 0xDC00};
    EXPECT_EQ(Utf16ToUtf8(std::u16string(lone, 4)), "a\xEF\xBF\xBD" "b\xEF\xBF\xBD");
    const char16_t highAtEnd[] = {u'x', 0xDBFF};
    EXPECT_EQ(Utf16ToUtf8(std::u16string(highAtEnd, 2)), "x\xEF\xBF\xBD");
}

TEST(CodePage, EmbeddedNulIsKept) {
    const std::string withNul("a\0b", 3);
    EXPECT_EQ(Utf8ToUtf16(withNul), std::u16string(u"a\0b", 3));
}
