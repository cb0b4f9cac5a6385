// Server replies as the mail sender reads them. The first two bytes choose
// the kept line length and how the rest arrives: in pieces of any size, so a
// reply split anywhere must read as the same replies as one sent whole; a
// kept line stays within its capacity, holds no line end, and its code is
// the one its text starts with.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "mail/SmtpConversation.h"
#include "mail/SmtpReply.h"

namespace {

// Hands out the bytes in pieces whose sizes follow from seed (0: as much as
// the reader takes), then reports the connection closed.
class CPieceChannel : public mail::CSmtpChannel {
public:
    CPieceChannel(std::string_view bytes, std::uint32_t seed) : bytes_(bytes), state_(seed) {}

    long long SendWithTimeout(std::string_view bytes, int) override {
        return static_cast<long long>(bytes.size());
    }

protected:
    long ReadSome(char* buffer, std::size_t capacity, int) override {
        if (position_ == bytes_.size()) return -1;
        std::size_t piece = bytes_.size() - position_;
        if (state_ != 0) {
            state_ = state_ * 1103515245u + 12345u;
            piece = std::min<std::size_t>(piece, 1 + (state_ >> 16) % 7);
        }
        piece = std::min(piece, capacity);
        std::memcpy(buffer, bytes_.data() + position_, piece);
        position_ += piece;
        return static_cast<long>(piece);
    }

private:
    std::string_view bytes_;
    std::size_t position_ = 0;
    std::uint32_t state_;
};

std::vector<mail::SmtpReply> ReadAll(std::string_view bytes, std::uint32_t seed,
                                     std::size_t capacity) {
    CPieceChannel channel(bytes, seed);
    std::vector<mail::SmtpReply> replies;
    // Every reply takes at least one byte, so this ends.
    for (std::size_t n = 0; n <= bytes.size(); ++n) {
        mail::SmtpReply reply = mail::ReadReply(channel, capacity, 1);
        if (!reply.received) break;
        replies.push_back(std::move(reply));
    }
    return replies;
}

std::size_t CapacityFor(std::uint8_t choice) {
    switch (choice % 4) {
        case 0:
            return mail::kReplyCapacity;
        case 1:
            return mail::kGreetingReplyCapacity;
        default:
            return 1 + choice / 4;  // short lines are cut
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t capacity = CapacityFor(data[0]);
    const std::uint32_t seed = data[1] + 1u;
    const std::string_view bytes(reinterpret_cast<const char*>(data + 2), size - 2);

    const std::vector<mail::SmtpReply> whole = ReadAll(bytes, 0, capacity);
    const std::vector<mail::SmtpReply> pieces = ReadAll(bytes, seed, capacity);
    FUZZ_CHECK(whole.size() == pieces.size());
    for (std::size_t i = 0; i < whole.size(); ++i) {
        const mail::SmtpReply& reply = whole[i];
        FUZZ_CHECK(reply.code == pieces[i].code && reply.line == pieces[i].line);
        FUZZ_CHECK(reply.line.size() < capacity);
        FUZZ_CHECK(reply.line.find('\n') == std::string::npos);
        FUZZ_CHECK(!mail::IsContinuationLine(reply.line));
        FUZZ_CHECK(reply.code == mail::ReplyCode(reply.line));
    }
    return 0;
}
