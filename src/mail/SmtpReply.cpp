#include "mail/SmtpReply.h"

#include <climits>

namespace mail {

bool IsContinuationLine(std::string_view line) {
    return line.size() >= 4 && line[3] == '-';
}

int ReplyCode(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && (line[i] == ' ' || (line[i] >= '\t' && line[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < line.size() && (line[i] == '+' || line[i] == '-')) negative = line[i++] == '-';
    long long value = 0;
    for (; i < line.size() && line[i] >= '0' && line[i] <= '9'; ++i) {
        if (value < INT_MAX) value = value * 10 + (line[i] - '0');
    }
    if (value > INT_MAX) value = INT_MAX;
    return static_cast<int>(negative ? -value : value);
}

SmtpReply ReadReply(CSmtpChannel& channel, std::size_t capacity, int seconds) {
    SmtpReply reply;
    for (int lines = 0; lines < kMostReplyLines; ++lines) {
        if (channel.ReceiveLine(reply.line, capacity, seconds) < 0) return SmtpReply{};
        if (!IsContinuationLine(reply.line)) {
            reply.received = true;
            reply.code = ReplyCode(reply.line);
            return reply;
        }
    }
    return SmtpReply{};
}

}  // namespace mail
