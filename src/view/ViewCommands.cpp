#include "view/ViewCommands.h"

#include <QCoreApplication>
#include <algorithm>

#include "core/LineFlagBits.h"
#include "view/ViewCommandIds.h"

namespace view {

namespace {

QString Text(const char* text) {
    return QCoreApplication::translate("view::CTarvikView", text);
}

std::vector<ViewCommand> BuildTable() {
    std::vector<ViewCommand> table = {
        {kCmdEditUndo, Text("&Undo"), QKeySequence::Undo},
        {kCmdEditRedo, Text("&Redo"), Qt::CTRL | Qt::Key_Y, Qt::CTRL | Qt::SHIFT | Qt::Key_Z},
        {kCmdEditCut, Text("Cu&t"), QKeySequence::Cut},
        {kCmdEditCopy, Text("&Copy"), QKeySequence::Copy},
        {kCmdEditPaste, Text("&Paste"), QKeySequence::Paste},
        {kCmdEditClear, Text("&Delete"), {}},
        {kCmdEditSelectAll, Text("Select &All"), QKeySequence::SelectAll},
        {kCmdEditFind, Text("&Find..."), QKeySequence::Find},
        {kCmdEditRepeat, Text("Find &Next"), Qt::Key_F3},
        {kCmdEditRepeatBackward, Text("Find Pre&vious"), Qt::SHIFT | Qt::Key_F3},
        {kCmdEditReplace, Text("R&eplace..."), Qt::CTRL | Qt::Key_H},
        {kCmdNextHighlight, Text("Next H&ighlight"), Qt::Key_F4},
        {kCmdPreviousHighlight, Text("Previous &Highlight"), Qt::SHIFT | Qt::Key_F4},
        {kCmdNextRedLine, Text("&Next Red Line"), Qt::Key_F12},
        {kCmdPreviousRedLine, Text("&Previous Red Line"), Qt::SHIFT | Qt::Key_F12},
        {kCmdClearRedLines, Text("Clear All &Red Lines"), Qt::CTRL | Qt::SHIFT | Qt::Key_F12},
        {kCmdGoToLine, Text("&Go to Line"), Qt::CTRL | Qt::Key_M},
        {kCmdGoToEndMenu, Text("Go to End"), Qt::CTRL | Qt::Key_End},
        {kCmdToggleBookmark, Text("Toggle &Bookmark"), Qt::CTRL | Qt::Key_F2},
        {kCmdNextBookmark, Text("Ne&xt Bookmark"), Qt::Key_F2},
        {kCmdPreviousBookmark, Text("Previous Boo&kmark"), Qt::SHIFT | Qt::Key_F2},
        {kCmdClearBookmarks, Text("Clear All Book&marks"), Qt::CTRL | Qt::SHIFT | Qt::Key_F2},
        {kCmdClearNumbered, Text("Clear &All Numeric Bookmarks"), {}},
        // No shortcut: Ctrl+P pauses monitoring.
        {kCmdFilePrint, Text("&Print..."), {}},
        {kCmdFilePrintPreview, Text("Print Pre&view"), {}},
    };
    for (int n = 0; n < core::kNumberedBookmarkCount; ++n) {
        const auto digit = static_cast<Qt::Key>(Qt::Key_0 + n);
        const QString text = Text("Bookmark &%1").arg(n);
        table.push_back({kCmdToggleNumbered0 + n, text, Qt::CTRL | digit});
        table.push_back({kCmdJumpNumbered0 + n, text, Qt::ALT | digit});
    }
    return table;
}

}  // namespace

const std::vector<ViewCommand>& ViewCommands() {
    static const std::vector<ViewCommand> table = BuildTable();
    return table;
}

const ViewCommand* FindViewCommand(int id) {
    const std::vector<ViewCommand>& table = ViewCommands();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [id](const ViewCommand& row) { return row.id == id; });
    return found == table.end() ? nullptr : &*found;
}

}  // namespace view
