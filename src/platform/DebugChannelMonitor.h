#pragma once
// The monitoring side of the debug-output channel: owns the channel's
// objects while it runs and hands each message to a callback on the thread
// that runs it. Only one monitor per user and channel: a second one finds
// the owner's lock held. Objects whose owner died (its lock is gone) are
// removed and made again; objects of another user under the channel's
// names are never used nor removed, and the monitor says so.

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string_view>

#include "platform/DebugChannel.h"
#include "platform/NamedSemaphore.h"
#include "platform/SharedObjectLock.h"

namespace platform {

enum class DebugMonitorOpen { Opened, OwnedElsewhere, OwnedByAnotherUser, Failed };

// How long "buffer ready" may stay taken with no data before the monitor
// posts it again: a sender that died holding it would otherwise hold off
// every later one.
inline constexpr int kDebugBufferReclaimMs = 2000;

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
    bool AnyObjectOfAnotherUser() const;
    // False when Run should end.
    bool WaitForData();

    DebugChannelNames names_;
    CSharedObjectLock ownerLock_;
    CNamedSemaphore bufferReady_;
    // Guarded by stopMutex_: Stop may post it from another thread.
    CNamedSemaphore dataReady_;
    std::mutex stopMutex_;
    int bufferFd_ = -1;
    const unsigned char* map_ = nullptr;
    // A message is read from a copy, so a sender still writing cannot
    // change it under the reader.
    std::array<unsigned char, kDebugBufferBytes> copy_{};
    std::atomic<bool> stop_{false};
};

}  // namespace platform
