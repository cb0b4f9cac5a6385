#include "mail/Base64.h"

#include <gtest/gtest.h>

#include <string>

using mail::Base64Encode;

TEST(Base64, PadsShortFinalGroups) {
    // Account names of one, two and three characters: two pads, one, none.
    EXPECT_EQ(Base64Encode("a"), "YQ==");
    EXPECT_EQ(Base64Encode("ab"), "YWI=");
    EXPECT_EQ(Base64Encode("abc"), "YWJj");
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("user@example.com"), "dXNlckBleGFtcGxlLmNvbQ==");
}

TEST(Base64, UsesTheStandardAlphabetForHighBytes) {
    EXPECT_EQ(Base64Encode(std::string("\xFB\xFF\xBF", 3)), "+/+/");
    EXPECT_EQ(Base64Encode(std::string("\0\0\0\0", 4)), "AAAAAA==");
    EXPECT_EQ(Base64Encode("p\xC3\xA4ss"), "cMOkc3M=");
}

TEST(Base64, LongInputHasNoLineBreaks) {
    const std::string encoded = Base64Encode(std::string(300, 'x'));
    EXPECT_EQ(encoded.size(), 400u);
    EXPECT_EQ(encoded.find_first_of("\r\n"), std::string::npos);
}
