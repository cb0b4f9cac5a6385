#include "streams/CaptureSource.h"

#include "capture/CaptureTitle.h"
#include "platform/CodePage.h"

namespace streams {

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

}  // namespace

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

CCaptureSource::CCaptureSource(platform::IUiQueue* queue,
                               capture::CCaptureSession::FailureHandler onFailed)
    : queue_(queue), onFailed_(std::move(onFailed)) {}

CCaptureSource::~CCaptureSource() {
    session_.Stop();
    session_.Chunks().Free();
    copyFile_.Close();
}

std::u16string CCaptureSource::Name() const {
    return std::u16string(capture::kCaptureDocumentName);
}

bool CCaptureSource::Open(std::size_t, std::u16string& error) {
    const capture::CaptureStart started = session_.Start(queue_, onFailed_);
    if (started == capture::CaptureStart::Started) return true;
    std::uint32_t code = capture::kCaptureFailed;
    if (started == capture::CaptureStart::AlreadyCapturing) {
        code = capture::kCaptureOwnedElsewhere;
    } else if (started == capture::CaptureStart::OwnedByAnotherUser) {
        code = capture::kCaptureOwnedByAnotherUser;
    }
    error.assign(CaptureFailureMessage(code));
    return false;
}

bool CCaptureSource::Take(std::u16string& out, std::size_t) {
    session_.Chunks().Drain(
        [&](char16_t* text, std::size_t units, const capture::CCaptureChunks::OwnSpans&) {
            out.append(text, units);
        });
    return false;
}

// Each piece is whole messages; this program's own ones run no actions.
bool CCaptureSource::Deliver(IStreamIntake& intake, std::size_t) {
    bool copied = false;
    session_.Chunks().Drain(
        [&](char16_t* text, std::size_t units, const capture::CCaptureChunks::OwnSpans& own) {
            if (copyFile_.IsOpen()) copied = copyFile_.Append(text, units) || copied;
            const auto hand = [&](std::size_t begin, std::size_t end, bool ownText) {
                if (begin < end) intake.TakeText(text + begin, end - begin, ownText);
            };
            std::size_t at = 0;
            for (const auto& [begin, end] : own) {
                hand(at, begin, false);
                hand(begin, end, true);
                at = end;
            }
            hand(at, units, false);
        });
    if (copied) copyFile_.Flush();
    return false;
}

bool CCaptureSource::OpenCopyFile(const std::u16string& path) {
    return copyFile_.Open(platform::Utf16ToUtf8(path));
}

}  // namespace streams
