#pragma once
// The monitoring side of the debug-output channel: owns the channel's
// objects while it runs and hands each message to a callback on the thread
// that runs it. Only one monitor per user and channel: a second one finds
// the owner's lock held. Objects whose owner died (its lock is gone) are
// removed and made again.

#include <semaphore.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>

#include "platform/DebugChannel.h"
#include "platform/SharedObjectLock.h"

namespace platform {

enum class DebugMonitorOpen { Opened, OwnedElsewhere, Failed };

class CDebugChannelMonitor {
public:
    // The text is only valid during the call; the sender waits meanwhile.
    using Deliver = std::function<void(std::uint32_t processId, std::string_view text)>;

    explicit CDebugChannelMonitor(DebugChannelNames names = DebugChannelNamesForUser());
    ~CDebugChannelMonitor();
    CDebugChannelMonitor(const CDebugChannelMonitor&) = delete;
    CDebugChannelMonitor& operator=(const CDebugChannelMonitor&) = delete;

    DebugMonitorOpen Open();
    // Receives messages until Stop; call after a successful Open.
    void Run(const Deliver& deliver);
    // From any thread, also before Open or Run: Run returns soon after.
    void Stop();
    // Removes the objects and gives up the channel; after Run has returned.
    void Close();

private:
    bool CreateObjects();
    void CloseObjects();

    DebugChannelNames names_;
    CSharedObjectLock ownerLock_;
    sem_t* bufferReady_ = SEM_FAILED;
    // Guarded by stopMutex_: Stop may post it from another thread.
    sem_t* dataReady_ = SEM_FAILED;
    std::mutex stopMutex_;
    int bufferFd_ = -1;
    const unsigned char* map_ = nullptr;
    std::atomic<bool> stop_{false};
};

}  // namespace platform
