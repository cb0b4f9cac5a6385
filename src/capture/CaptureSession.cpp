#include "capture/CaptureSession.h"

#include <unistd.h>

#include <ctime>
#include <string>
#include <utility>

#include "platform/DebugChannel.h"

namespace capture {

CCaptureSession::CCaptureSession() : stopLock_(platform::PerUserObjectName(kStopEventName)) {}

CCaptureSession::~CCaptureSession() {
    Stop();
}

CaptureStart CCaptureSession::Start(platform::IUiQueue* queue, FailureHandler onFailed) {
    switch (stopLock_.TryAcquire()) {
        case platform::LockResult::HeldElsewhere:
            return CaptureStart::AlreadyCapturing;
        case platform::LockResult::OwnedByAnotherUser:
            return CaptureStart::OwnedByAnotherUser;
        case platform::LockResult::Failed:
            return CaptureStart::Failed;
        case platform::LockResult::Acquired:
            break;
    }
    try {
        thread_ = std::thread([this, queue, alive = std::weak_ptr<bool>(alive_),
                               onFailed = std::move(onFailed)]() mutable {
            Run(queue, std::move(alive), std::move(onFailed));
        });
    } catch (const std::system_error&) {
        stopLock_.Release();
        return CaptureStart::Failed;
    }
    return CaptureStart::Started;
}

void CCaptureSession::Run(platform::IUiQueue* queue, std::weak_ptr<bool> alive,
                          FailureHandler onFailed) {
    const platform::DebugMonitorOpen opened = monitor_.Open();
    if (opened == platform::DebugMonitorOpen::Opened) {
        monitor_.Run(
            [this](std::uint32_t processId, std::string_view text) { Deliver(processId, text); });
        return;
    }
    if (!queue || !onFailed) return;
    std::uint32_t code = kCaptureFailed;
    if (opened == platform::DebugMonitorOpen::OwnedElsewhere) code = kCaptureOwnedElsewhere;
    if (opened == platform::DebugMonitorOpen::OwnedByAnotherUser) code = kCaptureOwnedByAnotherUser;
    queue->Post([alive = std::move(alive), code, onFailed = std::move(onFailed)] {
        if (alive.lock()) onFailed(code);
    });
}

void CCaptureSession::Deliver(std::uint32_t processId, std::string_view text) {
    if (!settings_.monitoring || text.empty()) return;
    if (!settings_.allProcesses && processId != settings_.onlyProcessId) return;
    const PrefixChoice prefixes{settings_.sequenceNumber, settings_.processId, settings_.timestamp};
    // What this program sends itself (a failed e-mail, a note) is shown but
    // never acted on, or one failure could feed the next for ever.
    static const std::uint32_t ownId = static_cast<std::uint32_t>(getpid());
    chunks_.Deliver(text, processId, prefixes, std::time(nullptr), processId == ownId);
}

void CCaptureSession::Stop() {
    alive_.reset();
    monitor_.Stop();
    if (thread_.joinable()) thread_.join();
    monitor_.Close();
    stopLock_.Release();
}

}  // namespace capture
