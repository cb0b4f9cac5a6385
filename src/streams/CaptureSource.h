#pragma once
// The debug-output capture as a stream source: the capture session's
// thread gathers the messages, and each turn hands all it gathered to the
// document, marking what this program sent itself, and appends it to the
// copy file when one is open. Capture has no past: it starts with nothing.

#include <cstdint>
#include <string>

#include "capture/CaptureCopyFile.h"
#include "capture/CaptureSession.h"
#include "platform/IUiQueue.h"
#include "streams/IStreamSource.h"

namespace streams {

// The message for a capture that could not start or failed later.
std::u16string_view CaptureFailureMessage(std::uint32_t code);

class CCaptureSource final : public IStreamSource {
public:
    // onFailed runs on the user-interface thread (through queue) when the
    // channel fails after the start, unless the source went first.
    CCaptureSource(platform::IUiQueue* queue, capture::CCaptureSession::FailureHandler onFailed);
    // The thread ends before the messages and the copy file go.
    ~CCaptureSource() override;
    CCaptureSource(const CCaptureSource&) = delete;
    CCaptureSource& operator=(const CCaptureSource&) = delete;

    std::u16string Name() const override;
    // Starts the capture; error tells why it could not.
    bool Open(std::size_t tailUnits, std::u16string& error) override;
    // All messages gathered, own ones included; whatever maxUnits says.
    bool Take(std::u16string& out, std::size_t maxUnits) override;
    bool Deliver(IStreamIntake& intake, std::size_t maxUnits) override;
    int WakeDescriptor() const override { return -1; }
    void ProcessWake() override {}
    std::u16string TakeNotice() override { return {}; }
    // A capture does not start over.
    bool Restart(std::size_t, std::u16string&) override { return false; }
    std::u16string Folder() const override { return {}; }

    capture::CCaptureSession& Session() { return session_; }
    bool OpenCopyFile(const std::u16string& path);
    void CloseCopyFile() { copyFile_.Close(); }
    bool HasCopyFile() const { return copyFile_.IsOpen(); }

private:
    platform::IUiQueue* queue_;
    capture::CCaptureSession::FailureHandler onFailed_;
    capture::CCaptureSession session_;
    capture::CCaptureCopyFile copyFile_;
};

}  // namespace streams
