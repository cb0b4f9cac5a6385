#pragma once
// The debug-output channel shared by every program of one user: a 4096-byte
// shared buffer (the sender's process id, 32-bit little-endian, then the
// UTF-8 text with its terminating zero) and two semaphores. The monitor posts
// "buffer ready" when a sender may write; the sender writes and posts "data
// ready". A monitor holds a lock on a third object for as long as it owns the
// channel, so objects left by a monitor that died can be told from live ones.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

inline constexpr std::size_t kDebugBufferBytes = 4096;
inline constexpr std::size_t kDebugTextOffset = 4;
// The most text one message carries; the last byte of the buffer is its zero.
inline constexpr std::size_t kDebugTextBytes = kDebugBufferBytes - kDebugTextOffset - 1;

struct DebugChannelNames {
    std::string buffer;
    std::string bufferReady;
    std::string dataReady;
    std::string monitorLock;
};

// "/<base>.<uid>", followed by ".<suffix>" when TARVIK_DEBUG_CHANNEL holds
// one (letters, digits, '-' and '_' only; anything else is dropped), so that
// tests and separate sessions can use a private channel.
std::string PerUserObjectName(std::string_view base);

DebugChannelNames DebugChannelNamesForUser();

// Removes the names of the buffer and both semaphores; the lock object stays,
// since a lock on an unlinked object would guard nothing.
void UnlinkDebugChannel(const DebugChannelNames& names);

}  // namespace platform
