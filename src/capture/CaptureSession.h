#pragma once
// One running capture: the "already capturing" lock, the capture thread
// that owns the debug-output channel and appends each message it keeps to
// the chunks, and the failure report to the user-interface thread. Stopping
// joins the thread, so nothing it touches is freed under it.

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <thread>

#include "capture/CaptureChunks.h"
#include "capture/CaptureSettings.h"
#include "platform/DebugChannelMonitor.h"
#include "platform/IUiQueue.h"
#include "platform/SharedObjectLock.h"

namespace capture {

// Failure codes of the capture thread.
inline constexpr std::uint32_t kCaptureOwnedElsewhere = 0x90909090;
inline constexpr std::uint32_t kCaptureFailed = 0x10101010;
inline constexpr std::uint32_t kCaptureOwnedByAnotherUser = 0x20202020;

// The name of the stop event, which marks a running capture of this program.
inline constexpr std::string_view kStopEventName = "A39C8511-1E4D-4cf9-A6E6-D3EC3679F8E2";

enum class CaptureStart { Started, AlreadyCapturing, OwnedByAnotherUser, Failed };

class CCaptureSession {
public:
    // Runs on the user-interface thread with the failure code, unless the
    // session was stopped first.
    using FailureHandler = std::function<void(std::uint32_t code)>;

    CCaptureSession();
    ~CCaptureSession();
    CCaptureSession(const CCaptureSession&) = delete;
    CCaptureSession& operator=(const CCaptureSession&) = delete;

    // Takes the stop event's lock and starts the thread. A failure of the
    // channel comes later, through queue.
    CaptureStart Start(platform::IUiQueue* queue, FailureHandler onFailed);
    // Ends the thread and gives up the channel and the lock. Messages not
    // yet drained stay in the chunks.
    void Stop();

    CaptureSettings& Settings() { return settings_; }
    CCaptureChunks& Chunks() { return chunks_; }

    // The capture thread's step for one message: dropped while monitoring
    // is off, from a process not chosen, or empty.
    void Deliver(std::uint32_t processId, std::string_view text);

private:
    void Run(platform::IUiQueue* queue, std::weak_ptr<bool> alive, FailureHandler onFailed);

    CaptureSettings settings_;
    CCaptureChunks chunks_;
    platform::CSharedObjectLock stopLock_;
    platform::CDebugChannelMonitor monitor_;
    // The failure report runs only while this lives. Only the
    // user-interface thread touches it; the capture thread gets its own
    // weak copy when it starts.
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
    std::thread thread_;
};

}  // namespace capture
