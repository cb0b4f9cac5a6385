#include "mail/SmtpReply.h"

#include <gtest/gtest.h>

#include <string>

#include "SmtpTestChannel.h"

using mail::IsContinuationLine;
using mail::ReadReply;
using mail::ReplyCode;

TEST(SmtpReply, CodeFollowsAtoiRules) {
    EXPECT_EQ(ReplyCode("250 OK"), 250);
    EXPECT_EQ(ReplyCode("  \t354 go ahead"), 354);
    EXPECT_EQ(ReplyCode("OK 250"), 0);
    EXPECT_EQ(ReplyCode(""), 0);
    EXPECT_EQ(ReplyCode("-5"), -5);
    EXPECT_EQ(ReplyCode("99999999999999999999 huge"), 2147483647);
}

TEST(SmtpReply, ContinuationNeedsDashAsFourthCharacter) {
    EXPECT_TRUE(IsContinuationLine("250-PIPELINING"));
    EXPECT_TRUE(IsContinuationLine("abc-"));
    EXPECT_FALSE(IsContinuationLine("250 OK"));
    EXPECT_FALSE(IsContinuationLine("25-"));
    EXPECT_FALSE(IsContinuationLine("250"));
}

TEST(SmtpReply, MultiLineReplyTakesCodeFromLastLine) {
    FakeSmtpChannel channel;
    channel.script = "220-first\r\n999-second\n220 last line\r\n250 next\r\n";
    const auto reply = ReadReply(channel, 1024, 1);
    EXPECT_TRUE(reply.received);
    EXPECT_EQ(reply.code, 220);
    EXPECT_EQ(reply.line, "220 last line");
    // The following reply is still there for the next command.
    EXPECT_EQ(ReadReply(channel, 1024, 1).line, "250 next");
}

TEST(SmtpReply, ClosedConnectionIsNotAReply) {
    FakeSmtpChannel channel;
    channel.script = "220-more to come\r\n220 cut";
    EXPECT_FALSE(ReadReply(channel, 1024, 1).received);
}

TEST(SmtpReply, TimedOutWaitGivesThePartialLine) {
    FakeSmtpChannel channel;
    channel.closeAtEnd = false;
    channel.script = "22";
    const auto partial = ReadReply(channel, 1024, 1);
    EXPECT_TRUE(partial.received);
    EXPECT_EQ(partial.line, "22");
    EXPECT_EQ(partial.code, 22);
    const auto silent = ReadReply(channel, 1024, 1);
    EXPECT_TRUE(silent.received);
    EXPECT_EQ(silent.line, "");
    EXPECT_EQ(silent.code, 0);
}

TEST(SmtpReply, OverlongLineIsCutAndItsRestDropped) {
    FakeSmtpChannel channel;
    channel.readSize = 4096;
    channel.script = "250 " + std::string(4996, 'x') + "\r\n221 bye\r\n";
    std::string line;
    EXPECT_EQ(channel.ReceiveLine(line, 1024, 1), 5002);
    EXPECT_EQ(line.size(), 1023u);
    EXPECT_EQ(line.substr(0, 5), "250 x");
    EXPECT_EQ(channel.ReceiveLine(line, 1024, 1), 9);
    EXPECT_EQ(line, "221 bye");
}

TEST(SmtpReply, EndlessLineIsABrokenConnection) {
    FakeSmtpChannel channel;
    channel.readSize = 4096;
    channel.closeAtEnd = false;
    channel.script = std::string(mail::kLongestReplyLine + 10, 'y');
    std::string line;
    EXPECT_EQ(channel.ReceiveLine(line, 1024, 1), -1);
}

TEST(SmtpReply, EndlessContinuationLinesAreABrokenConnection) {
    FakeSmtpChannel channel;
    channel.readSize = 4096;
    for (int i = 0; i <= mail::kMostReplyLines; ++i) channel.script += "250-more\r\n";
    channel.script += "250 done\r\n";
    EXPECT_FALSE(ReadReply(channel, 1024, 1).received);
}
