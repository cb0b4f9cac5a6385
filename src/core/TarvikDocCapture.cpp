// The document in capture mode: its source is the debug-output capture,
// whose messages it takes at each refresh tick like any stream's; here are
// the capture's own options, title and copy file.

#include "capture/CaptureTitle.h"
#include "core/TarvikDoc.h"
#include "filters/AsciiFold.h"
#include "platform/CodePage.h"

namespace core {

// Beside the capture code: the capture thread learns of a pause at once.
void CTarvikDoc::SetMonitoring(bool on) {
    if (capture_) capture_->Session().Settings().monitoring = on;
    if (on == monitoring_) return;
    monitoring_ = on;
    if (context_.host) context_.host->DocumentStateChanged(*this);
}

bool CTarvikDoc::InitCapture(std::function<void()> closeDocument) {
    auto source = std::make_unique<streams::CCaptureSource>(
        context_.uiQueue, [this, closeDocument = std::move(closeDocument)](std::uint32_t code) {
            OnCaptureFailed(code, closeDocument);
        });
    std::u16string error;
    if (!source->Open(0, error)) {
        if (context_.ui) context_.ui->ShowMessage(error, MessageIcon::Exclamation);
        return false;
    }
    capture_ = source.get();
    stream_ = std::move(source);
    captureMode_ = true;
    buffer_.ResetEmpty(kLineBreakDos);
    path_ = stream_->Name();
    pathUtf8_ = platform::Utf16ToUtf8(path_);
    displayName_ = path_;
    lowerPath_ = filters::FoldedAsciiLower(path_);
    ApplyCaptureOptions();
    SetMonitoring(true);
    if (context_.host) context_.host->CreateTab(*this, displayName_, path_);
    if (Options().SaveOutputDebugString2File) OpenCaptureCopyFile();
    lastUpdate_ = context_.clock.UnixTime();
    return true;
}

void CTarvikDoc::ApplyCaptureOptions() {
    if (!capture_) return;
    capture::CaptureSettings& settings = capture_->Session().Settings();
    settings.sequenceNumber = Options().ODSSequenceNumber;
    settings.processId = Options().ODSDispProcessID;
    settings.timestamp = Options().ODSTimestamp;
    settings.onlyProcessId = Options().ODSProcessID;
    settings.allProcesses = Options().ODSAllProcess;
    SetTitle();
}

void CTarvikDoc::OpenCaptureCopyFile() {
    const std::u16string& path = Options().OutputDebugStringSavedFile;
    if (capture_->OpenCopyFile(path)) return;
    if (context_.ui) {
        context_.ui->ShowMessage(u"Ostra Tarvik failed to open file \"" + path + u"\".",
                                 MessageIcon::Exclamation);
    }
}

void CTarvikDoc::ReopenCaptureCopyFile() {
    if (!capture_) return;
    capture_->CloseCopyFile();
    if (Options().SaveOutputDebugString2File) OpenCaptureCopyFile();
}

bool CTarvikDoc::HasCaptureCopyFile() const {
    return capture_ && capture_->HasCopyFile();
}

capture::CCaptureSession* CTarvikDoc::CaptureSession() {
    return capture_ ? &capture_->Session() : nullptr;
}

void CTarvikDoc::FlushCapturedText() {
    TakeStreamText();
}

void CTarvikDoc::OnCaptureFailed(std::uint32_t code, const std::function<void()>& closeDocument) {
    if (context_.ui) {
        context_.ui->ShowMessage(streams::CaptureFailureMessage(code), MessageIcon::Exclamation);
    }
    if (closeDocument) closeDocument();
}

// The capture thread ends before the messages and the copy file go.
void CTarvikDoc::EndStream() {
    capture_ = nullptr;
    stream_.reset();
}

}  // namespace core
