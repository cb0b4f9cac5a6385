// The keyboard, mouse and wheel handling of CCrystalTextView.
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTimerEvent>
#include <QWheelEvent>
#include <algorithm>

#include "view/CrystalTextView.h"
#include "view/WordSelection.h"

namespace view {

namespace {

constexpr int kAutoScrollMs = 100;

}  // namespace

bool CCrystalTextView::HandleMovementKey(QKeyEvent* event) {
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const CaretMotion motion = Motion();
    const core::TextPos caret = selection_.Caret();
    const int page = std::max(1, GetScreenLines() - 1);
    core::TextPos target = caret;
    switch (event->key()) {
        case Qt::Key_Left:
            target = ctrl ? motion.WordLeft(caret) : motion.Left(caret);
            break;
        case Qt::Key_Right:
            target = ctrl ? motion.WordRight(caret) : motion.Right(caret);
            break;
        case Qt::Key_Up:
            if (ctrl) return false;
            target = motion.Vertical(caret, -1);
            break;
        case Qt::Key_Down:
            if (ctrl) return false;
            target = motion.Vertical(caret, 1);
            break;
        case Qt::Key_Home:
            target = ctrl ? motion.DocumentStart() : motion.Home(caret);
            break;
        case Qt::Key_End:
            target = ctrl ? motion.DocumentEnd() : motion.End(caret);
            break;
        case Qt::Key_PageUp:
            target = ctrl ? motion.Vertical(caret, topLine_ - caret.line)
                          : motion.Vertical(caret, -page);
            if (!ctrl) ScrollTo(topLine_ - page, firstColumn_);
            break;
        case Qt::Key_PageDown:
            target = ctrl ? motion.Vertical(caret, topLine_ + page - caret.line)
                          : motion.Vertical(caret, page);
            if (!ctrl) ScrollTo(topLine_ + page, firstColumn_);
            break;
        default:
            return false;
    }
    MoveCaret(target, shift);
    return true;
}

// Ctrl+Up and Ctrl+Down scroll without moving the caret.
bool CCrystalTextView::HandleScrollKey(QKeyEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) return false;
    if (event->key() == Qt::Key_Up) {
        ScrollTo(topLine_ - 1, firstColumn_);
        return true;
    }
    if (event->key() == Qt::Key_Down) {
        ScrollTo(topLine_ + 1, firstColumn_);
        return true;
    }
    return false;
}

void CCrystalTextView::keyPressEvent(QKeyEvent* event) {
    if (HandleScrollKey(event) || HandleMovementKey(event) || HandleEditKey(event)) {
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CCrystalTextView::SelectLines(int fromLine, int toLine) {
    const int first = std::min(fromLine, toLine);
    const int last = std::max(fromLine, toLine);
    const core::TextPos start{0, first};
    const core::TextPos end =
        last + 1 < LineCount() ? core::TextPos{0, last + 1} : Motion().End({0, last});
    selection_.SetAnchor(start);
    selection_.ExtendTo(end);
    EnsureVisible(end);
    viewport()->update();
    CaretMoved();
}

void CCrystalTextView::SelectWordAt(core::TextPos pos, bool extend) {
    const BoundPairs bounds{options_.SpecialSelect, options_.LeftBounds, options_.RightBounds};
    const CharRange range = WordOrBoundRange(Reader().LineText(pos.line), pos.ch, bounds);
    if (extend) {
        const core::TextPos anchor = selection_.Anchor();
        const core::TextPos start{range.start, pos.line};
        const core::TextPos end{range.end, pos.line};
        selection_.ExtendTo(anchor <= start ? end : start);
    } else {
        selection_.SetAnchor({range.start, pos.line});
        selection_.ExtendTo({range.end, pos.line});
    }
    EnsureVisible(selection_.Caret());
    viewport()->update();
    CaretMoved();
}

void CCrystalTextView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    const core::TextPos pos = PositionAt(point);
    if (InMargin(point)) {
        if (ctrl) {
            SelectAll();
            return;
        }
        dragLineAnchor_ = shift ? selection_.Anchor().line : pos.line;
        SelectLines(dragLineAnchor_, pos.line);
        dragging_ = true;
        draggingLines_ = true;
        return;
    }
    draggingLines_ = false;
    if (ctrl) {
        SelectWordAt(pos, shift);
        return;
    }
    MoveCaret(pos, shift);
    dragging_ = true;
}

void CCrystalTextView::DragTo(const QPoint& point) {
    lastDragPoint_ = point;
    const core::TextPos pos = PositionAt(point);
    if (draggingLines_) {
        SelectLines(dragLineAnchor_, pos.line);
    } else {
        MoveCaret(pos, true);
    }
}

void CCrystalTextView::mouseMoveEvent(QMouseEvent* event) {
    if (!dragging_) return;
    const QPoint point = event->position().toPoint();
    DragTo(point);
    const bool outside = !viewport()->rect().contains(point);
    if (outside && !autoScroll_.isActive()) autoScroll_.start(kAutoScrollMs, this);
    if (!outside) autoScroll_.stop();
}

void CCrystalTextView::AutoScrollStep() {
    const QRect area = viewport()->rect();
    int top = topLine_;
    int column = firstColumn_;
    if (lastDragPoint_.y() < area.top()) --top;
    if (lastDragPoint_.y() > area.bottom()) ++top;
    if (lastDragPoint_.x() < area.left()) --column;
    if (lastDragPoint_.x() > area.right()) ++column;
    ScrollTo(top, column);
    DragTo(lastDragPoint_);
}

void CCrystalTextView::timerEvent(QTimerEvent* event) {
    if (event->timerId() == autoScroll_.timerId()) {
        AutoScrollStep();
        return;
    }
    QAbstractScrollArea::timerEvent(event);
}

void CCrystalTextView::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    autoScroll_.stop();
    if (dragging_) SelectionCompleted();
    dragging_ = false;
    draggingLines_ = false;
}

void CCrystalTextView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const QPoint point = event->position().toPoint();
    const core::TextPos pos = PositionAt(point);
    if (InMargin(point)) {
        ToggleBookmarkAt(pos.line);
        return;
    }
    SelectWordAt(pos, event->modifiers() & Qt::ShiftModifier);
    dragging_ = false;
    SelectionCompleted();
}

namespace {

constexpr int kAngleUnitsPerNotch = 120;

// Adds delta to what is left over on one axis and takes out the whole
// notches; a turn of the other way first drops what was left.
int TakeNotches(int& remainder, int delta) {
    if ((remainder < 0 && delta > 0) || (remainder > 0 && delta < 0)) remainder = 0;
    remainder += delta;
    const int notches = remainder / kAngleUnitsPerNotch;
    remainder -= notches * kAngleUnitsPerNotch;
    return notches;
}

}  // namespace

// A notch (120 units of angle, gathered from as many events as a fine wheel
// or a touchpad sends) scrolls the configured lines, or columns with Ctrl;
// the x axis and Shift scroll sideways by the configured columns.
void CCrystalTextView::wheelEvent(QWheelEvent* event) {
    event->accept();
    QPoint angle = event->angleDelta();
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    if ((modifiers & Qt::ShiftModifier) && angle.x() == 0) angle = QPoint(angle.y(), 0);
    const bool ctrl = modifiers & Qt::ControlModifier;
    // Ctrl turns the vertical wheel sideways; only one direction counts then.
    if (ctrl && angle.x() == 0) angle = QPoint(angle.y(), 0);
    const int across = TakeNotches(wheelRemainder_.rx(), angle.x());
    const int down = TakeNotches(wheelRemainder_.ry(), angle.y());
    if (across == 0 && down == 0) return;
    ScrollTo(topLine_ - down * copied_.wheelLines, firstColumn_ - across * copied_.wheelColumns);
}

}  // namespace view
