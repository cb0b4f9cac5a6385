#pragma once
// The debug-output channel shared by every program of one user: a 4096-byte
// shared buffer (the sender's process id, 32-bit little-endian, then the
// UTF-8 text with its terminating zero) and two semaphores. The monitor posts
// "buffer ready" when a sender may write; the sender writes and posts "data
// ready". A monitor holds a lock on a third object for as long as it owns the
// channel, so objects left by a monitor that died can be told from live ones.

#include <cstddef>
#include <cstdint>
#include <span>
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

// Where the system keeps the object of a name ("/NAME"): a shared-memory
// object is the file /dev/shm/NAME, a named semaphore /dev/shm/sem.NAME.
std::string SharedMemoryPath(std::string_view name);
std::string SemaphorePath(std::string_view name);

// One message as a sender left it in the buffer.
struct DebugMessage {
    std::uint32_t processId = 0;
    // Views the buffer; never reaches past it, even when the zero is missing.
    std::string_view text;
};

// The buffer is written by other programs: any bytes give a message.
DebugMessage ReadDebugMessage(std::span<const unsigned char, kDebugBufferBytes> buffer);
// text holds at most kDebugTextBytes and no zero.
void WriteDebugMessage(std::span<unsigned char, kDebugBufferBytes> buffer, std::uint32_t processId,
                       std::string_view text);

// Removes the names of the buffer and both semaphores, except those of
// another user; the lock object stays, since a lock on an unlinked object
// would guard nothing.
void UnlinkDebugChannel(const DebugChannelNames& names);

}  // namespace platform
