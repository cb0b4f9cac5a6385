#include "platform/DebugChannelMonitor.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>

#include "platform/PrivateObject.h"

namespace platform {

CDebugChannelMonitor::CDebugChannelMonitor(DebugChannelNames names)
    : names_(std::move(names)), ownerLock_(names_.monitorLock) {}

CDebugChannelMonitor::~CDebugChannelMonitor() {
    Close();
}

DebugMonitorOpen CDebugChannelMonitor::Open() {
    switch (ownerLock_.TryAcquire()) {
        case LockResult::HeldElsewhere:
            return DebugMonitorOpen::OwnedElsewhere;
        case LockResult::OwnedByAnotherUser:
            return DebugMonitorOpen::OwnedByAnotherUser;
        case LockResult::Failed:
            return DebugMonitorOpen::Failed;
        case LockResult::Acquired:
            break;
    }
    // Holding the owner's lock, objects of this user that already exist
    // were left by a monitor that died: they are removed and made again,
    // once. Another user's objects stay as they are.
    if (!CreateObjects()) {
        CloseObjects();
        if (AnyObjectOfAnotherUser()) {
            UnlinkDebugChannel(names_);
            Close();
            return DebugMonitorOpen::OwnedByAnotherUser;
        }
        UnlinkDebugChannel(names_);
        if (!CreateObjects()) {
            Close();
            return DebugMonitorOpen::Failed;
        }
    }
    return DebugMonitorOpen::Opened;
}

bool CDebugChannelMonitor::AnyObjectOfAnotherUser() const {
    return IsOwnedByAnotherUser(SharedMemoryPath(names_.buffer)) ||
           IsOwnedByAnotherUser(SemaphorePath(names_.bufferReady)) ||
           IsOwnedByAnotherUser(SemaphorePath(names_.dataReady));
}

// The buffer is made last, so a sender that finds it finds both
// semaphores; a sender takes it only once it has its full size.
bool CDebugChannelMonitor::CreateObjects() {
    if (!bufferReady_.Create(names_.bufferReady)) return false;
    {
        std::lock_guard lock(stopMutex_);
        if (!dataReady_.Create(names_.dataReady)) return false;
    }
    bufferFd_ = shm_open(names_.buffer.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (bufferFd_ < 0) return false;
    // The mode is set again in case the umask took bits away from the owner.
    fchmod(bufferFd_, 0600);
    if (ftruncate(bufferFd_, kDebugBufferBytes) != 0) return false;
    void* map = mmap(nullptr, kDebugBufferBytes, PROT_READ, MAP_SHARED, bufferFd_, 0);
    if (map == MAP_FAILED) return false;
    map_ = static_cast<const unsigned char*>(map);
    return true;
}

void CDebugChannelMonitor::Run(const Deliver& deliver) {
    if (!map_ || !dataReady_.IsOpen()) return;
    for (;;) {
        bufferReady_.Post();
        // Stop posts "data ready" after setting the flag, so a wait started
        // before the flag was set still ends.
        if (stop_) return;
        if (!WaitForData() || stop_) return;
        std::memcpy(copy_.data(), map_, copy_.size());
        const DebugMessage message = ReadDebugMessage(copy_);
        deliver(message.processId, message.text);
    }
}

// "Buffer ready" found taken at two timeouts in a row, with no data in
// between, was taken by a sender that will not write: it is posted again.
// A sender that is merely slow has had a whole period to write.
bool CDebugChannelMonitor::WaitForData() {
    bool takenBefore = false;
    for (;;) {
        switch (dataReady_.WaitFor(kDebugBufferReclaimMs)) {
            case SemaphoreWait::Taken:
                return true;
            case SemaphoreWait::Failed:
                return false;
            case SemaphoreWait::TimedOut:
                break;
        }
        if (stop_) return false;
        const bool taken = bufferReady_.Value() == 0;
        if (taken && takenBefore) {
            bufferReady_.Post();
            takenBefore = false;
        } else {
            takenBefore = taken;
        }
    }
}

void CDebugChannelMonitor::Stop() {
    std::lock_guard lock(stopMutex_);
    stop_ = true;
    dataReady_.Post();
}

// Names go before the lock, so the next monitor never meets objects of a
// live owner.
void CDebugChannelMonitor::Close() {
    const bool made = bufferReady_.IsOpen() || bufferFd_ >= 0;
    if (ownerLock_.IsHeld() && made) UnlinkDebugChannel(names_);
    CloseObjects();
    ownerLock_.Release();
}

void CDebugChannelMonitor::CloseObjects() {
    if (map_) munmap(const_cast<unsigned char*>(map_), kDebugBufferBytes);
    map_ = nullptr;
    if (bufferFd_ >= 0) close(bufferFd_);
    bufferFd_ = -1;
    bufferReady_.Close();
    std::lock_guard lock(stopMutex_);
    dataReady_.Close();
}

}  // namespace platform
