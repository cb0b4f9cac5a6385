#pragma once
// Reading a server reply: any number of continuation lines ("250-...") and a
// last line whose code counts.

#include <cstddef>
#include <string>
#include <string_view>

#include "mail/SmtpChannel.h"

namespace mail {

struct SmtpReply {
    bool received = false;  // false: the connection failed or closed while reading
    int code = 0;           // the number at the start of the last line, 0 if none
    std::string line;       // the last line, without its line end
};

// A line whose fourth character is "-" announces more lines of the same reply.
bool IsContinuationLine(std::string_view line);

// The decimal number at the start of a line: leading white space, an optional
// sign and digits; no number gives 0 and a huge one is clamped.
int ReplyCode(std::string_view line);

// Reads lines until the last line of a reply. capacity bounds each kept line.
SmtpReply ReadReply(CSmtpChannel& channel, std::size_t capacity, int seconds);

// Replies have no size limit in the protocol; this many lines is more than any
// server sends, and stops a peer that streams continuation lines forever.
inline constexpr int kMostReplyLines = 1000;

}  // namespace mail
