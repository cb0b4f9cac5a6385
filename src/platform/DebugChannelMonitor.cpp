#include "platform/DebugChannelMonitor.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

namespace {

sem_t* CreateSemaphore(const std::string& name) {
    return sem_open(name.c_str(), O_CREAT | O_EXCL, 0600, 0);
}

}  // namespace

CDebugChannelMonitor::CDebugChannelMonitor(DebugChannelNames names)
    : names_(std::move(names)), ownerLock_(names_.monitorLock) {}

CDebugChannelMonitor::~CDebugChannelMonitor() {
    Close();
}

DebugMonitorOpen CDebugChannelMonitor::Open() {
    switch (ownerLock_.TryAcquire()) {
        case LockResult::HeldElsewhere:
            return DebugMonitorOpen::OwnedElsewhere;
        case LockResult::Failed:
            return DebugMonitorOpen::Failed;
        case LockResult::Acquired:
            break;
    }
    // Holding the owner's lock, objects that already exist were left by a
    // monitor that died: they are removed and made again, once.
    if (!CreateObjects()) {
        CloseObjects();
        UnlinkDebugChannel(names_);
        if (!CreateObjects()) {
            Close();
            return DebugMonitorOpen::Failed;
        }
    }
    return DebugMonitorOpen::Opened;
}

// The buffer is made last, so a sender that finds it finds both semaphores.
bool CDebugChannelMonitor::CreateObjects() {
    bufferReady_ = CreateSemaphore(names_.bufferReady);
    if (bufferReady_ == SEM_FAILED) return false;
    {
        std::lock_guard lock(stopMutex_);
        dataReady_ = CreateSemaphore(names_.dataReady);
        if (dataReady_ == SEM_FAILED) return false;
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
    sem_t* const dataReady = dataReady_;
    if (!map_ || dataReady == SEM_FAILED) return;
    for (;;) {
        sem_post(bufferReady_);
        // Stop posts "data ready" after setting the flag, so a wait started
        // before the flag was set still ends.
        if (stop_) return;
        while (sem_wait(dataReady) != 0) {
            if (errno != EINTR) return;
        }
        if (stop_) return;
        std::uint32_t processId = 0;
        for (int i = 0; i < 4; ++i) processId |= std::uint32_t{map_[i]} << (8 * i);
        const char* text = reinterpret_cast<const char*>(map_ + kDebugTextOffset);
        // A sender that left out the zero still cannot lead past the buffer.
        deliver(processId, std::string_view(text, strnlen(text, kDebugTextBytes + 1)));
    }
}

void CDebugChannelMonitor::Stop() {
    std::lock_guard lock(stopMutex_);
    stop_ = true;
    if (dataReady_ != SEM_FAILED) sem_post(dataReady_);
}

// Names go before the lock, so the next monitor never meets objects of a
// live owner.
void CDebugChannelMonitor::Close() {
    const bool made = bufferReady_ != SEM_FAILED || bufferFd_ >= 0;
    if (ownerLock_.IsHeld() && made) UnlinkDebugChannel(names_);
    CloseObjects();
    ownerLock_.Release();
}

void CDebugChannelMonitor::CloseObjects() {
    if (map_) munmap(const_cast<unsigned char*>(map_), kDebugBufferBytes);
    map_ = nullptr;
    if (bufferFd_ >= 0) close(bufferFd_);
    bufferFd_ = -1;
    if (bufferReady_ != SEM_FAILED) sem_close(bufferReady_);
    bufferReady_ = SEM_FAILED;
    std::lock_guard lock(stopMutex_);
    if (dataReady_ != SEM_FAILED) sem_close(dataReady_);
    dataReady_ = SEM_FAILED;
}

}  // namespace platform
