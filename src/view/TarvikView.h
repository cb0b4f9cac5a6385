#pragma once
// The log view of one document: next and previous highlight, red lines,
// bookmarks and numbered bookmarks, go to line and go to end, the edit
// popup menu and printing, on top of the editing view.

#include <QAction>
#include <QMap>
#include <memory>

#include "view/CrystalEditView.h"
#include "view/ViewCommandIds.h"
#include "view/ViewPrinter.h"

namespace core {
class CTarvikDoc;
}

namespace view {

class CTarvikView : public CCrystalEditView {
    Q_OBJECT
public:
    explicit CTarvikView(const settings::Options& options, QWidget* parent = nullptr);
    ~CTarvikView() override;

    // Shows doc's buffer; document commands of the popup menu go to doc.
    void AttachDocument(core::CTarvikDoc* doc);
    core::CTarvikDoc* Document() const { return doc_; }

    // Runs a command by its identifier; false when it is not the view's.
    bool OnCommand(int commandId);
    bool IsCommandEnabled(int commandId) const;
    // The view's commands as actions with their shortcuts, for menus.
    QAction* Action(int commandId) const { return actions_.value(commandId, nullptr); }
    // The window holding the view takes the view's shortcuts for its menus,
    // so that they work whatever widget has the focus; the view's own
    // actions then carry none (two owners of one key would cancel out).
    void LeaveShortcutsToHost();

    bool NextHighlight();
    bool PreviousHighlight();
    bool NextRedLine();
    bool PreviousRedLine();
    void ClearRedLines();
    // Caret to the start of a 1-based line number clamped into the text.
    void GoToLineNumber(int oneBasedLine);
    int LastGoToLine() const { return lastGoToLine_; }
    void ToggleBookmark();
    bool NextBookmark();
    bool PreviousBookmark();
    void ClearBookmarks();
    void ToggleNumberedBookmark(int n);
    bool JumpToNumberedBookmark(int n);
    void ClearNumberedBookmarks();
    bool HasBookmark() const;
    // Prints the selected lines, or every line without a selection; the
    // preview shows the same pages.
    void Print();
    void PrintPreview();
    // The job both run: the selected lines (all without a selection) in the
    // view's font, colours, tab size and whole-line background, with the
    // stored margins.
    CViewPrinter MakePrintJob() const;
    // The colours of a line as printed: runs, with the line colours.
    filters::HighlightRunList PrintColors(int line, std::uint32_t& text, std::uint32_t& bkg) const;
    // The popup menu "EDIT POPUP".
    std::unique_ptr<QMenu> CreateEditPopup();

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void CreateActions();
    void AddAction(int commandId, const QString& text, const QKeySequence& shortcut = {},
                   const QKeySequence& alternate = {});
    void GoToLineStart(int line);
    void ShowGoToLineDialog();
    filters::HighlightRunList NavigationRuns(int line) const;
    bool SelectHit(bool found, int line, int start, int end);
    bool RunEditCommand(int commandId);
    bool RunMarkCommand(int commandId);

    core::CTarvikDoc* doc_ = nullptr;
    int lastGoToLine_ = 1;
    QMap<int, QAction*> actions_;
};

}  // namespace view
