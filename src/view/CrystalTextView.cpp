#include "view/CrystalTextView.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>
#include <cmath>

#include "view/ColorRef.h"
#include "view/FontMapping.h"
#include "view/MarkImages.h"
#include "view/TextColumns.h"
#include "view/TextContrast.h"

namespace view {

namespace {

// Read when no buffer is attached: one empty line.
class EmptyReader : public core::ITextBufferReader {
public:
    int LineCount() const override { return 1; }
    int LineLength(int) const override { return 0; }
    std::u16string_view LineText(int) const override { return {}; }
    std::uint32_t LineFlags(int) const override { return 0; }
};

const EmptyReader kEmptyReader;

}  // namespace

CCrystalTextView::CCrystalTextView(const settings::Options& options, QWidget* parent)
    : QAbstractScrollArea(parent), options_(options) {
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    ResetView();
}

CCrystalTextView::~CCrystalTextView() {
    if (buffer_) buffer_->DetachView(this);
}

void CCrystalTextView::AttachBuffer(core::CCrystalTextBuffer* buffer) {
    if (buffer_) buffer_->DetachView(this);
    buffer_ = buffer;
    if (buffer_) buffer_->AttachView(this);
    ResetView();
}

void CCrystalTextView::SetColorProvider(const ILineColorProvider* provider) {
    colors_ = provider;
    viewport()->update();
}

const core::ITextBufferReader& CCrystalTextView::Reader() const {
    if (buffer_ && buffer_->IsInitialized()) return *buffer_;
    return kEmptyReader;
}

int CCrystalTextView::LineCount() const {
    return std::max(1, Reader().LineCount());
}

CaretMotion CCrystalTextView::Motion() const {
    return CaretMotion(Reader(), copied_.tabSize);
}

void CCrystalTextView::ApplyFont() {
    font_ = FontFromLogFont(options_.UFont, logicalDpiY());
    // Characters sit on a grid of whole pixels: the letter spacing makes up
    // the fraction, so text drawn in one piece stays on its cells.
    const qreal advance = QFontMetricsF(font_).horizontalAdvance(QLatin1Char('X'));
    charWidth_ = std::max(1, static_cast<int>(std::ceil(advance)));
    font_.setLetterSpacing(QFont::AbsoluteSpacing, charWidth_ - advance);
    const QFontMetrics metrics(font_);
    lineHeight_ = std::max(1, metrics.height());
    ascent_ = metrics.ascent();
    rawFont_ = QRawFont::fromFont(font_);
}

void CCrystalTextView::ResetView() {
    copied_.tabSize = std::clamp(options_.TabSize, 1, settings::kMaxTabSize);
    copied_.invertSelection = options_.InvertColorSelText;
    copied_.wheelLines = std::max(1, options_.MouseWheelScrollLines);
    copied_.wheelColumns = std::max(1, options_.MouseWheelScrollColumns);
    ApplyFont();
    topLine_ = 0;
    firstColumn_ = 0;
    selection_.CollapseTo({});
    MeasureAllLines();
    UpdateScrollRanges();
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    viewport()->update();
    CaretMoved();
}

// Widths

void CCrystalTextView::MeasureAllLines() {
    const auto& reader = Reader();
    maxColumns_ = 0;
    for (int line = 0; line < reader.LineCount(); ++line) {
        maxColumns_ = std::max(maxColumns_, LineColumns(reader.LineText(line), copied_.tabSize));
    }
    knownLineCount_ = reader.LineCount();
}

// The widest line only grows between resets: lines that went away may leave
// the extent a little wide, which costs nothing, while measuring every line
// at each append would cost the whole buffer each time.
void CCrystalTextView::ForgetWidthsFrom(int line, int linesBefore) {
    const auto& reader = Reader();
    const int added = std::max(0, reader.LineCount() - linesBefore);
    const int last = std::min(reader.LineCount() - 1, line + added);
    for (int i = std::max(0, line); i <= last; ++i) {
        maxColumns_ = std::max(maxColumns_, LineColumns(reader.LineText(i), copied_.tabSize));
    }
}

// Geometry and scrolling

int CCrystalTextView::GetScreenLines() const {
    return viewport()->height() / lineHeight_;
}

int CCrystalTextView::VisibleColumns() const {
    return std::max(0, viewport()->width() - kMarginWidth) / charWidth_;
}

int CCrystalTextView::MaxTopLine() const {
    return std::max(0, LineCount() - std::max(1, GetScreenLines()));
}

void CCrystalTextView::GetVisibleRange(int& first, int& last) const {
    first = topLine_;
    const int rows = (viewport()->height() + lineHeight_ - 1) / lineHeight_;
    last = std::min(LineCount() - 1, topLine_ + std::max(0, rows - 1));
}

void CCrystalTextView::UpdateScrollRanges() {
    QScrollBar* vertical = verticalScrollBar();
    const QSignalBlocker blockVertical(vertical);
    vertical->setRange(0, MaxTopLine());
    vertical->setPageStep(std::max(1, GetScreenLines()));
    vertical->setValue(topLine_);
    QScrollBar* horizontal = horizontalScrollBar();
    const QSignalBlocker blockHorizontal(horizontal);
    horizontal->setRange(0, std::max(0, maxColumns_ + 1 - VisibleColumns()));
    horizontal->setPageStep(std::max(1, VisibleColumns()));
    horizontal->setValue(firstColumn_);
}

void CCrystalTextView::ScrollTo(int topLine, int firstColumn) {
    const int top = std::clamp(topLine, 0, MaxTopLine());
    const int column = std::clamp(firstColumn, 0, std::max(0, maxColumns_));
    if (top == topLine_ && column == firstColumn_) return;
    topLine_ = top;
    firstColumn_ = column;
    UpdateScrollRanges();
    viewport()->update();
}

void CCrystalTextView::ScrollToEnd() {
    ScrollTo(std::max(0, LineCount() - GetScreenLines()), firstColumn_);
}

void CCrystalTextView::scrollContentsBy(int, int) {
    topLine_ = verticalScrollBar()->value();
    firstColumn_ = horizontalScrollBar()->value();
    viewport()->update();
}

void CCrystalTextView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    topLine_ = std::min(topLine_, MaxTopLine());
    UpdateScrollRanges();
}

void CCrystalTextView::EnsureVisible(core::TextPos pos) {
    const int screenLines = std::max(1, GetScreenLines());
    int top = topLine_;
    if (pos.line < top) top = pos.line;
    if (pos.line >= top + screenLines) top = pos.line - screenLines + 1;
    const int column = ColumnOfChar(Reader().LineText(pos.line), pos.ch, copied_.tabSize);
    const int visibleColumns = std::max(1, VisibleColumns());
    int first = firstColumn_;
    if (column < first) first = column;
    if (column >= first + visibleColumns) first = column - visibleColumns + 1;
    ScrollTo(top, first);
}

core::TextPos CCrystalTextView::PositionAt(const QPoint& point) const {
    const int line = std::clamp(topLine_ + point.y() / lineHeight_, 0, LineCount() - 1);
    const int x = std::max(0, point.x() - kMarginWidth);
    const int column = firstColumn_ + (x + charWidth_ / 2) / charWidth_;
    return {CharAtColumn(Reader().LineText(line), column, copied_.tabSize), line};
}

// Updates from the buffer

void CCrystalTextView::UpdateView(core::ITextBufferView*, const void*, std::uint32_t hints,
                                  int line) {
    if (hints & core::kUpdateReset) {
        ResetView();
        return;
    }
    const int linesBefore = knownLineCount_;
    knownLineCount_ = Reader().LineCount();
    if (hints & (core::kUpdateHorzRange | core::kUpdateVertRange)) {
        ForgetWidthsFrom(line, linesBefore);
    }
    selection_.SetCaret(Motion().Clamp(selection_.Caret()));
    selection_.Select(Motion().Clamp(selection_.Start()), Motion().Clamp(selection_.End()));
    if (hints & (core::kUpdateVertRange | core::kUpdateHorzRange)) {
        topLine_ = std::min(topLine_, MaxTopLine());
        UpdateScrollRanges();
    }
    if (hints & core::kUpdateSingleLine) {
        RedrawLines(line, line);
    } else {
        RedrawLines(line, LineCount() + GetScreenLines());
    }
}

void CCrystalTextView::RedrawLines(int first, int last) {
    const int rows = (viewport()->height() + lineHeight_ - 1) / lineHeight_;
    if (last < topLine_ || first >= topLine_ + rows) return;
    const int firstRow = std::max(0, first - topLine_);
    const int lastRow = std::min(rows - 1, last - topLine_);
    viewport()->update(0, firstRow * lineHeight_, viewport()->width(),
                       (lastRow - firstRow + 1) * lineHeight_);
}

void CCrystalTextView::Invalidate() {
    viewport()->update();
}

// Caret and selection

void CCrystalTextView::CaretMoved() {
    emit CaretStatusChanged(CaretStatusText());
}

QString CCrystalTextView::CaretStatusText() const {
    const core::TextPos caret = selection_.Caret();
    return QStringLiteral("Ln %1, Col %2").arg(caret.line + 1).arg(caret.ch + 1);
}

void CCrystalTextView::SetCursorPos(core::TextPos pos) {
    selection_.SetCaret(Motion().Clamp(pos));
    viewport()->update();
    CaretMoved();
}

void CCrystalTextView::SetSelection(core::TextPos start, core::TextPos end) {
    selection_.Select(Motion().Clamp(start), Motion().Clamp(end));
    viewport()->update();
    // What depends on the selection (Copy, Cut) follows it.
    CaretMoved();
}

void CCrystalTextView::SetAnchor(core::TextPos pos) {
    selection_.SetAnchor(Motion().Clamp(pos));
}

void CCrystalTextView::SelectRange(core::TextPos start, core::TextPos end) {
    selection_.SetAnchor(Motion().Clamp(start));
    selection_.ExtendTo(Motion().Clamp(end));
    EnsureVisible(selection_.Caret());
    viewport()->update();
    CaretMoved();
}

void CCrystalTextView::SelectAll() {
    SelectRange({}, Motion().DocumentEnd());
    SelectionCompleted();
}

QString CCrystalTextView::SelectedText() const {
    if (!buffer_ || selection_.IsEmpty()) return {};
    return QString::fromStdU16String(buffer_->CopyRange(selection_.Start(), selection_.End()));
}

void CCrystalTextView::SelectionCompleted() {
    PublishPrimarySelection();
    if (options_.AutoCopy && HasSelection()) CopySelectionToClipboard();
}

// Selected text is offered for a middle-click paste elsewhere, as X11 and
// Wayland programs do; an empty selection leaves the last offer standing.
void CCrystalTextView::PublishPrimarySelection() {
    QClipboard* clipboard = QApplication::clipboard();
    if (!HasSelection() || !clipboard->supportsSelection()) return;
    clipboard->setText(SelectedText(), QClipboard::Selection);
}

void CCrystalTextView::CopySelectionToClipboard() {
    if (HasSelection()) QApplication::clipboard()->setText(SelectedText());
}

void CCrystalTextView::MoveCaret(core::TextPos pos, bool extend) {
    if (extend) {
        selection_.ExtendTo(pos);
        PublishPrimarySelection();
    } else {
        selection_.CollapseTo(pos);
    }
    EnsureVisible(pos);
    viewport()->update();
    CaretMoved();
}

void CCrystalTextView::GoToEnd() {
    MoveCaret(Motion().DocumentEnd(), false);
}

void CCrystalTextView::GoToPosition(int ch, int line) {
    const int clampedLine = std::clamp(line, 0, LineCount() - 1);
    MoveCaret(Motion().Clamp({ch, clampedLine}), false);
}

void CCrystalTextView::PostGoToEnd() {
    QTimer::singleShot(0, this, [this] { GoToEnd(); });
}

void CCrystalTextView::PostGoToLine(int oneBasedLine) {
    QTimer::singleShot(0, this, [this, oneBasedLine] { GoToPosition(0, oneBasedLine - 1); });
}

void CCrystalTextView::ToggleBookmarkAt(int line) {
    if (!buffer_ || !buffer_->IsInitialized()) return;
    const bool marked = (buffer_->LineFlags(line) & core::kBookmarkFlag) != 0;
    buffer_->SetLineFlag(line, core::kBookmarkFlag, !marked, false);
}

// Painting

RowStyle CCrystalTextView::MakeRowStyle(int viewWidth) const {
    RowStyle style;
    style.font = font_;
    style.rawFont = rawFont_;
    style.charWidth = charWidth_;
    style.lineHeight = lineHeight_;
    style.ascent = ascent_;
    style.viewWidth = viewWidth;
    style.firstColumn = firstColumn_;
    style.tabSize = copied_.tabSize;
    style.invertSelection = copied_.invertSelection;
    style.marginColor = palette().color(QPalette::Button);
    style.defaultText = ToColorRef(palette().color(QPalette::Text));
    style.defaultBkg = ToColorRef(palette().color(QPalette::Base));
    style.darkPalette = IsDarkPalette(style.defaultBkg, style.defaultText);
    return style;
}

RowContent CCrystalTextView::MakeRowContent(int line, filters::LineColors& colors,
                                            filters::HighlightRunList& runs) const {
    const auto& reader = Reader();
    RowContent row;
    row.text = reader.LineText(line);
    const std::uint32_t flags = reader.LineFlags(line);
    row.redLine = (flags & core::kRedLineFlag) != 0;
    const int mark = MarkImageForFlags(flags);
    row.mark = mark >= 0 ? &MarkImage(mark, viewport()->devicePixelRatioF()) : nullptr;
    const std::uint32_t normalBkg = colors.bkgColor;
    if (colors_ && !row.text.empty()) {
        colors_->GetLineColors(row.text, filters::ColorizeMode::Drawing, colors, runs);
        const auto highlight = colors_->Options();
        colors.bkgColor = filters::FinalLineBackground(highlight, runs, colors.bkgColor, normalBkg);
        row.blankBkg = filters::RowBlankColor(highlight, colors.bkgColor, normalBkg);
    } else {
        row.blankBkg = normalBkg;
    }
    row.runs = &runs;
    row.textColor = colors.textColor;
    row.lineBkg = colors.bkgColor;
    const int length = static_cast<int>(row.text.size());
    const core::TextPos start = selection_.Start();
    const core::TextPos end = selection_.End();
    row.selStart = start.line < line ? 0 : (start.line == line ? start.ch : length);
    row.selEnd = end.line > line ? length : (end.line == line ? end.ch : 0);
    row.endSelected = selection_.Contains({length, line});
    return row;
}

void CCrystalTextView::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    painter.setFont(font_);
    const RowStyle style = MakeRowStyle(viewport()->width());
    CRowPainter rows(painter, style);
    const QRect dirty = event->rect();
    const int firstRow = dirty.top() / lineHeight_;
    const int lastRow = dirty.bottom() / lineHeight_;
    const int lineCount = Reader().LineCount();
    filters::HighlightRunList runs;
    for (int row = firstRow; row <= lastRow; ++row) {
        const int line = topLine_ + row;
        const int top = row * lineHeight_;
        if (line >= lineCount) {
            rows.PaintPastEnd(top);
            continue;
        }
        runs.clear();
        filters::LineColors colors{style.defaultText, style.defaultBkg};
        rows.PaintLine(top, MakeRowContent(line, colors, runs));
    }
    PaintCaret(painter);
}

void CCrystalTextView::PaintCaret(QPainter& painter) {
    if (!hasFocus()) return;
    const core::TextPos caret = selection_.Caret();
    if (caret.line < topLine_ || caret.line > topLine_ + GetScreenLines()) return;
    const int column = ColumnOfChar(Reader().LineText(caret.line), caret.ch, copied_.tabSize);
    if (column < firstColumn_) return;
    const int x = kMarginWidth + (column - firstColumn_) * charWidth_;
    painter.fillRect(x, (caret.line - topLine_) * lineHeight_, 2, lineHeight_,
                     palette().color(QPalette::Text));
}

void CCrystalTextView::focusInEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void CCrystalTextView::focusOutEvent(QFocusEvent* event) {
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

}  // namespace view
