#include "app/ui/FrameMenus.h"

#include <QMenu>
#include <QMenuBar>
#include <initializer_list>

#include "app/TarvikApp.h"
#include "app/ui/CaptureCommands.h"
#include "app/ui/CommandTable.h"
#include "app/ui/FrameCommandIds.h"
#include "core/DocCommandIds.h"
#include "core/LineFlagBits.h"
#include "view/ViewCommandIds.h"

namespace app_ui {

namespace {

QMenu* AddMenu(QMenuBar& bar, CCommandTable& commands, const QString& title,
               std::initializer_list<int> ids) {
    QMenu* menu = bar.addMenu(title);
    for (const int id : ids) {
        if (id == 0) {
            menu->addSeparator();
        } else if (QAction* action = commands.Action(id)) {
            menu->addAction(action);
        }
    }
    QObject::connect(menu, &QMenu::aboutToShow, menu, [&commands] { commands.UpdateStates(); });
    return menu;
}

}  // namespace

QMenu* BuildMainMenus(QMenuBar& bar, CCommandTable& commands) {
    QMenu* file = AddMenu(bar, commands, QObject::tr("&File"),
                          {kCmdFileOpen, kCmdOpenJournal, kCmdOpenCommand, kCmdOpenRemote,
                           kCmdFileClose, kCmdCloseAllDocuments, 0, core::kCmdSaveAs, kCmdSaveAllAs,
                           core::kCmdOpenInEditor, core::kCmdBrowseFolder, 0, view::kCmdFilePrint,
                           view::kCmdFilePrintPreview, 0, kCmdMinimizeToTray, 0, kCmdAppExit});
    QMenu* edit = AddMenu(bar, commands, QObject::tr("&Edit"),
                          {view::kCmdEditUndo,
                           view::kCmdEditRedo,
                           0,
                           view::kCmdEditCut,
                           view::kCmdEditCopy,
                           view::kCmdEditPaste,
                           view::kCmdEditClear,
                           view::kCmdEditSelectAll,
                           0,
                           view::kCmdEditFind,
                           view::kCmdEditRepeat,
                           view::kCmdEditReplace,
                           0,
                           view::kCmdNextHighlight,
                           view::kCmdPreviousHighlight,
                           view::kCmdNextRedLine,
                           view::kCmdPreviousRedLine,
                           view::kCmdClearRedLines,
                           0,
                           view::kCmdGoToLine,
                           view::kCmdGoToEndMenu,
                           0,
                           view::kCmdToggleBookmark,
                           view::kCmdNextBookmark,
                           view::kCmdPreviousBookmark,
                           view::kCmdClearBookmarks});
    QMenu* numbered = edit->addMenu(QObject::tr("N&umbered Bookmarks"));
    QMenu* toggle = numbered->addMenu(QObject::tr("&Toggle"));
    QMenu* jump = numbered->addMenu(QObject::tr("&Jump"));
    for (int n = 0; n < core::kNumberedBookmarkCount; ++n) {
        toggle->addAction(commands.Action(view::kCmdToggleNumbered0 + n));
        jump->addAction(commands.Action(view::kCmdJumpNumbered0 + n));
    }
    numbered->addAction(commands.Action(view::kCmdClearNumbered));
    QMenu* viewMenu =
        AddMenu(bar, commands, QObject::tr("&View"), {kCmdViewToolbar, kCmdViewStatusBar});
    QMenu* tabBar = viewMenu->addMenu(QObject::tr("Tab &Bar"));
    for (const int id : {kCmdViewTabBar, kCmdTabBarTop, kCmdTabBarBottom}) {
        tabBar->addAction(commands.Action(id));
    }
    viewMenu->addSeparator();
    viewMenu->addAction(commands.Action(kCmdAlwaysOnTop));
    viewMenu->addAction(commands.Action(kCmdFont));
    viewMenu->addSeparator();
    for (int id = kCmdViewMarkFirst; id <= kCmdViewClearMark; ++id) {
        if (QAction* mark = commands.Action(id)) viewMenu->addAction(mark);
    }
    AddMenu(bar, commands, QObject::tr("&Monitor"),
            {core::kCmdStartMonitoring, core::kCmdPauseMonitoring, app::kCmdStartAll,
             app::kCmdPauseAll, 0, core::kCmdReload, app::kCmdReloadAllDocuments,
             core::kCmdClearAll, app::kCmdClearAllWindows, core::kCmdTruncateLog, 0,
             app::kCmdGoToEndOfAll, 0, kCmdRefreshRate, kCmdBufferSize});
    AddMenu(bar, commands, QObject::tr("F&ilters"),
            {kCmdHighlightFilters, 0, kCmdInExFilters, app::kCmdToggleInExFilters});
    AddMenu(bar, commands, QObject::tr("&OutputDebugString"),
            {app::kCmdCaptureOutput, 0, app::kCmdOdsSequenceNumber, app::kCmdOdsProcessId,
             app::kCmdOdsTimestamp, 0, kCmdOdsProcesses});
    AddMenu(bar, commands, QObject::tr("&Tools"),
            {kCmdEmailSettings, kCmdConfirmEmails, kCmdStopUpdating, 0, kCmdOptions,
             kCmdDefaultEditor});
    AddMenu(bar, commands, QObject::tr("&Window"),
            {kCmdWindowCascade, kCmdWindowTileHorizontal, kCmdWindowTileVertical, kCmdTileFullWidth,
             kCmdTileFullHeight, 0, kCmdWindowNext, kCmdWindowPrevious});
    AddMenu(bar, commands, QObject::tr("&Help"), {kCmdHelpTopics, 0, kCmdAppAbout});
    return file;
}

}  // namespace app_ui
