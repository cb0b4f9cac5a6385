#pragma once
// One followed log file: it loads the end of the file, then at every poll
// reads what the writer appended, turns it into lines, passes them through
// the include/exclude filters and appends them to its line buffer, which it
// keeps under the buffer limit by dropping lines from the top. It notices a
// file that was cut or deleted and starts over, and a file replaced by
// another, which it follows on in the same display.
//
// A document works with or without a view and a main frame; everything it
// shares with the application comes through its DocContext.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "capture/CaptureSession.h"
#include "core/DocContext.h"
#include "core/IDocumentListener.h"
#include "core/ILogView.h"
#include "core/LineBreakCarry.h"
#include "core/LineFilterStage.h"
#include "core/PollBudget.h"
#include "core/TarvikTextBuffer.h"
#include "core/TextDecoder.h"
#include "filters/SearchLimitHits.h"
#include "platform/File.h"
#include "platform/MappedBuffer.h"
#include "streams/CaptureSource.h"
#include "streams/IStreamSource.h"

namespace core {

class CTarvikDoc : private streams::IStreamIntake {
public:
    // One read takes at most this much (1 MiB); a poll reads on until it has
    // what it found. Short reads keep the time between two looks at the poll
    // budget short, and the buffer small. The read buffer has 8 bytes more,
    // room for the terminator of the normalised text.
    static constexpr std::size_t kReadBufferBytes = 0x100000;
    static constexpr std::size_t kReadBufferUnits = kReadBufferBytes / 2;
    // The initial load reads its range in chunks of at most this many units.
    static constexpr std::size_t kLoadChunkUnits = 8388608;
    // A read that ends in this many NULs or more is the last of its poll: the
    // writer preallocated, the rest is not written yet.
    static constexpr std::size_t kNulsEndingPoll = 10;
    static constexpr std::size_t kMaxTitleLength = 259;

    explicit CTarvikDoc(DocContext& context);
    ~CTarvikDoc() override;
    CTarvikDoc(const CTarvikDoc&) = delete;
    CTarvikDoc& operator=(const CTarvikDoc&) = delete;

    // Opening and closing.
    void SetView(ILogView* view) { view_ = view; }
    ILogView* GetView() const { return view_; }
    bool OnOpenDocument(std::u16string_view path);
    bool OpenLogFile(std::u16string_view path);
    bool LoadTail();
    void DeleteContents();

    // Following. A poll whose budget is spent stops between two reads; the
    // next poll goes on from there, as if it had not stopped.
    void CheckFile(const CPollBudget& budget = {});
    // The last poll stopped on its budget with bytes it had found unread.
    bool HasBacklog() const { return backlog_; }
    // What a poll that found nothing new does last: the stop-updating check,
    // when the notification watches this file and has not been sent.
    void CheckStopUpdating();
    void AppendNewText(std::u16string_view text);
    std::size_t NormalizeText(char16_t* text, std::size_t n) const;
    std::u16string_view FilterNewText(std::u16string_view text);
    void EnforceBufferLimit();

    // Reload, clear and truncate.
    void ClearDisplay();
    // False when the file could not be opened again (the failure was shown).
    bool Reload(bool restorePosition);
    // Asks first; TruncateLogFile does the work once the user agreed.
    void Truncate();
    bool TruncateLogFile();

    // Monitoring decides whether the refresh timer polls this document.
    bool IsMonitoring() const { return monitoring_; }
    void SetMonitoring(bool on);
    bool IsCaptureMode() const { return captureMode_; }

    // A document of a stream source (the journal), named by the source's
    // name. False, after its message, when the source cannot be read.
    bool OnOpenStream(std::u16string_view name);
    bool IsStreamDocument() const { return stream_ != nullptr; }
    // The refresh tick's step for a stream document: what the source has
    // ready goes through the same intake as text read from a file, under
    // the budget; what is left waits (HasBacklog).
    void TakeStreamText(const CPollBudget& budget = {});
    // The descriptor the event loop watches for this document; -1 for none.
    // Opening and Reload may change it (the host hears DocumentStateChanged).
    int StreamWakeDescriptor() const;
    // The descriptor woke the loop: the source takes the change, and a
    // monitoring document takes what it brought.
    void OnStreamWake(const CPollBudget& budget = {});
    // The folder Browse shows for a stream document; empty for none.
    std::u16string StreamFolder() const;

    // Capture mode: the document shows what programs send through the
    // debug-output channel. False, after its message, when capture cannot
    // start; the document is then discarded. When the channel fails later,
    // the failure is shown and closeDocument runs, on the user-interface
    // thread, to close this document.
    bool InitCapture(std::function<void()> closeDocument);
    // The refresh tick's step for the capture document: the captured text
    // goes to the copy file and through the same intake as text read from
    // a file.
    void FlushCapturedText();
    // The capture options (prefixes, processes) take effect with the next
    // message, and the title names the processes captured.
    void ApplyCaptureOptions();
    // Closes the copy file and opens the one the options name, if any.
    void ReopenCaptureCopyFile();
    bool HasCaptureCopyFile() const;
    capture::CCaptureSession* CaptureSession();

    bool IsCommandEnabled(int commandId) const;
    // True when the command was handled here.
    bool OnCommand(int commandId);
    // True while a command of this document waits on the user (a message
    // box runs its own event loop): closing it then must not free it yet.
    bool IsInUse() const { return inUse_ > 0; }

    // The framework's title, path and modified flag. A poll updates the
    // title quietly; the refresh tick tells the frame with TellTitleChange.
    void SetTitle();
    void TellTitleChange();
    const std::u16string& GetTitle() const { return title_; }
    const std::u16string& GetPathName() const { return path_; }
    const std::u16string& DisplayName() const { return displayName_; }
    const std::u16string& LowerCasePath() const { return lowerPath_; }
    bool IsModified() const { return modified_; }
    void SetModifiedFlag(bool modified) { modified_ = modified; }
    bool SaveModified() const { return true; }

    CCrystalTextBuffer& Buffer() { return buffer_; }
    const CCrystalTextBuffer& Buffer() const { return buffer_; }
    bool HasOpenFile() const { return file_.IsOpen(); }
    // The file being followed; unknown while none is open.
    platform::FileIdentity FollowedFile() const { return handleIdentity_; }
    std::uint64_t ReadPosition() const { return readPosition_; }
    std::uint32_t TextSize() const { return textSize_; }
    // The "Text length in editor" pane.
    std::u16string TextLengthText() const;
    // The encoding the file is read in; nothing while it is not decided yet.
    std::optional<TextEncoding> Encoding() const;
    const CLineFilterStage& FilterStage() const { return filterStage_; }

    bool GotNewData() const { return gotNewData_; }
    std::int64_t LastUpdate() const { return lastUpdate_; }
    bool StopNoticeEnabled() const { return stopNoticeEnabled_; }
    // Asks the stop-updating notification again whether it watches this
    // file; whether this quiet period's e-mail went out stays as it is.
    void UpdateStopNotice();
    bool StopNoticeSent() const { return stopNoticeSent_; }
    bool IsRedLineArmed() const { return redLineArmed_; }
    void SetRedLineArmed(bool armed) { redLineArmed_ = armed; }

    // For followers that take the document's lines one by one: the lines
    // trimmed from the top since the last reset, and the number of resets.
    void SetListener(IDocumentListener* listener) { listener_ = listener; }
    std::uint64_t TrimmedLineCount() const { return trimmedLines_; }
    std::uint64_t ResetCount() const { return resetCount_; }

private:
    bool OpenHandle();
    void CloseHandle();
    std::optional<TextEncoding> ConfiguredEncoding() const;
    std::uint64_t TakeByteOrderMark(const std::uint8_t* head, std::size_t n);
    void SampleEncoding(std::uint64_t textStart);
    bool LoadRange(std::uint64_t start, std::uint64_t end, std::uint64_t textStart,
                   TextPos insertAt);
    void InsertLoaded(std::u16string_view text, TextPos& insertAt);

    std::u16string_view NormalizeRead(char16_t* units, std::size_t n);
    // runActions false: the text is shown and signalled but runs no
    // highlight actions (what this program sent through the channel itself).
    void AppendText(std::u16string_view text, bool raiseSignals, bool runActions = true);

    bool AnyShowAs() const;
    void RunHighlightActions(int firstLine, int lastLine);
    void ApplyShowAsToNewLines(int first, int last, bool redrawVisible);
    void RestoreUnfinishedLine();
    void ForgetUnfinishedLine();
    std::u16string_view UnfinishedLineAsRead() const;

    void UpdateTitle(bool tellNow);
    std::uint64_t ReadNewText(std::uint64_t knownSize, const CPollBudget& budget = {});
    std::size_t TakeRead(const std::uint8_t* bytes, std::size_t n);
    void ReadRestOfOldFile();
    void ReopenForPolling();
    void StartOver();
    void FollowReplacement();
    void EndUnfinishedLine();
    void MarkNewData();

    void Trim();
    void RecomputeTextSize();
    void AddToTextSize(std::size_t units);
    void ResetDisplay();
    void MoveCaretToEnd();

    std::vector<std::pair<int, std::uint32_t>> SaveLineFlags() const;
    void RestoreLineFlags(const std::vector<std::pair<int, std::uint32_t>>& flags);
    void RestoreViewPosition(TextPos caret, int topLine, int firstColumn);

    const settings::Options& Options() const { return context_.options; }
    std::size_t StreamTailUnits() const;
    void TakeStreamTail();
    bool ReloadStream();
    void OpenCaptureCopyFile();
    void OnCaptureFailed(std::uint32_t code, const std::function<void()>& closeDocument);
    void EndStream();
    // The intake of stream sources: normalise, then append as any new text.
    void TakeText(char16_t* text, std::size_t units, bool ownText) override;
    void TakeTailText(char16_t* text, std::size_t units) override;

    DocContext& context_;
    CTarvikTextBuffer buffer_;
    ILogView* view_ = nullptr;
    IDocumentListener* listener_ = nullptr;
    std::uint32_t textSize_ = 0;
    bool redLineArmed_ = false;
    CLineFilterStage filterStage_;
    // Whether the include/exclude stage was in force for the last text.
    bool filtering_ = false;
    std::u16string lowerPath_;
    bool stopNoticeEnabled_ = false;
    bool stopNoticeSent_ = false;
    bool gotNewData_ = false;
    std::int64_t lastUpdate_ = 0;
    platform::MappedArray<char16_t> readBuffer_;
    bool monitoring_ = false;
    bool captureMode_ = false;
    std::unique_ptr<streams::IStreamSource> stream_;
    // The stream source when it is the capture; none otherwise.
    streams::CCaptureSource* capture_ = nullptr;
    // The tail at open is being taken: it runs no actions, raises no signals.
    bool takingTail_ = false;
    // The source handed over text since the turn began.
    bool streamTook_ = false;
    std::u16string displayName_;
    platform::CFile file_;
    platform::FileIdentity handleIdentity_;
    std::uint64_t readPosition_ = 0;
    bool backlog_ = false;
    CReadPace readPace_{kReadBufferUnits};
    filters::CSearchLimitHits limitHits_;
    CTextDecoder decoder_;
    CLineBreakCarry breakCarry_;
    // The unfinished last line as read and as "Show as" left it; both empty
    // when "Show as" did not change it.
    std::u16string unfinishedAsRead_;
    std::u16string unfinishedAsShown_;

    std::u16string path_;
    std::string pathUtf8_;
    std::u16string title_;
    // The title changed since the frame was last told.
    bool titleUntold_ = false;
    bool modified_ = false;
    std::uint64_t trimmedLines_ = 0;
    std::uint64_t resetCount_ = 0;
    int inUse_ = 0;

    friend class CInUseScope;
};

}  // namespace core
