#include "core/TarvikDoc.h"

#include <algorithm>
#include <limits>

#include "capture/CaptureTitle.h"
#include "core/FollowPolicy.h"
#include "core/HighlightShowAs.h"
#include "core/LogicalEnd.h"
#include "core/NewDataSignals.h"
#include "core/NormalizeText.h"
#include "core/PollFinding.h"
#include "core/SizeFormat.h"
#include "core/TailWindow.h"
#include "core/WaitCursor.h"
#include "filters/AsciiFold.h"
#include "platform/CodePage.h"
#include "platform/NormalPath.h"

namespace core {

namespace {

constexpr std::uint32_t kShareAll =
    platform::FILE_SHARE_READ | platform::FILE_SHARE_WRITE | platform::FILE_SHARE_DELETE;

// Enough of the start of a file to tell its encoding.
constexpr std::size_t kEncodingSampleBytes = 4096;

}  // namespace

CTarvikDoc::CTarvikDoc(DocContext& context) : context_(context), buffer_(*this) {}

CTarvikDoc::~CTarvikDoc() = default;

bool CTarvikDoc::OnOpenDocument(std::u16string_view path) {
    core::CWaitCursor wait(context_.ui);
    lowerPath_ = filters::FoldedAsciiLower(path);
    readBuffer_ = platform::MappedArray<char16_t>(kReadBufferUnits + 4);
    buffer_.ResetEmpty(kLineBreakDos);

    // Without memory for reading there is no document either.
    if (!readBuffer_ || !OpenLogFile(path)) {
        if (context_.reportOpenFailure && context_.ui) {
            context_.ui->ShowMessage(u"Could not open file '" + std::u16string(path) + u"'.",
                                     core::MessageIcon::Exclamation);
        }
        return false;
    }
    if (context_.host) context_.host->CreateTab(*this, displayName_, path_);
    if (Options().ClearWndWhenOpenFile) ResetDisplay();

    if (context_.pendingGoToLine > 0) {
        if (view_) view_->PostGoToLine(context_.pendingGoToLine);
    } else if (Options().AutoMonitor) {
        if (view_) view_->PostGoToEnd();
        monitoring_ = true;
    }
    UpdateStopNotice();
    stopNoticeSent_ = false;
    SetTitle();
    if (context_.host) context_.host->DocumentStateChanged(*this);
    return true;
}

// The capture document is never watched: silence there is normal.
void CTarvikDoc::UpdateStopNotice() {
    stopNoticeEnabled_ =
        !captureMode_ && context_.stopUpdating && context_.stopUpdating->Applies(path_);
}

bool CTarvikDoc::OpenLogFile(std::u16string_view path) {
    filterStage_.ClearPartial();
    path_.assign(path);
    pathUtf8_ = platform::Utf16ToUtf8(path);
    decoder_.Reset(ConfiguredEncoding());
    breakCarry_.Reset();
    if (!OpenHandle()) return false;
    if (!LoadTail()) {
        CloseHandle();
        return false;
    }
    displayName_ = platform::ShortName(path_);
    gotNewData_ = false;
    lastUpdate_ = context_.clock.UnixTime();
    return true;
}

bool CTarvikDoc::OpenHandle() {
    handleIdentity_ = {};
    if (!file_.OpenForReading(pathUtf8_, kShareAll)) return false;
    if (!file_.Identity(handleIdentity_)) handleIdentity_ = {};
    return true;
}

void CTarvikDoc::CloseHandle() {
    file_.Close();
    handleIdentity_ = {};
}

std::optional<TextEncoding> CTarvikDoc::ConfiguredEncoding() const {
    switch (Options().TextEncoding) {
        case settings::TextEncodingChoice::Utf16Le:
            return TextEncoding::Utf16Le;
        case settings::TextEncodingChoice::Utf8:
            return TextEncoding::Utf8;
        default:
            return std::nullopt;
    }
}

std::optional<TextEncoding> CTarvikDoc::Encoding() const {
    if (!decoder_.IsDecided()) return std::nullopt;
    return decoder_.Encoding();
}

bool CTarvikDoc::LoadTail() {
    if (!file_.IsOpen()) return false;
    const int lastLine = buffer_.LineCount() - 1;
    const TextPos insertAt{buffer_.LineLength(lastLine), lastLine};

    std::uint8_t head[3];
    const long long headBytes = file_.ReadAt(0, head, sizeof head);
    if (headBytes < 0) return false;
    const std::uint64_t textStart = TakeByteOrderMark(head, static_cast<std::size_t>(headBytes));

    std::uint64_t size = 0;
    if (!file_.Size(size)) return false;
    if (!decoder_.IsDecided()) SampleEncoding(textStart);
    // Undecided, the end is found by whole UTF-16 units, as for UTF-16LE.
    const std::optional<std::uint64_t> end = FindLogicalEnd(file_, size, decoder_.Encoding());
    if (!end) return false;

    const TailLimit limit{Options().LimitBufSize, Options().MaxBufSiz};
    const std::uint64_t start = TailStart(*end, textStart, limit, decoder_.Encoding());
    bool loaded = true;
    if (start < *end) {
        loaded = LoadRange(start, *end, textStart, insertAt);
    } else {
        readPosition_ = *end;
        textSize_ = 0;
    }
    buffer_.NotifyViews(nullptr, nullptr, kUpdateHorzRange, 0);
    return loaded;
}

// Automatic: a byte-order mark decides. A fixed encoding skips its own mark.
std::uint64_t CTarvikDoc::TakeByteOrderMark(const std::uint8_t* head, std::size_t n) {
    if (decoder_.IsDecided()) return ByteOrderMarkLength(head, n, decoder_.Encoding());
    for (const TextEncoding encoding : {TextEncoding::Utf16Le, TextEncoding::Utf8}) {
        if (const std::size_t mark = ByteOrderMarkLength(head, n, encoding); mark > 0) {
            decoder_.Decide(encoding);
            return mark;
        }
    }
    return 0;
}

void CTarvikDoc::SampleEncoding(std::uint64_t textStart) {
    std::uint8_t sample[kEncodingSampleBytes];
    const long long got = file_.ReadAt(textStart, sample, sizeof sample);
    if (got > 0) decoder_.DecideFrom(sample, static_cast<std::size_t>(got), textStart);
}

bool CTarvikDoc::LoadRange(std::uint64_t start, std::uint64_t end, std::uint64_t textStart,
                           TextPos insertAt) {
    const std::size_t chunkUnits =
        static_cast<std::size_t>(std::min<std::uint64_t>(end - start, kLoadChunkUnits));
    const platform::MappedArray<char16_t> chunk(chunkUnits + 4);
    if (!chunk) return false;
    std::uint64_t pos = start;
    std::uint64_t decodedUnits = 0;
    bool first = true;
    while (pos < end) {
        const ReadPlacement placement = decoder_.PlacementFor(chunkUnits);
        std::uint8_t* bytes = placement.In(chunk.get());
        const std::size_t want =
            static_cast<std::size_t>(std::min<std::uint64_t>(placement.maxBytes, end - pos));
        const long long got = file_.ReadAt(pos, bytes, want);
        if (got < 0) return false;
        if (got == 0) break;  // the file became shorter meanwhile
        std::size_t n = static_cast<std::size_t>(got);

        std::size_t skip = 0;
        if (first && pos > textStart) {
            // A start inside a UTF-8 sequence moves on to the next one.
            decoder_.DecideFrom(bytes, n, pos);
            skip = decoder_.SequenceStartSkip(bytes, n);
        }
        first = false;
        const DecodedChunk decoded =
            decoder_.Decode(bytes + skip, n - skip, pos + skip, chunk.get(), false);
        if (!decoder_.IsDecided()) break;  // no text to tell yet; the polls decide
        const bool utf16 = decoder_.Encoding() == TextEncoding::Utf16Le;
        // UTF-16LE drops an odd last byte; UTF-8 leaves an unfinished
        // sequence for the polls.
        const std::size_t used = utf16 ? n : skip + decoded.bytesUsed;
        if (used == 0) break;
        pos += used;
        decodedUnits += decoded.units;
        InsertLoaded(NormalizeRead(chunk.get(), decoded.units), insertAt);
    }
    limitHits_.NameNewlyFrequent(path_);
    readPosition_ = pos;
    const std::uint64_t size = decoder_.IsDecided() && decoder_.Encoding() == TextEncoding::Utf8
                                   ? 2 * decodedUnits
                                   : pos - start;
    textSize_ = static_cast<std::uint32_t>(size);
    return true;
}

void CTarvikDoc::InsertLoaded(std::u16string_view text, TextPos& insertAt) {
    // A load chunk is many reads long; the filter stage takes it one read's
    // worth at a time, so that what it copies stays that small.
    if (text.size() > CLineFilterStage::kMaxPieceUnits &&
        context_.inExFilters.IsActive(Options().EnableInExFilters)) {
        while (!text.empty()) {
            const std::size_t piece = CLineFilterStage::PieceLength(text);
            InsertLoaded(text.substr(0, piece), insertAt);
            text.remove_prefix(piece);
        }
        return;
    }
    filters::CSearchLimitHits::Scope counting(limitHits_);
    const std::u16string_view kept = FilterNewText(text);
    if (kept.empty()) return;
    RestoreUnfinishedLine();
    insertAt.ch = buffer_.LineLength(insertAt.line);
    TextPos end;
    if (!buffer_.InsertTextAt(nullptr, insertAt, kept, end, 0, false, true)) return;
    // The view is told about the whole load at its end, so no line is
    // repainted here.
    if (AnyShowAs()) {
        ApplyShowAsToNewLines(insertAt.line, end.line, false);
        end.ch = buffer_.LineLength(end.line);
    }
    insertAt = end;
}

std::size_t CTarvikDoc::NormalizeText(char16_t* text, std::size_t n) const {
    return core::NormalizeText(text, n, Options().ShowSpaceForBadChar);
}

// A line break split between this read and the last one is one break, as
// in the whole file.
std::u16string_view CTarvikDoc::NormalizeRead(char16_t* units, std::size_t n) {
    const std::size_t partner = breakCarry_.TakePartner(units, n);
    breakCarry_.NoteEnd(units + partner, n - partner);
    const std::size_t length = NormalizeText(units + partner, n - partner);
    return {units + partner, length};
}

std::u16string_view CTarvikDoc::FilterNewText(std::u16string_view text) {
    const bool active = context_.inExFilters.IsActive(Options().EnableInExFilters);
    if (active != filtering_) {
        // Switched since the last text: the unfinished line on display is
        // the one to go on with, never a fragment left from before.
        filtering_ = active;
        if (!active) return filterStage_.Release(text);
        filterStage_.Adopt(UnfinishedLineAsRead());
    }
    if (!active) return text;
    const CLineFilterStage::Output output = filterStage_.Filter(text, context_.inExFilters);
    if (output.removesShownPartial) {
        const int last = buffer_.LineCount() - 1;
        buffer_.DeleteRange(nullptr, {0, last}, {buffer_.LineLength(last), last}, 0, false, true);
    }
    return output.text;
}

// Filters that give up on the new text are counted for this document.
void CTarvikDoc::AppendNewText(std::u16string_view text) {
    {
        filters::CSearchLimitHits::Scope counting(limitHits_);
        AppendText(text, true);
    }
    limitHits_.NameNewlyFrequent(path_);
}

void CTarvikDoc::AppendText(std::u16string_view text, bool raiseSignals, bool runActions) {
    if (text.empty()) return;
    const std::uint64_t grown = std::uint64_t{textSize_} + 2 * std::uint64_t{text.size()};
    if (Options().LimitBufSize && grown > Options().MaxBufSiz) Trim();

    // The follow policy and the caret look at the text as it is shown now.
    const int line = buffer_.LineCount() - 1;
    const TextPos shownEnd{buffer_.LineLength(line), line};
    const bool caretAtEnd = view_ && view_->GetCursorPos() == shownEnd;
    const bool follow = DecideFollowEnd(FollowSettingsOf(Options()),
                                        FollowFactsOf(view_, buffer_.LineCount(), shownEnd));

    const std::u16string_view kept = FilterNewText(text);
    if (kept.empty()) {
        // A shown partial line may have gone; a caret at the end stays there.
        if (caretAtEnd) MoveCaretToEnd();
        return;
    }
    RestoreUnfinishedLine();
    const TextPos insertAt{buffer_.LineLength(line), line};
    AddToTextSize(kept.size());
    TextPos end;
    if (!buffer_.InsertTextAt(nullptr, insertAt, kept, end, 0, false, true)) return;
    // Before "Show as", so that the actions see the text as read. The range
    // starts at the line the text went into, so a line it completes is
    // examined again as a whole. A line break that only ends the old file's
    // last line at a rotation is no new text and runs nothing.
    if (raiseSignals && runActions) RunHighlightActions(insertAt.line, end.line);
    if (AnyShowAs()) ApplyShowAsToNewLines(insertAt.line, end.line, true);
    if (caretAtEnd) MoveCaretToEnd();
    if (follow && view_) view_->ScrollToEnd();
    if (raiseSignals) RaiseNewDataSignals(*this, insertAt.line, Options(), context_.host);
}

bool CTarvikDoc::AnyShowAs() const {
    return context_.highlightFilters && context_.highlightFilters->AnyShowAs();
}

void CTarvikDoc::RunHighlightActions(int firstLine, int lastLine) {
    filters::CHighlightFilters* filters = context_.highlightFilters;
    if (!filters || !context_.highlightActions || !filters->AnyAction()) return;
    const std::u16string logName = captureMode_ ? capture::CaptureTitle(Options()) : path_;
    filters::ActionDocument document;
    document.ref = this;
    document.path = path_;
    document.foldedPath = lowerPath_;
    document.logName = logName;
    document.lineAt = [this](int line) { return buffer_.LineText(line); };
    document.font = Options().UFont;
    filters::RunHighlightActions(*filters, document, firstLine, lastLine,
                                 *context_.highlightActions);
}

// The last line is unfinished: its next piece will be appended to it and the
// whole line replaced again. The text as read is kept, so that a "Show as"
// text containing its own phrase is not replaced a second time.
void CTarvikDoc::ApplyShowAsToNewLines(int first, int last, bool redrawVisible) {
    const int lastLine = buffer_.LineCount() - 1;
    std::u16string unfinished(buffer_.LineText(lastLine));
    int visibleFirst = 0;
    int visibleLast = -1;
    if (redrawVisible && view_) view_->GetVisibleRange(visibleFirst, visibleLast);
    core::ApplyShowAs(*context_.highlightFilters, buffer_, first, last, [&](int line) {
        if (line >= visibleFirst && line <= visibleLast) view_->RedrawLines(line, line);
    });
    const std::u16string_view shown = buffer_.LineText(lastLine);
    unfinishedAsRead_.clear();
    unfinishedAsShown_.clear();
    if (last >= lastLine && shown != unfinished) {
        unfinishedAsRead_ = std::move(unfinished);
        unfinishedAsShown_.assign(shown);
    }
}

void CTarvikDoc::RestoreUnfinishedLine() {
    if (unfinishedAsShown_.empty()) return;
    const int last = buffer_.LineCount() - 1;
    if (buffer_.LineText(last) == unfinishedAsShown_) {
        const int length = buffer_.LineLength(last);
        buffer_.DeleteRange(nullptr, {0, last}, {length, last}, 0, false, true);
        TextPos end;
        buffer_.InsertTextAt(nullptr, {0, last}, unfinishedAsRead_, end, 0, false, true);
    }
    ForgetUnfinishedLine();
}

void CTarvikDoc::ForgetUnfinishedLine() {
    unfinishedAsRead_.clear();
    unfinishedAsShown_.clear();
}

std::u16string_view CTarvikDoc::UnfinishedLineAsRead() const {
    const std::u16string_view shown = buffer_.LineText(buffer_.LineCount() - 1);
    return !unfinishedAsShown_.empty() && shown == unfinishedAsShown_ ? unfinishedAsRead_ : shown;
}

void CTarvikDoc::MoveCaretToEnd() {
    if (!view_) return;
    const int last = buffer_.LineCount() - 1;
    const TextPos end{buffer_.LineLength(last), last};
    view_->SetCursorPos(end);
    view_->SetSelection(end, end);
    view_->SetAnchor(end);
}

void CTarvikDoc::AddToTextSize(std::size_t units) {
    const std::uint64_t size = std::uint64_t{textSize_} + 2 * std::uint64_t{units};
    textSize_ = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(size, std::numeric_limits<std::uint32_t>::max()));
}

void CTarvikDoc::EnforceBufferLimit() {
    if (!Options().LimitBufSize || textSize_ <= Options().MaxBufSiz) return;
    Trim();
    if (view_) view_->Invalidate();
}

// Keeps the last RetainLineNum lines; when there are no more lines than
// that, or none are to be kept, all text goes, even an unfinished last line.
// The partial line of the filters stays as it is.
void CTarvikDoc::Trim() {
    if (listener_) listener_->BeforeTrim(*this);
    const int before = buffer_.LineCount();
    const int retain = std::max(0, Options().RetainLineNum);
    if (retain > 0 && before > retain) {
        buffer_.DeleteRange(nullptr, {0, 0}, {0, before - retain}, 0, false, true);
    } else {
        const int last = before - 1;
        buffer_.DeleteRange(nullptr, {0, 0}, {buffer_.LineLength(last), last}, 0, false, true);
    }
    trimmedLines_ += static_cast<std::uint64_t>(before - buffer_.LineCount());
    buffer_.ClearUndo();
    RecomputeTextSize();
}

void CTarvikDoc::RecomputeTextSize() {
    std::uint64_t size = 0;
    for (int line = 0; line < buffer_.LineCount(); ++line) {
        size += 2 * std::uint64_t(buffer_.LineLength(line)) + 2;
    }
    textSize_ = static_cast<std::uint32_t>(
        std::min<std::uint64_t>(size, std::numeric_limits<std::uint32_t>::max()));
}

void CTarvikDoc::ResetDisplay() {
    if (listener_) listener_->BeforeReset(*this);
    ForgetUnfinishedLine();
    buffer_.FreeAll();
    buffer_.ResetEmpty(kLineBreakDos);
    if (view_) view_->Invalidate();
    textSize_ = 0;
    trimmedLines_ = 0;
    ++resetCount_;
}

void CTarvikDoc::SetTitle() {
    UpdateTitle(true);
}

void CTarvikDoc::TellTitleChange() {
    if (!titleUntold_) return;
    titleUntold_ = false;
    if (context_.host) context_.host->DocumentTitleChanged(*this);
}

void CTarvikDoc::UpdateTitle(bool tellNow) {
    if (captureMode_) {
        title_ = capture::CaptureTitle(Options());
        return;
    }
    if (stream_) {
        std::u16string title = path_;
        if (const std::u16string status = stream_->Status(); !status.empty()) {
            title += u" - ";
            title += status;
        }
        if (title.size() > kMaxTitleLength) title.resize(kMaxTitleLength);
        if (title == title_) return;
        title_ = std::move(title);
        titleUntold_ = true;
        if (tellNow) TellTitleChange();
        return;
    }
    std::u16string title = Options().DisplayFullPath ? path_ : displayName_;
    title += u" - ";
    title += FormatHumanSize(readPosition_);
    title += u" <";
    title += platform::Utf8ToUtf16(std::to_string(readPosition_));
    title += u" Bytes>";
    if (title.size() > kMaxTitleLength) title.resize(kMaxTitleLength);
    if (title == title_) return;
    title_ = std::move(title);
    titleUntold_ = true;
    if (tellNow) TellTitleChange();
}

std::u16string CTarvikDoc::TextLengthText() const {
    return FormatTextLength(textSize_);
}

void CTarvikDoc::DeleteContents() {
    if (listener_) {
        listener_->BeforeReset(*this);
        listener_->BeforeClose(*this);
        listener_ = nullptr;
    }
    buffer_.FreeAll();
    SetMonitoring(false);
    EndStream();
    CloseHandle();
    readBuffer_.reset();
    filterStage_.ClearPartial();
    ForgetUnfinishedLine();
    if (context_.highlightFilters) context_.highlightFilters->ForgetDocument(this);
    // The application has the e-mail records forget this document as it closes it.
}

}  // namespace core
