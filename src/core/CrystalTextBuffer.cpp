#include "core/CrystalTextBuffer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>

#include "core/LineBreakScan.h"
#include "core/LineTextBlock.h"
#include "core/Utf16LeWriter.h"

namespace core {

namespace {

// An insertion of this many lines or more places them in shared blocks of at
// most kSharedBlockUnits units (see LineTextBlock.h); fewer lines get storage
// of their own as user edits do. Blocks of 64 KiB stay below the size the
// allocator maps fresh pages for, so blocks freed by a trim are reused
// instead of faulted in again.
constexpr std::size_t kSharedBlockMinLines = 16;
constexpr std::size_t kSharedBlockUnits = 1 << 15;

std::size_t SlotUnits(std::size_t length) {
    return static_cast<std::size_t>(CTextLine::CapacityFor(static_cast<int>(length)));
}

}  // namespace

void CCrystalTextBuffer::ResetEmpty(int lineBreakMode) {
    lines_.Clear();
    lines_.PushBack(CTextLine{});
    lineBreakMode_ = IsValidLineBreakMode(lineBreakMode) ? lineBreakMode : kLineBreakDos;
    initialized_ = true;
    readOnly_ = false;
    SetModified(false);
    history_.Clear(true);
    NotifyViews(nullptr, nullptr, kUpdateReset, 0);
}

void CCrystalTextBuffer::FreeAll() {
    lines_.Clear();
    history_.Clear(!modified_);
    initialized_ = false;
}

void CCrystalTextBuffer::SetModified(bool modified) {
    if (!modified) history_.MarkSaved();
    if (modified == modified_) return;
    modified_ = modified;
    OnModifiedChanged(modified);
}

int CCrystalTextBuffer::LineLength(int line) const {
    return IsValidLine(line) ? lines_[line].Length() : 0;
}

std::u16string_view CCrystalTextBuffer::LineText(int line) const {
    return IsValidLine(line) ? lines_[line].Text() : std::u16string_view{};
}

std::uint32_t CCrystalTextBuffer::LineFlags(int line) const {
    return IsValidLine(line) ? lines_[line].Flags() : 0;
}

int CCrystalTextBuffer::LineCapacity(int line) const {
    return IsValidLine(line) ? lines_[line].Capacity() : 0;
}

void CCrystalTextBuffer::SetLineFlag(int line, std::uint32_t flag, bool set,
                                     bool removeFromOthers) {
    if (!IsSingleFlag(flag)) return;
    if (line == -1) {
        line = FindLineWithFlag(flag);
        removeFromOthers = false;
    }
    if (!IsValidLine(line)) return;

    CTextLine& target = lines_[line];
    std::uint32_t flags = target.Flags();
    if (set && (flags & kBookmarkGroup) != 0 && (flag & kBookmarkGroup) != 0) {
        flags &= ~kBookmarkGroup;
    }
    const std::uint32_t newFlags = set ? flags | flag : flags & ~flag;
    if (newFlags == target.Flags()) return;

    if (set && removeFromOthers) ClearFlagOnFirstOtherLine(flag);
    lines_[line].SetFlags(newFlags);
    NotifyViews(nullptr, nullptr, kUpdateLineFlags, line);
}

// The line being changed never carries the flag here: setting a flag it
// already has changes nothing and returns earlier.
void CCrystalTextBuffer::ClearFlagOnFirstOtherLine(std::uint32_t flag) {
    const int other = FindLineWithFlag(flag);
    if (other < 0) return;
    lines_[other].SetFlags(lines_[other].Flags() & ~flag);
    NotifyViews(nullptr, nullptr, kUpdateLineFlags, other);
}

int CCrystalTextBuffer::FindLineWithFlag(std::uint32_t flag) const {
    if (!IsSingleFlag(flag)) return -1;
    for (int line = 0; line < LineCount(); ++line) {
        if ((lines_[line].Flags() & flag) != 0) return line;
    }
    return -1;
}

int CCrystalTextBuffer::NextFlaggedLine(int start, std::uint32_t flag) const {
    const int count = LineCount();
    if (count == 0 || flag == 0) return -1;
    start = std::clamp(start, 0, count - 1);
    const auto carries = [&](int line) { return (lines_[line].Flags() & flag) != 0; };
    for (int line = carries(start) ? start + 1 : start; line < count; ++line) {
        if (carries(line)) return line;
    }
    for (int line = 0; line < count; ++line) {
        if (carries(line)) return line;
    }
    return -1;
}

int CCrystalTextBuffer::PrevFlaggedLine(int start, std::uint32_t flag) const {
    const int count = LineCount();
    if (count == 0 || flag == 0) return -1;
    start = std::clamp(start, 0, count - 1);
    const auto carries = [&](int line) { return (lines_[line].Flags() & flag) != 0; };
    for (int line = carries(start) ? start - 1 : start; line >= 0; --line) {
        if (carries(line)) return line;
    }
    for (int line = count - 1; line >= 0; --line) {
        if (carries(line)) return line;
    }
    return -1;
}

TextPos CCrystalTextBuffer::Clamp(TextPos pos) const {
    const int line = std::clamp(pos.line, 0, LineCount() - 1);
    return {std::clamp(pos.ch, 0, lines_[line].Length()), line};
}

bool CCrystalTextBuffer::InsertTextAt(ITextBufferView* source, TextPos start,
                                      std::u16string_view text, TextPos& end, int action,
                                      bool recordUndo, bool notify) {
    if (!CanModify()) return false;
    start = Clamp(start);
    end = start;
    const int room = std::max(0, kMaxLineLength - lines_[start.line].Length());
    if (text.size() > static_cast<std::size_t>(room)) return false;

    const int linesBefore = LineCount();
    end = SplitIntoLines(start, text);
    if (notify) {
        const bool linesAdded = LineCount() != linesBefore;
        NotifyViews(source, nullptr, linesAdded ? kUpdateLinesChanged : kUpdateLineEdited,
                    start.line);
    }
    SetModified(true);
    if (recordUndo) history_.Add(true, start, end, action, text);
    return true;
}

// The first piece of text joins the line at `at`; every later piece becomes a
// new line after the previous one; the units that followed `at` go to the end
// of the last piece. Returns the position just after the text.
TextPos CCrystalTextBuffer::SplitIntoLines(TextPos at, std::u16string_view text) {
    CLineBreakCursor breaks(text, false);
    std::size_t brk = breaks.Next(0);
    CTextLine& first = lines_[at.line];
    std::u16string tail = first.CutTail(at.ch);
    first.Append(text.substr(0, brk));
    if (brk == std::u16string_view::npos) {
        const TextPos end{first.Length(), at.line};
        first.Append(tail);
        return end;
    }

    // The new lines, as pieces of the text; the last one will take the tail.
    pieces_.clear();
    std::size_t units = 0;
    while (brk != std::u16string_view::npos) {
        const std::size_t pieceStart = brk + LineBreakLength(text, brk);
        brk = breaks.Next(pieceStart);
        const std::size_t pieceEnd = brk == std::u16string_view::npos ? text.size() : brk;
        pieces_.push_back({pieceStart, pieceEnd - pieceStart});
        units += SlotUnits(pieceEnd - pieceStart);
    }
    units += SlotUnits(pieces_.back().length + tail.size()) - SlotUnits(pieces_.back().length);

    // Appending at the last line pushes the new lines directly; elsewhere they
    // are collected and inserted in one move of the following entries.
    const bool atLastLine = at.line == LineCount() - 1;
    const bool shareBlocks = pieces_.size() >= kSharedBlockMinLines;
    CLineTextBlock* block = nullptr;
    std::vector<CTextLine> collected;
    for (std::size_t i = 0; i < pieces_.size(); ++i) {
        const Piece piece = pieces_[i];
        const std::size_t reserve = piece.length + (i + 1 == pieces_.size() ? tail.size() : 0);
        const std::u16string_view pieceText = text.substr(piece.start, piece.length);
        const std::size_t slot = SlotUnits(reserve);
        if (shareBlocks && (block == nullptr || !block->Fits(slot))) {
            if (block != nullptr) block->Release();
            block = CLineTextBlock::Create(std::max(std::min(units, kSharedBlockUnits), slot));
        }
        units -= slot;
        CTextLine line = block != nullptr ? CTextLine(pieceText, static_cast<int>(reserve), *block)
                                          : CTextLine(pieceText);
        if (atLastLine) {
            lines_.PushBack(std::move(line));
        } else {
            collected.push_back(std::move(line));
        }
    }
    if (block != nullptr) block->Release();
    if (!atLastLine) lines_.Insert(at.line + 1, collected);

    const int lastLine = at.line + static_cast<int>(pieces_.size());
    CTextLine& last = lines_[lastLine];
    const TextPos end{last.Length(), lastLine};
    last.Append(tail);
    return end;
}

bool CCrystalTextBuffer::DeleteRange(ITextBufferView* source, TextPos start, TextPos end,
                                     int action, bool recordUndo, bool notify) {
    if (!CanModify()) return false;
    start = Clamp(start);
    end = Clamp(end);
    if (!(start < end)) return false;

    std::u16string removed;
    if (recordUndo) removed = CopyRange(start, end);
    const bool sameLine = start.line == end.line;
    if (sameLine) {
        lines_[start.line].Erase(start.ch, end.ch - start.ch);
    } else {
        JoinLines(start, end);
    }
    if (notify) {
        NotifyViews(source, nullptr, sameLine ? kUpdateLineEdited : kUpdateLinesChanged,
                    start.line);
    }
    SetModified(true);
    if (recordUndo) history_.Add(false, start, end, action, removed);
    return true;
}

// Joins what is left of the start line and of the end line into one line.
// When nothing of the start line is left, the joined line is the rest of the
// end line and keeps that line's flags: deleting whole lines from the top
// leaves every remaining line with its own bookmarks and red line.
void CCrystalTextBuffer::JoinLines(TextPos start, TextPos end) {
    if (start.ch == 0) {
        lines_[end.line].Erase(0, end.ch);
        lines_.Erase(start.line, end.line);
        return;
    }
    CTextLine& first = lines_[start.line];
    first.Truncate(start.ch);
    first.Append(lines_[end.line].Text().substr(static_cast<std::size_t>(end.ch)));
    lines_.Erase(start.line + 1, end.line + 1);
}

std::u16string CCrystalTextBuffer::CopyRange(TextPos start, TextPos end,
                                             std::u16string_view lineBreak) const {
    if (LineCount() == 0) return {};
    start = Clamp(start);
    end = Clamp(end);
    if (!(start < end)) return {};

    const auto ch = [](const TextPos& pos) { return static_cast<std::size_t>(pos.ch); };
    if (start.line == end.line) {
        return std::u16string(lines_[start.line].Text().substr(ch(start), ch(end) - ch(start)));
    }
    std::size_t total = lines_[start.line].Text().size() - ch(start) + ch(end);
    for (int line = start.line + 1; line <= end.line; ++line) {
        total += lineBreak.size() + (line < end.line ? lines_[line].Text().size() : 0);
    }
    std::u16string text;
    text.reserve(total);
    text.append(lines_[start.line].Text().substr(ch(start)));
    for (int line = start.line + 1; line < end.line; ++line) {
        text.append(lineBreak);
        text.append(lines_[line].Text());
    }
    text.append(lineBreak);
    text.append(lines_[end.line].Text().substr(0, ch(end)));
    return text;
}

bool CCrystalTextBuffer::Undo(TextPos& caret) {
    if (!CanModify() || !history_.CanUndo()) return false;
    for (;;) {
        const UndoRecord& record = history_.StepBack();
        const bool beginsGroup = record.BeginsGroup();
        UndoRecordEdit(record, caret);
        if (beginsGroup || !history_.CanUndo()) break;
    }
    ModifiedAfterHistoryMove();
    return true;
}

bool CCrystalTextBuffer::Redo(TextPos& caret) {
    if (!CanModify() || !history_.CanRedo()) return false;
    do {
        RedoRecordEdit(history_.StepForward(), caret);
    } while (!history_.AtGroupStart());
    ModifiedAfterHistoryMove();
    return true;
}

// The edits of undo and redo record nothing themselves; the history only
// moves its index.
void CCrystalTextBuffer::UndoRecordEdit(const UndoRecord& record, TextPos& caret) {
    if (record.IsInsertion()) {
        DeleteRange(nullptr, record.start, record.end, record.action, false, true);
        caret = record.start;
    } else {
        TextPos end;
        InsertTextAt(nullptr, record.start, record.text, end, record.action, false, true);
        caret = end;
    }
}

void CCrystalTextBuffer::RedoRecordEdit(const UndoRecord& record, TextPos& caret) {
    if (record.IsInsertion()) {
        TextPos end;
        InsertTextAt(nullptr, record.start, record.text, end, record.action, false, true);
        caret = end;
    } else {
        DeleteRange(nullptr, record.start, record.end, record.action, false, true);
        caret = record.start;
    }
}

void CCrystalTextBuffer::AttachView(ITextBufferView* view) {
    if (view == nullptr || std::find(views_.begin(), views_.end(), view) != views_.end()) return;
    views_.push_back(view);
}

void CCrystalTextBuffer::DetachView(ITextBufferView* view) {
    views_.erase(std::remove(views_.begin(), views_.end(), view), views_.end());
}

// Indexes rather than iterators: a view may detach itself while it updates.
void CCrystalTextBuffer::NotifyViews(ITextBufferView* source, const void* context,
                                     std::uint32_t hints, int line) {
    for (std::size_t i = 0; i < views_.size(); ++i)
        views_[i]->UpdateView(source, context, hints, line);
}

bool CCrystalTextBuffer::WriteLines(int fd) const {
    CUtf16LeWriter writer(fd);
    for (int line = 0; line < LineCount(); ++line) {
        if (line > 0) writer.Append(u"\r\n");
        writer.Append(lines_[line].Text());
    }
    return writer.Flush();
}

bool CCrystalTextBuffer::SaveUnicodeFile(const std::string& path) const {
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    CUtf16LeWriter writer(fd);
    writer.Append(u"\xFEFF");
    const bool written = writer.Flush() && WriteLines(fd);
    const bool closed = ::close(fd) == 0;
    return written && closed;
}

}  // namespace core
