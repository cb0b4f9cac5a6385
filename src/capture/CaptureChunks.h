#pragma once
// The captured text on its way from the capture thread to the document: an
// ordered list of large chunks that messages are appended to without any
// allocation per message, taken over by the user-interface thread in one
// batch per refresh tick. The lock is held only to append a message or to
// swap the filled chunks for the emptied ones, so a slow tick never holds
// up the senders. Chunks stay allocated for reuse; the lists only grow.

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

namespace capture {

// Which prefixes a message gets.
struct PrefixChoice {
    bool sequence = true;
    bool processId = true;
    bool timestamp = true;
};

class CCaptureChunks {
public:
    // UTF-16 units of text per chunk; each has one more for a terminator.
    static constexpr std::size_t kChunkUnits = 0x80000;
    // Room kept for the prefixes and the line break of one message.
    static constexpr std::size_t kRoomPerMessage = 64;

    // Where in a chunk the messages of this program itself lie, as
    // [begin, end) unit offsets in order.
    using OwnSpans = std::vector<std::pair<std::size_t, std::size_t>>;

    // Capture thread: appends one message (UTF-8, at most a buffer's text)
    // with its prefixes and, unless it ends with a line feed, CR LF. own
    // marks a message this program sent itself.
    void Deliver(std::string_view utf8, std::uint32_t processId, PrefixChoice prefixes,
                 std::time_t now, bool own = false);

    // User-interface thread: takes over everything appended so far and
    // hands it to take(text, length, ownSpans) chunk by chunk, in order. The
    // text is zero-terminated and may be changed in place by take.
    template <typename Take>
    void Drain(Take&& take) {
        TakeFilled();
        for (Chunk& chunk : draining_) {
            if (chunk.used == 0) break;
            chunk.text[chunk.used] = 0;
            take(chunk.text.get(), chunk.used, static_cast<const OwnSpans&>(chunk.own));
            chunk.used = 0;
            chunk.own.clear();
        }
    }

    // Frees every chunk; messages not yet drained are lost.
    void Free();

    // How many chunks exist, for tests and benchmarks.
    std::size_t ChunkCount() const;
    // The next sequence number.
    std::uint32_t NextSequence() const;

private:
    struct Chunk {
        std::unique_ptr<char16_t[]> text;
        std::size_t used = 0;
        OwnSpans own;
    };

    bool MakeRoom(std::size_t units);
    void TakeFilled();

    mutable std::mutex mutex_;
    std::vector<Chunk> filling_;
    std::size_t current_ = 0;
    std::uint32_t sequence_ = 1;
    // Only the user-interface thread touches these between swaps.
    std::vector<Chunk> draining_;
};

}  // namespace capture
