#pragma once
// What a log document needs of the view that shows it. The document works
// without one (headless followers, tests); then nothing of this is asked.

#include "core/TextPos.h"

namespace core {

class ILogView {
public:
    virtual ~ILogView() = default;

    virtual TextPos GetCursorPos() const = 0;
    virtual void SetCursorPos(TextPos pos) = 0;
    virtual void SetSelection(TextPos start, TextPos end) = 0;
    virtual void SetAnchor(TextPos pos) = 0;

    // The first line shown, the number of whole lines that fit (client height
    // divided by line height) and the first column shown.
    virtual int GetTopLine() const = 0;
    virtual int GetScreenLines() const = 0;
    virtual int GetFirstVisibleColumn() const = 0;
    // The lines [first, last] at least partly on screen.
    virtual void GetVisibleRange(int& first, int& last) const = 0;

    // Scrolls to a top line and first column; the view keeps the column
    // within its horizontal extent.
    virtual void ScrollTo(int topLine, int firstColumn) = 0;
    // Scrolls so that the last line is at the bottom.
    virtual void ScrollToEnd() = 0;
    // The view's go-to-end command (Ctrl+End) and go-to-line request
    // (1-based), queued to run after the current command.
    virtual void PostGoToEnd() = 0;
    virtual void PostGoToLine(int oneBasedLine) = 0;

    virtual void RedrawLines(int first, int last) = 0;
    // Repaints everything.
    virtual void Invalidate() = 0;
};

}  // namespace core
