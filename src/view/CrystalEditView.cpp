#include "view/CrystalEditView.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

#include "view/FindDialog.h"
#include "view/ReplaceDialog.h"
#include "view/TextSearch.h"

namespace view {

CCrystalEditView::CCrystalEditView(const settings::Options& options, QWidget* parent)
    : CCrystalTextView(options, parent) {}

CCrystalEditView::~CCrystalEditView() = default;

bool CCrystalEditView::CanEdit() const {
    return Buffer() && Buffer()->IsInitialized() && !Buffer()->IsReadOnly();
}

bool CCrystalEditView::CanUndo() const {
    return CanEdit() && Buffer()->CanUndo();
}

bool CCrystalEditView::CanRedo() const {
    return CanEdit() && Buffer()->CanRedo();
}

bool CCrystalEditView::DeleteSelection() {
    if (!CanEdit() || !HasSelection()) return false;
    const core::TextPos start = SelectionStart();
    if (!Buffer()->DeleteRange(this, start, SelectionEnd())) return false;
    SetSelection(start, start);
    SetAnchor(start);
    SetCursorPos(start);
    return true;
}

bool CCrystalEditView::InsertText(const QString& text) {
    if (!CanEdit()) return false;
    Buffer()->BeginUndoGroup();
    DeleteSelection();
    core::TextPos end;
    const bool inserted = Buffer()->InsertTextAt(this, GetCursorPos(), text.toStdU16String(), end);
    Buffer()->FlushUndoGroup();
    if (!inserted) return false;
    SelectRange(end, end);
    return true;
}

void CCrystalEditView::Copy() {
    CopySelectionToClipboard();
}

void CCrystalEditView::Cut() {
    if (!CanEdit() || !HasSelection()) return;
    CopySelectionToClipboard();
    Buffer()->BeginUndoGroup();
    DeleteSelection();
    Buffer()->FlushUndoGroup();
}

void CCrystalEditView::Paste() {
    const QString text = QApplication::clipboard()->text();
    if (!text.isEmpty()) InsertText(text);
}

void CCrystalEditView::DeleteSelectionOrNext() {
    if (!CanEdit()) return;
    Buffer()->BeginUndoGroup();
    if (!DeleteSelection()) {
        const core::TextPos caret = GetCursorPos();
        const core::TextPos next = Motion().Right(caret);
        if (caret < next) Buffer()->DeleteRange(this, caret, next);
    }
    Buffer()->FlushUndoGroup();
}

void CCrystalEditView::ApplyUndoCaret(core::TextPos caret) {
    SelectRange(caret, caret);
}

void CCrystalEditView::Undo() {
    core::TextPos caret;
    if (CanUndo() && Buffer()->Undo(caret)) ApplyUndoCaret(caret);
}

void CCrystalEditView::Redo() {
    core::TextPos caret;
    if (CanRedo() && Buffer()->Redo(caret)) ApplyUndoCaret(caret);
}

bool CCrystalEditView::HandleEditKey(QKeyEvent* event) {
    if (!CanEdit()) return false;
    switch (event->key()) {
        case Qt::Key_Delete:
            DeleteSelectionOrNext();
            return true;
        case Qt::Key_Backspace:
            if (!HasSelection()) {
                const core::TextPos caret = GetCursorPos();
                SelectRange(caret, Motion().Left(caret));
            }
            DeleteSelectionOrNext();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return InsertText(QStringLiteral("\r\n"));
        default:
            break;
    }
    const QString text = event->text();
    const bool printable = !text.isEmpty() && (text.at(0).isPrint() || text.at(0) == u'\t');
    const bool command = event->modifiers() & (Qt::ControlModifier | Qt::AltModifier);
    if (!printable || command) return false;
    return InsertText(text);
}

bool CCrystalEditView::FindNext(const FindRequest& request) {
    lastFind_ = request;
    haveLastFind_ = true;
    const core::TextPos from = request.down ? GetCursorPos() : SelectionStart();
    const auto match = FindText(Reader(), request, from);
    if (!match) return false;
    SelectRange(match->start, match->end);
    SelectionCompleted();
    return true;
}

bool CCrystalEditView::RepeatFind(bool reversed) {
    if (!haveLastFind_) return false;
    FindRequest request = lastFind_;
    if (reversed) request.down = !request.down;
    const bool found = FindNext(request);
    lastFind_.down = request.down != reversed;
    return found;
}

bool CCrystalEditView::SelectionMatches(const FindRequest& request) const {
    if (!HasSelection()) return false;
    FindRequest down = request;
    down.down = true;
    const auto match = FindText(Reader(), down, SelectionStart());
    return match && match->start == SelectionStart() && match->end == SelectionEnd();
}

bool CCrystalEditView::ReplaceNext(const ReplaceRequest& request) {
    if (CanEdit() && SelectionMatches(request.find)) InsertText(request.replaceWith);
    return FindNext(request.find);
}

int CCrystalEditView::ReplaceAll(const ReplaceRequest& request) {
    if (!CanEdit()) return 0;
    FindRequest down = request.find;
    down.down = true;
    int replaced = 0;
    core::TextPos from{};
    Buffer()->BeginUndoGroup();
    // Each search starts after the previous replacement, so a replacement
    // containing the phrase is never replaced again.
    while (auto match = FindText(Reader(), down, from)) {
        if (match->start < from) break;
        SetSelection(match->start, match->end);
        SetCursorPos(match->end);
        if (!InsertText(request.replaceWith)) break;
        from = GetCursorPos();
        ++replaced;
    }
    Buffer()->FlushUndoGroup();
    return replaced;
}

void CCrystalEditView::ShowFindDialog() {
    if (!findDialog_) {
        findDialog_ = new CFindDialog(this);
        connect(findDialog_, &CFindDialog::FindNext, this,
                [this](const FindRequest& request) { FindNext(request); });
    }
    if (HasSelection() && SelectionStart().line == SelectionEnd().line) {
        findDialog_->SetFindText(SelectedText());
    }
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
}

void CCrystalEditView::ShowReplaceDialog() {
    if (!replaceDialog_) {
        replaceDialog_ = new CReplaceDialog(this);
        connect(replaceDialog_, &CReplaceDialog::FindNext, this,
                [this](const FindRequest& request) { FindNext(request); });
        connect(replaceDialog_, &CReplaceDialog::Replace, this,
                [this](const ReplaceRequest& request) { ReplaceNext(request); });
        connect(replaceDialog_, &CReplaceDialog::ReplaceAll, this,
                [this](const ReplaceRequest& request) { ReplaceAll(request); });
    }
    if (HasSelection() && SelectionStart().line == SelectionEnd().line) {
        replaceDialog_->SetFindText(SelectedText());
    }
    replaceDialog_->show();
    replaceDialog_->raise();
    replaceDialog_->activateWindow();
}

}  // namespace view
