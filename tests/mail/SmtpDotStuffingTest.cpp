#include "mail/DotStuffing.h"

#include <gtest/gtest.h>

using mail::DotStuff;

TEST(SmtpDotStuffing, DoublesLeadingDotsOnly) {
    EXPECT_EQ(DotStuff(".\r\n"), "..\r\n");
    EXPECT_EQ(DotStuff("a.b\r\n.c\r\n"), "a.b\r\n..c\r\n");
    EXPECT_EQ(DotStuff("x\r\n\r\n.\r\n"), "x\r\n\r\n..\r\n");
    EXPECT_EQ(DotStuff("no dots\r\n"), "no dots\r\n");
    EXPECT_EQ(DotStuff(""), "");
}

TEST(SmtpDotStuffing, BareLineFeedsBecomeLineEndsOfTheWire) {
    // Quoted log text may carry bare line feeds; the server splits lines at CR LF
    // only, so a dot after a bare line feed would otherwise stay doubled.
    EXPECT_EQ(DotStuff("log\n.\nmore"), "log\r\n..\r\nmore");
    EXPECT_EQ(DotStuff("\n\r\n"), "\r\n\r\n");
    EXPECT_EQ(DotStuff("cr only\r.x"), "cr only\r.x");
}

TEST(SmtpDotStuffing, EndMarkerCompletesTheLastLineOnlyWhenNeeded) {
    EXPECT_EQ(mail::EndOfDataMarker("body\r\n"), ".\r\n");
    EXPECT_EQ(mail::EndOfDataMarker("body"), "\r\n.\r\n");
    EXPECT_EQ(mail::EndOfDataMarker("body\r"), "\r\n.\r\n");
    EXPECT_EQ(mail::EndOfDataMarker(""), "\r\n.\r\n");
}
