#include "view/TarvikView.h"

#include <QContextMenuEvent>
#include <QDialog>
#include <QMenu>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

#include "core/DocCommandIds.h"
#include "core/RedLines.h"
#include "core/TarvikDoc.h"
#include "view/FontMapping.h"
#include "view/GoToLineDialog.h"
#include "view/HighlightNavigator.h"
#include "view/PageSetup.h"
#include "view/ViewCommands.h"
#include "view/ViewPrinter.h"

namespace view {

namespace {

bool InRange(int id, int first, int count) {
    return id >= first && id < first + count;
}

}  // namespace

CTarvikView::CTarvikView(const settings::Options& options, QWidget* parent)
    : CCrystalEditView(options, parent) {
    CreateActions();
}

CTarvikView::~CTarvikView() = default;

void CTarvikView::AttachDocument(core::CTarvikDoc* doc) {
    doc_ = doc;
    AttachBuffer(doc ? &doc->Buffer() : nullptr);
}

void CTarvikView::AddAction(int commandId, const QString& text, const QKeySequence& shortcut,
                            const QKeySequence& alternate) {
    auto* action = new QAction(text, this);
    action->setShortcuts(alternate.isEmpty() ? QList<QKeySequence>{shortcut}
                                             : QList<QKeySequence>{shortcut, alternate});
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, [this, commandId] { OnCommand(commandId); });
    addAction(action);
    actions_.insert(commandId, action);
}

void CTarvikView::LeaveShortcutsToHost() {
    for (QAction* action : std::as_const(actions_)) action->setShortcuts({});
}

void CTarvikView::CreateActions() {
    for (const ViewCommand& command : ViewCommands()) {
        AddAction(command.id, command.text, command.shortcut, command.alternate);
    }
}

// Commands

bool CTarvikView::OnCommand(int commandId) {
    if (!IsCommandEnabled(commandId)) return false;
    return RunMarkCommand(commandId) || RunEditCommand(commandId);
}

bool CTarvikView::RunMarkCommand(int commandId) {
    if (InRange(commandId, kCmdToggleNumbered0, core::kNumberedBookmarkCount)) {
        ToggleNumberedBookmark(commandId - kCmdToggleNumbered0);
        return true;
    }
    if (InRange(commandId, kCmdJumpNumbered0, core::kNumberedBookmarkCount)) {
        JumpToNumberedBookmark(commandId - kCmdJumpNumbered0);
        return true;
    }
    switch (commandId) {
        case kCmdNextHighlight:
            NextHighlight();
            return true;
        case kCmdPreviousHighlight:
            PreviousHighlight();
            return true;
        case kCmdNextRedLine:
            NextRedLine();
            return true;
        case kCmdPreviousRedLine:
            PreviousRedLine();
            return true;
        case kCmdClearRedLines:
            ClearRedLines();
            return true;
        case kCmdGoToLine:
            ShowGoToLineDialog();
            return true;
        case kCmdGoToEndMenu:
            PostGoToEnd();
            return true;
        case kCmdGoToEnd:
            GoToEnd();
            return true;
        case kCmdToggleBookmark:
            ToggleBookmark();
            return true;
        case kCmdNextBookmark:
            NextBookmark();
            return true;
        case kCmdPreviousBookmark:
            PreviousBookmark();
            return true;
        case kCmdClearBookmarks:
            ClearBookmarks();
            return true;
        case kCmdClearNumbered:
            ClearNumberedBookmarks();
            return true;
        default:
            return false;
    }
}

bool CTarvikView::RunEditCommand(int commandId) {
    if (!IsCommandEnabled(commandId)) return false;
    switch (commandId) {
        case kCmdEditCut:
            Cut();
            return true;
        case kCmdEditCopy:
            Copy();
            return true;
        case kCmdEditPaste:
            Paste();
            return true;
        case kCmdEditClear:
            DeleteSelectionOrNext();
            return true;
        case kCmdEditSelectAll:
            SelectAll();
            return true;
        case kCmdEditUndo:
            Undo();
            return true;
        case kCmdEditRedo:
            Redo();
            return true;
        case kCmdEditFind:
            ShowFindDialog();
            return true;
        case kCmdEditReplace:
            ShowReplaceDialog();
            return true;
        case kCmdEditRepeat:
            if (!RepeatFind()) ShowFindDialog();
            return true;
        case kCmdEditRepeatBackward:
            if (!RepeatFind(true)) ShowFindDialog();
            return true;
        case kCmdFilePrint:
            Print();
            return true;
        case kCmdFilePrintPreview:
            PrintPreview();
            return true;
        case core::kCmdClearAll:
        case core::kCmdReload:
        case core::kCmdBrowseFolder:
            return doc_ && doc_->OnCommand(commandId);
        default:
            return false;
    }
}

bool CTarvikView::IsCommandEnabled(int commandId) const {
    switch (commandId) {
        case kCmdNextHighlight:
        case kCmdPreviousHighlight:
            return ColorProvider() && ColorProvider()->HasHighlightFilters();
        case kCmdNextBookmark:
        case kCmdPreviousBookmark:
            return HasBookmark();
        case kCmdEditCut:
            return CanEdit() && HasSelection();
        case kCmdEditCopy:
            return HasSelection();
        case kCmdEditPaste:
        case kCmdEditClear:
            return CanEdit();
        case kCmdEditUndo:
            return CanUndo();
        case kCmdEditRedo:
            return CanRedo();
        case core::kCmdClearAll:
        case core::kCmdReload:
        case core::kCmdBrowseFolder:
            return doc_ && doc_->IsCommandEnabled(commandId);
        default:
            return true;
    }
}

// Highlights

filters::HighlightRunList CTarvikView::NavigationRuns(int line) const {
    filters::HighlightRunList runs;
    const auto text = Reader().LineText(line);
    if (!ColorProvider() || text.empty()) return runs;
    filters::LineColors colors;
    ColorProvider()->GetLineColors(text, filters::ColorizeMode::Navigation, colors, runs);
    return runs;
}

bool CTarvikView::SelectHit(bool found, int line, int start, int end) {
    if (!found) return false;
    SelectRange({start, line}, {end, line});
    SelectionCompleted();
    return true;
}

bool CTarvikView::NextHighlight() {
    if (!IsCommandEnabled(kCmdNextHighlight)) return false;
    const auto hit = FindNextHighlight(LineCount(), GetCursorPos(),
                                       [this](int line) { return NavigationRuns(line); });
    return hit && SelectHit(true, hit->line, hit->start, hit->end);
}

bool CTarvikView::PreviousHighlight() {
    if (!IsCommandEnabled(kCmdPreviousHighlight)) return false;
    const auto hit = FindPreviousHighlight(LineCount(), GetCursorPos(),
                                           [this](int line) { return NavigationRuns(line); });
    return hit && SelectHit(true, hit->line, hit->start, hit->end);
}

// Red lines, bookmarks, lines

void CTarvikView::GoToLineStart(int line) {
    GoToPosition(0, line);
}

bool CTarvikView::NextRedLine() {
    if (!Buffer()) return false;
    const int line = Buffer()->NextFlaggedLine(GetCursorPos().line, core::kRedLineFlag);
    if (line < 0) return false;
    GoToLineStart(line);
    return true;
}

bool CTarvikView::PreviousRedLine() {
    if (!Buffer()) return false;
    const int line = Buffer()->PrevFlaggedLine(GetCursorPos().line, core::kRedLineFlag);
    if (line < 0) return false;
    GoToLineStart(line);
    return true;
}

void CTarvikView::ClearRedLines() {
    if (Buffer()) core::KeepNewestRedLines(*Buffer(), 0);
}

void CTarvikView::GoToLineNumber(int oneBasedLine) {
    GoToLineStart(oneBasedLine - 1);
}

void CTarvikView::ShowGoToLineDialog() {
    CGoToLineDialog dialog(LineCount(), lastGoToLine_, this);
    if (dialog.exec() != QDialog::Accepted) return;
    lastGoToLine_ = dialog.Line();
    GoToLineNumber(lastGoToLine_);
}

void CTarvikView::ToggleBookmark() {
    ToggleBookmarkAt(GetCursorPos().line);
}

bool CTarvikView::HasBookmark() const {
    return Buffer() && Buffer()->FindLineWithFlag(core::kBookmarkFlag) >= 0;
}

bool CTarvikView::NextBookmark() {
    if (!Buffer()) return false;
    const int line = Buffer()->NextFlaggedLine(GetCursorPos().line, core::kBookmarkFlag);
    if (line < 0) return false;
    GoToLineStart(line);
    return true;
}

bool CTarvikView::PreviousBookmark() {
    if (!Buffer()) return false;
    const int line = Buffer()->PrevFlaggedLine(GetCursorPos().line, core::kBookmarkFlag);
    if (line < 0) return false;
    GoToLineStart(line);
    return true;
}

void CTarvikView::ClearBookmarks() {
    if (!Buffer()) return;
    for (int line = 0; line < Buffer()->LineCount(); ++line) {
        if (Buffer()->LineFlags(line) & core::kBookmarkFlag) {
            Buffer()->SetLineFlag(line, core::kBookmarkFlag, false, false);
        }
    }
}

void CTarvikView::ToggleNumberedBookmark(int n) {
    if (!Buffer() || n < 0 || n >= core::kNumberedBookmarkCount) return;
    const int line = GetCursorPos().line;
    const std::uint32_t flag = core::NumberedBookmarkFlag(n);
    const bool has = (Buffer()->LineFlags(line) & flag) != 0;
    Buffer()->SetLineFlag(line, flag, !has, true);
}

bool CTarvikView::JumpToNumberedBookmark(int n) {
    if (!Buffer() || n < 0 || n >= core::kNumberedBookmarkCount) return false;
    const int line = Buffer()->FindLineWithFlag(core::NumberedBookmarkFlag(n));
    if (line < 0) return false;
    GoToLineStart(line);
    return true;
}

void CTarvikView::ClearNumberedBookmarks() {
    if (!Buffer()) return;
    for (int n = 0; n < core::kNumberedBookmarkCount; ++n) {
        const std::uint32_t flag = core::NumberedBookmarkFlag(n);
        const int line = Buffer()->FindLineWithFlag(flag);
        if (line >= 0) Buffer()->SetLineFlag(line, flag, false, false);
    }
}

// Printing

filters::HighlightRunList CTarvikView::PrintColors(int line, std::uint32_t& text,
                                                   std::uint32_t& bkg) const {
    filters::HighlightRunList runs;
    const auto lineText = Reader().LineText(line);
    if (!ColorProvider() || lineText.empty()) return runs;
    filters::LineColors colors{text, bkg};
    ColorProvider()->GetLineColors(lineText, filters::ColorizeMode::Drawing, colors, runs);
    text = colors.textColor;
    bkg = colors.bkgColor;
    return runs;
}

CViewPrinter CTarvikView::MakePrintJob() const {
    CViewPrinter job(Reader(), [this](int line, std::uint32_t& text, std::uint32_t& bkg) {
        return PrintColors(line, text, bkg);
    });
    if (HasSelection()) job.SetLineRange(SelectionStart().line, SelectionEnd().line);
    // Paper takes the stored size, not the one scaled for this screen.
    job.SetFont(FontFromLogFont(Options().UFont));
    job.SetTabSize(Copied().tabSize);
    job.SetPageSetup(PageSetup::Load());
    if (ColorProvider()) {
        const auto highlight = ColorProvider()->Options();
        job.SetHighlightLine(highlight.HighlightLine, highlight.HLLineBkgColor);
    }
    return job;
}

void CTarvikView::Print() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    MakePrintJob().Print(printer);
}

void CTarvikView::PrintPreview() {
    QPrinter printer(QPrinter::HighResolution);
    const CViewPrinter job = MakePrintJob();
    QPrintPreviewDialog preview(&printer, this);
    job.ConnectPreview(preview);
    preview.exec();
}

// Popup menu

std::unique_ptr<QMenu> CTarvikView::CreateEditPopup() {
    auto menu = std::make_unique<QMenu>(this);
    menu->setObjectName(QStringLiteral("EDIT POPUP"));
    // The menu's own items: their enabled state is the state now, while the
    // view's shared actions (and so Ctrl+C, Ctrl+X) keep deciding when they
    // are triggered.
    const auto addCommand = [&](int id, const QString& text, const QKeySequence& key) {
        QAction* action = menu->addAction(text, [this, id] { OnCommand(id); });
        action->setShortcut(key);
        action->setEnabled(IsCommandEnabled(id));
    };
    for (const int id :
         {kCmdEditCut, kCmdEditCopy, kCmdEditPaste, kCmdEditClear, kCmdEditSelectAll}) {
        const ViewCommand* command = FindViewCommand(id);
        addCommand(id, command->text, command->shortcut);
    }
    menu->addSeparator();
    addCommand(core::kCmdClearAll, tr("C&lear All"), Qt::CTRL | Qt::Key_L);
    addCommand(core::kCmdReload, tr("Relo&ad"), Qt::CTRL | Qt::Key_R);
    addCommand(core::kCmdBrowseFolder, tr("&Browse"), Qt::CTRL | Qt::Key_B);
    return menu;
}

void CTarvikView::contextMenuEvent(QContextMenuEvent* event) {
    const QPoint where = event->reason() == QContextMenuEvent::Keyboard
                             ? viewport()->mapToGlobal(viewport()->rect().center())
                             : event->globalPos();
    auto menu = CreateEditPopup();
    menu->exec(where);
}

}  // namespace view
