#include "mail/WireMessage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using mail::WireMessage;

namespace {

const std::string kHead = "Subject: s\r\n\r\n";

std::vector<std::string> WireLines(const std::string& wire) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < wire.size();) {
        const std::size_t end = wire.find("\r\n", start);
        lines.push_back(wire.substr(start, end - start));
        start = end == std::string::npos ? wire.size() : end + 2;
    }
    return lines;
}

// The body as it was before folding: every line end of the wire taken out.
std::string Unfolded(const std::string& wire) {
    std::string text;
    for (const auto& line : WireLines(wire)) text += line;
    return text;
}

}  // namespace

TEST(SmtpWireMessage, DoublesLeadingDotsOnly) {
    EXPECT_EQ(WireMessage(".\r\n"), "..\r\n");
    EXPECT_EQ(WireMessage("a.b\r\n.c\r\n"), "a.b\r\n..c\r\n");
    EXPECT_EQ(WireMessage("x\r\n\r\n.\r\n"), "x\r\n\r\n..\r\n");
    EXPECT_EQ(WireMessage("no dots\r\n"), "no dots\r\n");
    EXPECT_EQ(WireMessage(""), "");
}

TEST(SmtpWireMessage, BareLineFeedsAndCarriageReturnsBecomeLineEndsOfTheWire) {
    // Quoted log text may carry bare line feeds, and a Linux path bare carriage
    // returns. Servers differ in which of them end a line, so a dot after
    // either could end the data early at one of them.
    EXPECT_EQ(WireMessage("log\n.\nmore"), "log\r\n..\r\nmore");
    EXPECT_EQ(WireMessage("\n\r\n"), "\r\n\r\n");
    EXPECT_EQ(WireMessage("cr only\r.x"), "cr only\r\n..x");
    EXPECT_EQ(WireMessage("file /tmp/a\r.\r\n\r\rend\r"), "file /tmp/a\r\n..\r\n\r\n\r\nend\r\n");
}

TEST(SmtpWireMessage, LongBodyLinesAreFoldedAtCharacterBoundaries) {
    const std::string fits(998, 'a');
    EXPECT_EQ(WireMessage(kHead + fits + "\r\n"), kHead + fits + "\r\n");
    EXPECT_EQ(WireMessage(kHead + fits + "b\r\n"), kHead + fits + "\r\nb\r\n");

    // "\xC3\xA4" would straddle octet 998: the fold goes before it.
    const std::string straddling = std::string(997, 'a') + "\xC3\xA4" + "b";
    EXPECT_EQ(WireMessage(kHead + straddling),
              kHead + std::string(997, 'a') + "\r\n\xC3\xA4" + "b");

    // The stuffed dot counts, and a piece that begins with a dot gets one too.
    const std::string dotted = "." + std::string(996, 'a') + ".tail";
    EXPECT_EQ(WireMessage(kHead + dotted), kHead + "." + dotted.substr(0, 997) + "\r\n..tail");

    // Three-octet characters for 3000 octets, with some bytes that are not UTF-8.
    std::string log;
    for (int i = 0; i < 1000; ++i) log += "\xE2\x82\xAC";
    log += std::string(1500, '\x80') + "end";
    const std::string wire = WireMessage(kHead + log + "\r\n");
    const auto lines = WireLines(wire);
    ASSERT_GT(lines.size(), 5u);
    for (const auto& line : lines) EXPECT_LE(line.size(), mail::kLongestWireLine);
    EXPECT_EQ(lines[2].size(), 996u);  // 998 would split a character
    EXPECT_EQ(Unfolded(wire), "Subject: s" + log);
}

TEST(SmtpWireMessage, LongHeaderLinesStayOneField) {
    std::string to = "To:";
    for (int i = 0; i < 100; ++i) to += " ops" + std::to_string(i) + "@example.org,";
    const std::string subject = "Subject:" + std::string(1200, 'x');
    const auto lines = WireLines(WireMessage(to + "\r\n" + subject + "\r\n\r\nbody\r\n"));
    // A line that begins with a blank goes on with the field above it.
    std::vector<std::string> fields;
    for (const auto& line : lines) {
        if (line.empty()) break;
        EXPECT_LE(line.size(), mail::kLongestWireLine);
        if (line[0] == ' ' && !fields.empty()) {
            fields.back() += line;
        } else {
            fields.push_back(line);
        }
    }
    ASSERT_EQ(fields.size(), 2u);
    // Folded before a blank, the recipients read the same; with no blank to
    // use, one is added.
    EXPECT_EQ(fields[0], to);
    EXPECT_EQ(fields[1], subject.substr(0, 998) + " " + subject.substr(998));
    EXPECT_EQ(lines.back(), "body");
}

TEST(SmtpWireMessage, EndMarkerCompletesTheLastLineOnlyWhenNeeded) {
    EXPECT_EQ(mail::EndOfDataMarker("body\r\n"), ".\r\n");
    EXPECT_EQ(mail::EndOfDataMarker("body"), "\r\n.\r\n");
    EXPECT_EQ(mail::EndOfDataMarker("body\r"), "\r\n.\r\n");
    EXPECT_EQ(mail::EndOfDataMarker(""), "\r\n.\r\n");
}
