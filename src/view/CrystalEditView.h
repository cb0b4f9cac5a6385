#pragma once
// The editing side of the log view: typing, Cut, Copy, Paste, Delete, Undo
// and Redo through the buffer, and the Find and Replace dialogs. Edits change
// only what is shown; the document never writes them back to the file.

#include <QPointer>

#include "view/CrystalTextView.h"
#include "view/SearchSettings.h"

namespace view {

class CFindDialog;
class CReplaceDialog;

class CCrystalEditView : public CCrystalTextView {
    Q_OBJECT
public:
    explicit CCrystalEditView(const settings::Options& options, QWidget* parent = nullptr);
    ~CCrystalEditView() override;

    bool CanEdit() const;
    bool CanUndo() const;
    bool CanRedo() const;
    void Cut();
    void Copy();
    void Paste();
    // Deletes the selection, or the character after the caret.
    void DeleteSelectionOrNext();
    void Undo();
    void Redo();
    // Replaces the selection with text (the selection may be empty).
    bool InsertText(const QString& text);

    // Selects the next match of request from the caret; false when none.
    bool FindNext(const FindRequest& request);
    // Replaces the selection when it is a match, then finds the next one.
    bool ReplaceNext(const ReplaceRequest& request);
    // Replaces every match; returns how many.
    int ReplaceAll(const ReplaceRequest& request);
    // Find Next (F3) with the last request.
    // The last find again; reversed, it searches the other way once and the
    // next plain repeat keeps the original direction.
    bool RepeatFind(bool reversed = false);
    void ShowFindDialog();
    void ShowReplaceDialog();

protected:
    bool HandleEditKey(QKeyEvent* event) override;

private:
    bool DeleteSelection();
    bool SelectionMatches(const FindRequest& request) const;
    void ApplyUndoCaret(core::TextPos caret);

    FindRequest lastFind_;
    bool haveLastFind_ = false;
    QPointer<CFindDialog> findDialog_;
    QPointer<CReplaceDialog> replaceDialog_;
};

}  // namespace view
