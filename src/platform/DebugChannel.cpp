#include "platform/DebugChannel.h"

#include <fcntl.h>
#include <semaphore.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cstdlib>

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

// The buffer goes first: a sender that still holds it sees it unlinked and
// opens the channel again.
void UnlinkDebugChannel(const DebugChannelNames& names) {
    shm_unlink(names.buffer.c_str());
    sem_unlink(names.bufferReady.c_str());
    sem_unlink(names.dataReady.c_str());
}

}  // namespace platform
