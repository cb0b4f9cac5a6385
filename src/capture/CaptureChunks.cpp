#include "capture/CaptureChunks.h"

#include <new>
#include <utility>

#include "capture/MessagePrefix.h"
#include "platform/CodePage.h"

namespace capture {

// Moves to the next chunk when the current one has less room left than a
// message may need; a chunk is allocated only when the list has none left.
bool CCaptureChunks::MakeRoom(std::size_t units) {
    if (filling_.empty() || kChunkUnits - filling_[current_].used < units) {
        if (!filling_.empty() && filling_[current_].used > 0) ++current_;
        if (current_ == filling_.size()) {
            Chunk chunk;
            chunk.text.reset(new (std::nothrow) char16_t[kChunkUnits + 1]);
            if (!chunk.text) {
                if (current_ > 0) --current_;
                return false;
            }
            filling_.push_back(std::move(chunk));
        }
    }
    return true;
}

void CCaptureChunks::Deliver(std::string_view utf8, std::uint32_t processId, PrefixChoice prefixes,
                             std::time_t now, bool own) {
    std::lock_guard lock(mutex_);
    // Out of memory the message is lost rather than the capture.
    if (!MakeRoom(utf8.size() + kRoomPerMessage)) return;
    Chunk& chunk = filling_[current_];
    if (kChunkUnits - chunk.used < utf8.size() + kRoomPerMessage) return;
    char16_t* out = chunk.text.get() + chunk.used;
    const std::size_t begin = chunk.used;

    PrefixParts parts;
    if (prefixes.sequence) parts.sequence = &sequence_;
    if (prefixes.processId) parts.processId = &processId;
    if (prefixes.timestamp) parts.time = &now;
    out += WritePrefix(parts, out);
    if (prefixes.sequence) ++sequence_;

    out += platform::Utf8ToUtf16Into(utf8, out);
    if (utf8.empty() || utf8.back() != '\n') {
        *out++ = u'\r';
        *out++ = u'\n';
    }
    chunk.used = static_cast<std::size_t>(out - chunk.text.get());
    if (!own) return;
    // Back-to-back messages of this program make one span.
    if (!chunk.own.empty() && chunk.own.back().second == begin) {
        chunk.own.back().second = chunk.used;
    } else {
        chunk.own.emplace_back(begin, chunk.used);
    }
}

void CCaptureChunks::TakeFilled() {
    std::lock_guard lock(mutex_);
    // The emptied chunks become the ones to fill; nothing is allocated.
    std::swap(filling_, draining_);
    current_ = 0;
}

void CCaptureChunks::Free() {
    std::lock_guard lock(mutex_);
    filling_.clear();
    draining_.clear();
    current_ = 0;
}

std::size_t CCaptureChunks::ChunkCount() const {
    std::lock_guard lock(mutex_);
    return filling_.size() + draining_.size();
}

std::uint32_t CCaptureChunks::NextSequence() const {
    std::lock_guard lock(mutex_);
    return sequence_;
}

}  // namespace capture
