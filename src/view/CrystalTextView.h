#pragma once
// The read-only side of the log view: paints a text buffer row by row with
// its colour runs, selection, margin marks and red lines; keeps the caret,
// the selection and the scroll position; moves them by keyboard, mouse and
// wheel. Options are read through the object it is given, never a global.

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QFont>
#include <QString>
#include <cstdint>

#include "core/CrystalTextBuffer.h"
#include "core/ILogView.h"
#include "core/ITextBufferView.h"
#include "settings/Options.h"
#include "view/CaretMotion.h"
#include "view/ILineColorProvider.h"
#include "view/RowPainter.h"
#include "view/ViewSelection.h"

namespace view {

// The settings copied into the view at every reset.
struct CopiedViewSettings {
    int tabSize = settings::kDefaultTabSize;
    bool invertSelection = true;
    int wheelLines = 4;
    int wheelColumns = 12;
};

class CCrystalTextView : public QAbstractScrollArea,
                         public core::ITextBufferView,
                         public core::ILogView {
    Q_OBJECT
public:
    explicit CCrystalTextView(const settings::Options& options, QWidget* parent = nullptr);
    ~CCrystalTextView() override;

    // Attaches to buffer (detaching from any earlier one) and resets. Null
    // detaches.
    void AttachBuffer(core::CCrystalTextBuffer* buffer);
    core::CCrystalTextBuffer* Buffer() const { return buffer_; }
    // Without a provider lines are drawn in the default colours.
    void SetColorProvider(const ILineColorProvider* provider);
    const ILineColorProvider* ColorProvider() const { return colors_; }
    const settings::Options& Options() const { return options_; }

    // Line height and character width of the current font.
    int LineHeight() const { return lineHeight_; }
    int CharWidth() const { return charWidth_; }
    // The font the text is drawn in.
    const QFont& TextFont() const { return font_; }
    const CopiedViewSettings& Copied() const { return copied_; }
    // Returns to the top, column 0, caret (0, 0), nothing selected, and
    // copies the settings and the font again.
    void ResetView();

    // "Ln %d, Col %d" for the caret, 1-based.
    QString CaretStatusText() const;
    core::TextPos SelectionStart() const { return selection_.Start(); }
    core::TextPos SelectionEnd() const { return selection_.End(); }
    bool HasSelection() const { return !selection_.IsEmpty(); }
    QString SelectedText() const;
    void SelectAll();
    // Selects [start, end) with the caret at the end, made visible.
    void SelectRange(core::TextPos start, core::TextPos end);
    // Scrolls the least needed to show pos.
    void EnsureVisible(core::TextPos pos);
    // The position under a point of the viewport.
    core::TextPos PositionAt(const QPoint& point) const;
    // The widest line seen, in columns.
    int MaxLineColumns() const { return maxColumns_; }

    // ITextBufferView
    void UpdateView(core::ITextBufferView* source, const void* context, std::uint32_t hints,
                    int line) override;

    // ILogView
    core::TextPos GetCursorPos() const override { return selection_.Caret(); }
    void SetCursorPos(core::TextPos pos) override;
    void SetSelection(core::TextPos start, core::TextPos end) override;
    void SetAnchor(core::TextPos pos) override;
    int GetTopLine() const override { return topLine_; }
    int GetScreenLines() const override;
    int GetFirstVisibleColumn() const override { return firstColumn_; }
    void GetVisibleRange(int& first, int& last) const override;
    void ScrollTo(int topLine, int firstColumn) override;
    void ScrollToEnd() override;
    void PostGoToEnd() override;
    void PostGoToLine(int oneBasedLine) override;
    void RedrawLines(int first, int last) override;
    void Invalidate() override;

    // Caret to the end of the last line, nothing selected, made visible.
    void GoToEnd();
    // Caret to (ch, line) clamped into the text, made visible.
    void GoToPosition(int ch, int line);

signals:
    void CaretStatusChanged(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    // A selection was completed by the user (mouse release, Select All, a
    // find or a highlight jump); copies it when AutoCopy is on. It also
    // becomes the window system's primary selection, where there is one.
    void SelectionCompleted();
    void PublishPrimarySelection();
    virtual void CopySelectionToClipboard();
    // Keys the editing layer handles (typing, Delete, Backspace, Enter).
    virtual bool HandleEditKey(QKeyEvent* event) { return false; }
    // Double-click in the margin.
    virtual void ToggleBookmarkAt(int line);
    CaretMotion Motion() const;
    const core::ITextBufferReader& Reader() const;
    int LineCount() const;
    void CaretMoved();

private:
    void ApplyFont();
    void ForgetWidthsFrom(int line, int linesBefore);
    void MeasureAllLines();
    void UpdateScrollRanges();
    int MaxTopLine() const;
    int VisibleColumns() const;
    RowStyle MakeRowStyle(int viewWidth) const;
    RowContent MakeRowContent(int line, filters::LineColors& colors,
                              filters::HighlightRunList& runs) const;
    void PaintCaret(QPainter& painter);
    void MoveCaret(core::TextPos pos, bool extend);
    bool HandleMovementKey(QKeyEvent* event);
    bool HandleScrollKey(QKeyEvent* event);
    void SelectLines(int fromLine, int toLine);
    void SelectWordAt(core::TextPos pos, bool extend);
    void DragTo(const QPoint& point);
    void AutoScrollStep();
    bool InMargin(const QPoint& point) const { return point.x() < kMarginWidth; }

    const settings::Options& options_;
    core::CCrystalTextBuffer* buffer_ = nullptr;
    const ILineColorProvider* colors_ = nullptr;
    CopiedViewSettings copied_;
    QFont font_;
    QRawFont rawFont_;
    int lineHeight_ = 16;
    int charWidth_ = 8;
    int ascent_ = 12;
    int topLine_ = 0;
    int firstColumn_ = 0;
    int maxColumns_ = 0;
    int knownLineCount_ = 0;
    ViewSelection selection_;
    bool dragging_ = false;
    bool draggingLines_ = false;
    int dragLineAnchor_ = 0;
    QPoint lastDragPoint_;
    QBasicTimer autoScroll_;
    // Wheel movement not yet worth a whole notch (high-resolution wheels,
    // touchpads), per axis.
    QPoint wheelRemainder_;
};

}  // namespace view
