#include "mail/SmtpChannel.h"

namespace mail {

namespace {

constexpr std::size_t kReadChunk = 4096;

}  // namespace

bool CSmtpChannel::FillBuffer(int seconds, long& result) {
    received_.resize(kReadChunk);
    readPosition_ = 0;
    result = ReadSome(received_.data(), received_.size(), seconds);
    received_.resize(result > 0 ? static_cast<std::size_t>(result) : 0);
    return result > 0;
}

long long CSmtpChannel::ReceiveLine(std::string& line, std::size_t capacity, int seconds) {
    line.clear();
    long long count = 0;
    bool cut = false;
    for (;;) {
        if (readPosition_ == received_.size()) {
            long result = 0;
            if (!FillBuffer(seconds, result)) return result < 0 ? -1 : count;
        }
        const char byte = received_[readPosition_++];
        ++count;
        if (byte == '\n') {
            if (!cut && !line.empty() && line.back() == '\r') line.pop_back();
            return count;
        }
        if (line.size() + 1 < capacity) {
            line.push_back(byte);
        } else {
            cut = true;
            if (count > kLongestReplyLine) return -1;
        }
    }
}

}  // namespace mail
