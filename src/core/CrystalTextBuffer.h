#pragma once
// The line store behind a document: lines of UTF-16 code units with a flag
// word each, a bounded undo history of the user's edits, and the views that
// display it. It knows nothing of files being followed, encodings or size
// limits; the document that owns it does.
//
// Positions out of range are clamped, never rejected. Modifying operations
// fail (return false) while the buffer is read-only or not yet reset.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ITextBufferReader.h"
#include "core/ITextBufferView.h"
#include "core/LineArray.h"
#include "core/LineBreakMode.h"
#include "core/LineFlagBits.h"
#include "core/TextPos.h"
#include "core/UndoHistory.h"

namespace core {

class CCrystalTextBuffer : public ITextBufferReader {
public:
    static constexpr int kUndoLimit = CUndoHistory::kLimit;
    // No single insertion may make a line longer than this.
    static constexpr int kMaxLineLength = 0x3FFFFFF0;

    CCrystalTextBuffer() = default;
    ~CCrystalTextBuffer() override = default;
    CCrystalTextBuffer(const CCrystalTextBuffer&) = delete;
    CCrystalTextBuffer& operator=(const CCrystalTextBuffer&) = delete;

    // Discards everything and leaves one empty line; views get the reset hint.
    void ResetEmpty(int lineBreakMode = kLineBreakDos);
    // Frees all lines and undo records; the buffer is unusable until ResetEmpty.
    void FreeAll();
    bool IsInitialized() const { return initialized_; }

    bool IsReadOnly() const { return readOnly_; }
    void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
    int LineBreakMode() const { return lineBreakMode_; }

    bool IsModified() const { return modified_; }
    // Marking the buffer as not modified remembers the undo position, so that
    // undoing back to it clears the modified state again.
    void SetModified(bool modified);

    // Lines.
    int LineCount() const final { return lines_.Size(); }
    int LineLength(int line) const final;
    std::u16string_view LineText(int line) const final;
    std::uint32_t LineFlags(int line) const final;
    int LineCapacity(int line) const;

    // Flags. `flag` must be exactly one bit; line -1 means the first line that
    // carries the flag.
    void SetLineFlag(int line, std::uint32_t flag, bool set, bool removeFromOthers = true);
    int FindLineWithFlag(std::uint32_t flag) const;
    // Searches from `start` (skipping it when it carries the flag) to the end,
    // then once more from the other end; -1 when no line carries the flag.
    int NextFlaggedLine(int start, std::uint32_t flag) const;
    int PrevFlaggedLine(int start, std::uint32_t flag) const;

    // Text. Line breaks in inserted text are CR, LF, CR LF and LF CR; `end`
    // receives the position just after the inserted text.
    bool InsertTextAt(ITextBufferView* source, TextPos start, std::u16string_view text,
                      TextPos& end, int action = 0, bool recordUndo = true, bool notify = true);
    bool DeleteRange(ITextBufferView* source, TextPos start, TextPos end, int action = 0,
                     bool recordUndo = true, bool notify = true);
    std::u16string CopyRange(TextPos start, TextPos end,
                             std::u16string_view lineBreak = u"\r\n") const;

    // Undo and redo of whole groups; `caret` receives where the view puts its caret.
    bool CanUndo() const { return history_.CanUndo(); }
    bool CanRedo() const { return history_.CanRedo(); }
    bool Undo(TextPos& caret);
    bool Redo(TextPos& caret);
    void BeginUndoGroup(bool mergeWithPrevious = false) { history_.BeginGroup(mergeWithPrevious); }
    void FlushUndoGroup() { history_.FlushGroup(); }
    void ClearUndo() { history_.Clear(!modified_); }
    const CUndoHistory& UndoHistory() const { return history_; }

    // Views, notified in the order they attached.
    void AttachView(ITextBufferView* view);
    void DetachView(ITextBufferView* view);
    void NotifyViews(ITextBufferView* source, const void* context, std::uint32_t hints, int line);

    // Every line as UTF-16LE, lines separated by CR LF, no break after the
    // last line. False when a write fails.
    bool WriteLines(int fd) const;
    // Creates or truncates the file (mode 0644 before the umask) and writes
    // the byte-order mark FF FE and then the lines. False on any failure.
    bool SaveUnicodeFile(const std::string& path) const;

protected:
    // Called whenever the modified state changes.
    virtual void OnModifiedChanged(bool modified) {}

private:
    bool CanModify() const { return initialized_ && !readOnly_; }
    bool IsValidLine(int line) const { return line >= 0 && line < LineCount(); }
    TextPos Clamp(TextPos pos) const;
    TextPos SplitIntoLines(TextPos at, std::u16string_view text);
    void JoinLines(TextPos start, TextPos end);
    void ClearFlagOnFirstOtherLine(std::uint32_t flag);
    void UndoRecordEdit(const UndoRecord& record, TextPos& caret);
    void RedoRecordEdit(const UndoRecord& record, TextPos& caret);
    void ModifiedAfterHistoryMove() { SetModified(!history_.AtSavedPosition()); }

    // Where the new lines of an insertion lie in its text; kept between
    // insertions so that a followed log's appends do not allocate it anew.
    struct Piece {
        std::size_t start = 0;
        std::size_t length = 0;
    };
    std::vector<Piece> pieces_;

    CLineArray lines_;
    CUndoHistory history_;
    std::vector<ITextBufferView*> views_;
    int lineBreakMode_ = kLineBreakDos;
    bool initialized_ = false;
    bool readOnly_ = false;
    bool modified_ = false;
};

}  // namespace core
