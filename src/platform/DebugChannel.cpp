#include "platform/DebugChannel.h"

#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "platform/PrivateObject.h"

namespace platform {

namespace {

std::string ChannelSuffix() {
    const char* value = std::getenv("TARVIK_DEBUG_CHANNEL");
    std::string suffix;
    if (!value) return suffix;
    for (const char* p = value; *p != '\0' && suffix.size() < 64; ++p) {
        const char c = *p;
        const bool kept = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (kept) suffix.push_back(c);
    }
    return suffix;
}

}  // namespace

std::string PerUserObjectName(std::string_view base) {
    std::string name = "/";
    name += base;
    name += '.';
    name += std::to_string(getuid());
    if (const std::string suffix = ChannelSuffix(); !suffix.empty()) {
        name += '.';
        name += suffix;
    }
    return name;
}

DebugChannelNames DebugChannelNamesForUser() {
    return {PerUserObjectName("DBWIN_BUFFER"), PerUserObjectName("DBWIN_BUFFER_READY"),
            PerUserObjectName("DBWIN_DATA_READY"), PerUserObjectName("DBWIN_MONITOR")};
}

std::string SharedMemoryPath(std::string_view name) {
    std::string path = "/dev/shm/";
    path += name.substr(name.starts_with('/') ? 1 : 0);
    return path;
}

std::string SemaphorePath(std::string_view name) {
    std::string path = "/dev/shm/sem.";
    path += name.substr(name.starts_with('/') ? 1 : 0);
    return path;
}

DebugMessage ReadDebugMessage(std::span<const unsigned char, kDebugBufferBytes> buffer) {
    DebugMessage message;
    for (std::size_t i = 0; i < kDebugTextOffset; ++i) {
        message.processId |= std::uint32_t{buffer[i]} << (8 * i);
    }
    const char* text = reinterpret_cast<const char*>(buffer.data() + kDebugTextOffset);
    message.text = std::string_view(text, strnlen(text, kDebugBufferBytes - kDebugTextOffset));
    return message;
}

void WriteDebugMessage(std::span<unsigned char, kDebugBufferBytes> buffer, std::uint32_t processId,
                       std::string_view text) {
    for (std::size_t i = 0; i < kDebugTextOffset; ++i) {
        buffer[i] = static_cast<unsigned char>(processId >> (8 * i));
    }
    const std::size_t length = std::min(text.size(), kDebugTextBytes);
    std::memcpy(buffer.data() + kDebugTextOffset, text.data(), length);
    buffer[kDebugTextOffset + length] = 0;
}

// The buffer goes first: a sender that still holds it sees it unlinked and
// opens the channel again.
void UnlinkDebugChannel(const DebugChannelNames& names) {
    if (!IsOwnedByAnotherUser(SharedMemoryPath(names.buffer))) shm_unlink(names.buffer.c_str());
    for (const std::string* name : {&names.bufferReady, &names.dataReady}) {
        if (!IsOwnedByAnotherUser(SemaphorePath(*name))) sem_unlink(name->c_str());
    }
}

}  // namespace platform
