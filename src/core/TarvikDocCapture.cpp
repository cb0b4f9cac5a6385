// The document in capture mode: it starts the capture of the debug-output
// channel, takes the captured text over at each refresh tick and ends the
// capture thread before anything it uses goes away.

#include "capture/CaptureTitle.h"
#include "core/TarvikDoc.h"
#include "filters/AsciiFold.h"
#include "platform/CodePage.h"

namespace core {

namespace {

constexpr std::u16string_view kCaptureInitFailed =
    u"Failed to initialize capturing OutputDebugString.";
constexpr std::u16string_view kAnotherProgramCaptures =
    u"Another program is capturing output of OutputDebugString.\n\nThere's only one program "
    u"that could capture OutputDebugString output at the same time.";
// Another local user made objects under this user's channel names: they
// are never used, nor removed.
constexpr std::u16string_view kChannelOfAnotherUser =
    u"Failed to initialize capturing OutputDebugString.\n\nThe objects of the debug output "
    u"channel are owned by another user.";

std::u16string_view CaptureFailureMessage(std::uint32_t code) {
    switch (code) {
        case capture::kCaptureOwnedElsewhere:
            return kAnotherProgramCaptures;
        case capture::kCaptureOwnedByAnotherUser:
            return kChannelOfAnotherUser;
        default:
            return kCaptureInitFailed;
    }
}

}  // namespace

// Beside the capture code: the capture thread learns of a pause at once.
void CTarvikDoc::SetMonitoring(bool on) {
    if (capture_) capture_->Settings().monitoring = on;
    if (on == monitoring_) return;
    monitoring_ = on;
    if (context_.host) context_.host->DocumentStateChanged(*this);
}

bool CTarvikDoc::InitCapture(std::function<void()> closeDocument) {
    auto session = std::make_unique<capture::CCaptureSession>();
    const capture::CaptureStart started = session->Start(
        context_.uiQueue, [this, closeDocument = std::move(closeDocument)](std::uint32_t code) {
            OnCaptureFailed(code, closeDocument);
        });
    if (started != capture::CaptureStart::Started) {
        std::uint32_t code = capture::kCaptureFailed;
        if (started == capture::CaptureStart::AlreadyCapturing) {
            code = capture::kCaptureOwnedElsewhere;
        } else if (started == capture::CaptureStart::OwnedByAnotherUser) {
            code = capture::kCaptureOwnedByAnotherUser;
        }
        if (context_.ui) {
            context_.ui->ShowMessage(CaptureFailureMessage(code), MessageIcon::Exclamation);
        }
        return false;
    }
    capture_ = std::move(session);
    captureMode_ = true;
    buffer_.ResetEmpty(kLineBreakDos);
    path_.assign(capture::kCaptureDocumentName);
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
    capture::CaptureSettings& settings = capture_->Settings();
    settings.sequenceNumber = Options().ODSSequenceNumber;
    settings.processId = Options().ODSDispProcessID;
    settings.timestamp = Options().ODSTimestamp;
    settings.onlyProcessId = Options().ODSProcessID;
    settings.allProcesses = Options().ODSAllProcess;
    SetTitle();
}

void CTarvikDoc::OpenCaptureCopyFile() {
    const std::u16string& path = Options().OutputDebugStringSavedFile;
    if (copyFile_.Open(platform::Utf16ToUtf8(path))) return;
    if (context_.ui) {
        context_.ui->ShowMessage(u"Ostra Tarvik failed to open file \"" + path + u"\".",
                                 MessageIcon::Exclamation);
    }
}

void CTarvikDoc::ReopenCaptureCopyFile() {
    if (!captureMode_) return;
    copyFile_.Close();
    if (Options().SaveOutputDebugString2File) OpenCaptureCopyFile();
}

void CTarvikDoc::FlushCapturedText() {
    if (!capture_) return;
    bool copied = false;
    bool any = false;
    capture_->Chunks().Drain(
        [&](char16_t* text, std::size_t units, const capture::CCaptureChunks::OwnSpans& own) {
            if (copyFile_.IsOpen()) copied = copyFile_.Append(text, units) || copied;
            any = true;
            // Each piece is whole messages; this program's own ones run no actions.
            const auto appendPiece = [&](std::size_t begin, std::size_t end, bool ownText) {
                if (begin >= end) return;
                const std::size_t length = NormalizeText(text + begin, end - begin);
                if (length > 0) AppendText({text + begin, length}, true, !ownText);
            };
            std::size_t at = 0;
            for (const auto& [begin, end] : own) {
                appendPiece(at, begin, false);
                appendPiece(begin, end, true);
                at = end;
            }
            appendPiece(at, units, false);
        });
    if (copied) copyFile_.Flush();
    if (any) MarkNewData();
}

void CTarvikDoc::OnCaptureFailed(std::uint32_t code, const std::function<void()>& closeDocument) {
    if (context_.ui) {
        context_.ui->ShowMessage(CaptureFailureMessage(code), MessageIcon::Exclamation);
    }
    if (closeDocument) closeDocument();
}

// The thread ends before the chunks and the copy file go.
void CTarvikDoc::EndCapture() {
    if (!capture_) return;
    capture_->Stop();
    capture_->Chunks().Free();
    capture_.reset();
    copyFile_.Close();
}

}  // namespace core
