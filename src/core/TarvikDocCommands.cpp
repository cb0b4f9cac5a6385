// The document's commands: clear, reload and truncate, and the rules that
// enable its menu commands.

#include <algorithm>

#include "core/DocCommandIds.h"
#include "core/TarvikDoc.h"
#include "core/WaitCursor.h"
#include "platform/File.h"

namespace core {

// Marks the document in use while a command that may ask the user runs.
class CInUseScope {
public:
    explicit CInUseScope(CTarvikDoc& doc) : doc_(doc) { ++doc_.inUse_; }
    ~CInUseScope() { --doc_.inUse_; }
    CInUseScope(const CInUseScope&) = delete;
    CInUseScope& operator=(const CInUseScope&) = delete;

private:
    CTarvikDoc& doc_;
};

void CTarvikDoc::ClearDisplay() {
    // The file, the read position and the partial line stay: the next poll
    // shows only what is written after the clear.
    ResetDisplay();
}

bool CTarvikDoc::Reload(bool restorePosition) {
    if (captureMode_) return false;
    CInUseScope inUse(*this);
    core::CWaitCursor wait(context_.ui);
    const TextPos caret = view_ ? view_->GetCursorPos() : TextPos{};
    const int topLine = view_ ? view_->GetTopLine() : 0;
    const int firstColumn = view_ ? view_->GetFirstVisibleColumn() : 0;
    const auto flags = SaveLineFlags();
    if (stream_) {
        const bool restarted = ReloadStream();
        if (restarted) {
            RestoreLineFlags(flags);
            if (restorePosition) RestoreViewPosition(caret, topLine, firstColumn);
        }
        SetTitle();
        return restarted;
    }

    CloseHandle();
    readPosition_ = 0;
    filterStage_.ClearPartial();
    ResetDisplay();

    const bool reopened = OpenLogFile(path_);
    if (reopened) {
        RestoreLineFlags(flags);
        if (restorePosition) RestoreViewPosition(caret, topLine, firstColumn);
    } else {
        // A load that failed half-way leaves nothing behind: the polls read
        // the file from its start again.
        ResetDisplay();
        filterStage_.ClearPartial();
        readPosition_ = 0;
        if (context_.ui) {
            context_.ui->ShowMessage(u"Could not reload content of the file",
                                     core::MessageIcon::Exclamation);
        }
    }
    SetTitle();
    return reopened;
}

std::vector<std::pair<int, std::uint32_t>> CTarvikDoc::SaveLineFlags() const {
    std::vector<std::pair<int, std::uint32_t>> flags;
    for (int line = 0; line < buffer_.LineCount(); ++line) {
        if (const std::uint32_t f = buffer_.LineFlags(line); f != 0) flags.emplace_back(line, f);
    }
    return flags;
}

// Flags return by line number, whatever text the line holds now.
void CTarvikDoc::RestoreLineFlags(const std::vector<std::pair<int, std::uint32_t>>& flags) {
    for (const auto& [line, bits] : flags) {
        if (line >= buffer_.LineCount()) break;
        for (std::uint32_t rest = bits; rest != 0; rest &= rest - 1) {
            const std::uint32_t bit = rest & (~rest + 1);
            buffer_.SetLineFlag(line, bit, true, false);
        }
    }
}

void CTarvikDoc::RestoreViewPosition(TextPos caret, int topLine, int firstColumn) {
    if (!view_) return;
    const int lines = buffer_.LineCount();
    const int maxTop = std::max(0, lines - view_->GetScreenLines());
    view_->ScrollTo(std::clamp(topLine, 0, maxTop), std::max(0, firstColumn));
    caret.line = std::clamp(caret.line, 0, lines - 1);
    caret.ch = std::clamp(caret.ch, 0, buffer_.LineLength(caret.line));
    view_->SetCursorPos(caret);
    view_->SetSelection(caret, caret);
    view_->SetAnchor(caret);
}

void CTarvikDoc::Truncate() {
    if (!file_.IsOpen() || !context_.ui) return;
    CInUseScope inUse(*this);
    const std::u16string question = u"Do you really want to truncate log file '" + path_ +
                                    u"'?\n\nIMPORTANT: All data in the file will be truncated!";
    if (context_.ui->ShowMessage(question, core::MessageIcon::Question,
                                 core::MessageButtons::YesNo) != core::MessageAnswer::Yes) {
        return;
    }
    TruncateLogFile();
}

bool CTarvikDoc::TruncateLogFile() {
    if (!file_.IsOpen()) return false;
    CInUseScope inUse(*this);
    core::CWaitCursor wait(context_.ui);
    if (!platform::CFile::TruncateToZero(pathUtf8_)) {
        if (context_.ui) {
            context_.ui->ShowMessage(u"Failed to truncate log file '" + path_ +
                                         u"'. Maybe another application opened the file as "
                                         u"write mode, please close the application first.",
                                     core::MessageIcon::Exclamation);
        }
        return false;
    }
    // The reading handle stays and follows the now empty file from its start.
    ResetDisplay();
    readPosition_ = 0;
    SetTitle();
    filterStage_.ClearPartial();
    decoder_.Reset(ConfiguredEncoding());
    breakCarry_.Reset();
    return true;
}

bool CTarvikDoc::IsCommandEnabled(int commandId) const {
    switch (commandId) {
        case kCmdStartMonitoring:
            return !monitoring_;
        case kCmdPauseMonitoring:
            return monitoring_;
        case kCmdReload:
            return !captureMode_;
        case kCmdTruncateLog:
        case kCmdOpenInEditor:
            return file_.IsOpen();
        case kCmdBrowseFolder:
            return file_.IsOpen() || !StreamFolder().empty();
        case kCmdClearAll:
        case kCmdSaveAs:
            return true;
        default:
            return false;
    }
}

bool CTarvikDoc::OnCommand(int commandId) {
    if (!IsCommandEnabled(commandId)) return false;
    switch (commandId) {
        case kCmdStartMonitoring:
            SetMonitoring(true);
            return true;
        case kCmdPauseMonitoring:
            SetMonitoring(false);
            return true;
        case kCmdClearAll:
            ClearDisplay();
            return true;
        case kCmdReload:
            Reload(true);
            return true;
        case kCmdTruncateLog:
            Truncate();
            return true;
        case kCmdOpenInEditor:
            if (!context_.externalPrograms) return false;
            context_.externalPrograms->OpenInEditor(path_);
            return true;
        case kCmdBrowseFolder:
            if (!context_.externalPrograms) return false;
            context_.externalPrograms->ShowInFolder(stream_ ? StreamFolder() : path_);
            return true;
        default:
            // Save As belongs to the export.
            return false;
    }
}

}  // namespace core
