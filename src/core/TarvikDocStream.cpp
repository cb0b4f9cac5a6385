// The document of a stream source (a journal, a command, a remote file):
// its tail at open, then what the source has ready at each tick or when its
// descriptor wakes the event loop, through the same intake as the text read
// from a file.

#include <limits>

#include "core/TarvikDoc.h"
#include "core/WaitCursor.h"
#include "filters/AsciiFold.h"
#include "platform/CodePage.h"
#include "streams/StreamSources.h"

namespace core {

namespace {

// A note of the document's own in its text, as the first line.
constexpr std::u16string_view kNoticePrefix = u"-- ";

}  // namespace

std::size_t CTarvikDoc::StreamTailUnits() const {
    if (!Options().LimitBufSize) return std::numeric_limits<std::size_t>::max();
    return Options().MaxBufSiz / 2;
}

bool CTarvikDoc::OnOpenStream(std::u16string_view name) {
    core::CWaitCursor wait(context_.ui);
    std::u16string error;
    std::unique_ptr<streams::IStreamSource> source = streams::CreateStreamSource(name, error);
    if (source && !source->Open(StreamTailUnits(), error)) source.reset();
    if (!source) {
        if (context_.reportOpenFailure && context_.ui) {
            if (error.empty()) error = u"Could not open '" + std::u16string(name) + u"'.";
            context_.ui->ShowMessage(error, core::MessageIcon::Exclamation);
        }
        return false;
    }
    stream_ = std::move(source);
    buffer_.ResetEmpty(kLineBreakDos);
    path_ = stream_->Name();
    pathUtf8_ = platform::Utf16ToUtf8(path_);
    displayName_ = path_;
    lowerPath_ = filters::FoldedAsciiLower(path_);
    TakeStreamTail();
    if (context_.host) context_.host->CreateTab(*this, displayName_, path_);

    if (context_.pendingGoToLine > 0) {
        if (view_) view_->PostGoToLine(context_.pendingGoToLine);
    } else if (Options().AutoMonitor) {
        if (view_) view_->PostGoToEnd();
        monitoring_ = true;
    }
    gotNewData_ = false;
    lastUpdate_ = context_.clock.UnixTime();
    UpdateStopNotice();
    stopNoticeSent_ = false;
    SetTitle();
    if (context_.host) context_.host->DocumentStateChanged(*this);
    return true;
}

// The tail is what was there before the document looked: it runs no
// actions and raises no signals, as a file's tail at open.
void CTarvikDoc::TakeStreamTail() {
    if (std::u16string notice = stream_->TakeNotice(); !notice.empty()) {
        std::u16string line(kNoticePrefix);
        line += notice;
        line += u"\r\n";
        AppendText(line, false, false);
    }
    takingTail_ = true;
    while (stream_->Deliver(*this, kReadBufferUnits)) {
    }
    takingTail_ = false;
    limitHits_.NameNewlyFrequent(path_);
    buffer_.NotifyViews(nullptr, nullptr, kUpdateHorzRange, 0);
}

void CTarvikDoc::TakeText(char16_t* text, std::size_t units, bool ownText) {
    streamTook_ = true;
    const std::size_t length = NormalizeText(text, units);
    if (length == 0) return;
    if (takingTail_) {
        AppendText({text, length}, false, false);
        return;
    }
    filters::CSearchLimitHits::Scope counting(limitHits_);
    AppendText({text, length}, true, !ownText);
}

void CTarvikDoc::TakeTailText(char16_t* text, std::size_t units) {
    const bool wasTail = takingTail_;
    takingTail_ = true;
    TakeText(text, units, false);
    takingTail_ = wasTail;
}

// Takes pieces of at most one read until the source has nothing more ready
// or the budget is spent (at least one piece is taken); the rest waits for
// the next turn, as a file's backlog does.
void CTarvikDoc::TakeStreamText(const CPollBudget& budget) {
    backlog_ = false;
    if (!stream_) return;
    streamTook_ = false;
    for (;;) {
        const std::uint64_t startMs = budget.NowMs();
        if (!stream_->Deliver(*this, readPace_.Units(budget))) break;
        const std::uint64_t nowMs = budget.NowMs();
        if (budget.IsTimed()) readPace_.Took(nowMs - startMs);
        if (budget.IsSpentAt(nowMs)) {
            backlog_ = true;
            break;
        }
    }
    limitHits_.NameNewlyFrequent(path_);
    // A command that ended says so in the title.
    UpdateTitle(false);
    if (streamTook_) {
        MarkNewData();
    } else {
        CheckStopUpdating();
    }
}

int CTarvikDoc::StreamWakeDescriptor() const {
    return stream_ ? stream_->WakeDescriptor() : -1;
}

void CTarvikDoc::OnStreamWake(const CPollBudget& budget) {
    if (!stream_) return;
    stream_->ProcessWake();
    if (monitoring_) TakeStreamText(budget);
}

std::u16string CTarvikDoc::StreamFolder() const {
    return stream_ ? stream_->Folder() : std::u16string();
}

bool CTarvikDoc::ReloadStream() {
    std::u16string error;
    ResetDisplay();
    filterStage_.ClearPartial();
    if (!stream_->Restart(StreamTailUnits(), error)) {
        if (context_.ui) {
            if (error.empty()) error = u"Could not reload content of the file";
            context_.ui->ShowMessage(error, core::MessageIcon::Exclamation);
        }
        return false;
    }
    TakeStreamTail();
    if (context_.host) context_.host->DocumentStateChanged(*this);
    return true;
}

}  // namespace core
