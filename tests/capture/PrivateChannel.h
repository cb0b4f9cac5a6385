#pragma once
// A test's private debug-output channel (TARVIK_DEBUG_CHANNEL) leaves nothing
// behind: buffer, semaphores and both lock objects are removed.

#include <sys/mman.h>

#include "capture/CaptureSession.h"
#include "platform/DebugChannel.h"

namespace capture_test {

inline void RemovePrivateChannel() {
    const platform::DebugChannelNames names = platform::DebugChannelNamesForUser();
    platform::UnlinkDebugChannel(names);
    shm_unlink(names.monitorLock.c_str());
    shm_unlink(platform::PerUserObjectName(capture::kStopEventName).c_str());
}

}  // namespace capture_test
