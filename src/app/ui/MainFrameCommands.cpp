// The main window's commands: one table row each, and the menus and toolbar
// built from the table.

#include "app/ui/MainFrame.h"

#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "app/HelpPages.h"
#include "app/TarvikApp.h"
#include "app/ui/CaptureCommands.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/DefaultEditorDialog.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/FrameMenus.h"
#include "app/ui/RecentFilesMenu.h"
#include "app/ui/TabStrip.h"
#include "app/ui/ToolBarIcons.h"
#include "app/ui/TrayIcon.h"
#include "core/DocCommandIds.h"
#include "core/TarvikDoc.h"
#include "export/ui/ExportCommands.h"
#include "view/TarvikView.h"
#include "view/ViewCommands.h"

namespace app_ui {

void CMainFrame::BuildCommands() {
    AddFileCommands();
    AddEditCommands();
    AddViewCommands();
    AddMonitorCommands();
    AddWindowCommands();
    commands_.Add(kCmdHighlightFilters, tr("&Highlight Filters..."), Qt::CTRL | Qt::Key_F5,
                  [this] { ShowHighlightFiltersDialog(); });
    commands_.Add(kCmdInExFilters, tr("&Include/Exclude Filters"), Qt::CTRL | Qt::Key_I,
                  [this] { ShowInExFiltersDialog(); });
    AddCaptureCommands(commands_, app_, this, [this] {
        for (CChildFrame* frame : ChildFrames()) {
            if (frame->Document().IsCaptureMode())
                frame->setWindowTitle(QString::fromStdU16String(frame->Document().GetTitle()));
        }
    });
    AddAppCommand(app::kCmdToggleInExFilters, tr("Enable &Include/Exclude Filters"),
                  Qt::CTRL | Qt::SHIFT | Qt::Key_I);
    commands_.Add(kCmdEmailSettings, tr("&Email Settings..."), Qt::CTRL | Qt::Key_J,
                  [this] { ShowMailSettingsDialog(); });
    commands_.Add(kCmdConfirmEmails, tr("&Confirm Emails..."), Qt::CTRL | Qt::Key_K,
                  [this] { ShowConfirmEmailsDialog(); });
    commands_
        .Add(kCmdStopUpdating, tr("Stop &Updating Notification..."), {},
             [this] { ShowStopUpdatingDialog(); })
        ->setStatusTip(tr("Sends a notification email if a file stops updating"));
    commands_.Add(kCmdOptions, tr("&Options..."), {}, [this] { ShowOptionsDialog(); });
    commands_.Add(kCmdDefaultEditor, tr("&Default Editor..."), {}, [this] {
        CDefaultEditorDialog dialog(app_, this, this);
        dialog.exec();
    });
    commands_.Add(kCmdHelpTopics, tr("&Help Topics"), QKeySequence::HelpContents,
                  [this] { app::OpenHelp(this); });
    commands_.Add(kCmdAppAbout, tr("&About Ostra Tarvik..."), {}, [this] { ShowAbout(); });
}

void CMainFrame::AddFileCommands() {
    const auto hasDocument = [this] { return ActiveDocument() != nullptr; };
    const auto hasAny = [this] { return !app_.Documents().empty(); };
    commands_.Add(kCmdFileOpen, tr("&Open..."), QKeySequence::Open, [this] { ShowOpenDialog(); });
    commands_.Add(kCmdOpenCommand, tr("Open Comman&d..."), {}, [this] { ShowCommandDialog(); });
    commands_.Add(kCmdOpenJournal, tr("Open &Journal..."), {}, [this] { ShowOpenJournalDialog(); });
    commands_.Add(kCmdOpenRemote, tr("Open &Remote File..."), {},
                  [this] { ShowOpenRemoteDialog(); });
    commands_.Add(
        kCmdFileClose, tr("&Close"), {},
        [this] {
            if (core::CTarvikDoc* doc = ActiveDocument()) CloseDocument(*doc);
        },
        hasDocument);
    commands_.Add(
        kCmdCloseAllDocuments, tr("Close &All"), {}, [this] { CloseAllDocuments(); }, hasAny);
    AddSaveCommands();
    AddDocumentCommand(core::kCmdOpenInEditor, tr("Open &Using Default Editor"),
                       Qt::CTRL | Qt::Key_E);
    AddDocumentCommand(core::kCmdBrowseFolder, tr("&Browse Log File Folder"), Qt::CTRL | Qt::Key_B);
    commands_.Add(
        kCmdMinimizeToTray, tr("Minimize to SysTray"), {}, [this] { HideToTray(); },
        [] { return CTrayIcon::IsAvailable(); });
    commands_.Add(kCmdAppExit, tr("E&xit"), Qt::CTRL | Qt::Key_Q, [this] { Exit(); });
}

void CMainFrame::AddSaveCommands() {
    // The save dialogs run event loops in which documents may close: the
    // export looks each one up again when it writes.
    const auto viewOf = [this](const core::CTarvikDoc* doc) -> const view::CTarvikView* {
        for (const auto& open : app_.Documents()) {
            if (open.get() != doc) continue;
            const CChildFrame* frame = FrameOf(*doc);
            return frame ? frame->View() : nullptr;
        }
        return nullptr;
    };
    commands_.Add(
        core::kCmdSaveAs, tr("Save &As..."), Qt::CTRL | Qt::Key_G,
        [this, viewOf] {
            std::vector<const core::CTarvikDoc*> open;
            for (const auto& doc : app_.Documents()) open.push_back(doc.get());
            exporting_ui::SaveDocumentAs(this, ActiveDocument(), open, viewOf, this);
        },
        [this] { return ActiveDocument() != nullptr; });
    commands_.Add(
        kCmdSaveAllAs, tr("Save All As..."), {},
        [this, viewOf] {
            std::vector<const core::CTarvikDoc*> docs;
            for (const auto& doc : app_.Documents()) docs.push_back(doc.get());
            exporting_ui::SaveDocumentsAs(this, docs, viewOf, app_.GetOptions(), this);
        },
        [this] { return !app_.Documents().empty(); });
}

void CMainFrame::AddEditCommands() {
    for (const view::ViewCommand& command : view::ViewCommands()) {
        AddViewCommand(command.id, command.text, command.shortcut);
        if (!command.alternate.isEmpty()) {
            commands_.Action(command.id)->setShortcuts({command.shortcut, command.alternate});
        }
    }
}

void CMainFrame::AddViewCommands() {
    settings::Options& options = app_.GetOptions();
    commands_.Add(
        kCmdViewToolbar, tr("&Toolbar"), {},
        [this] { toolBar_->setVisible(!toolBar_->isVisible()); }, {},
        [this] { return !toolBar_->isHidden(); });
    commands_.Add(
        kCmdViewStatusBar, tr("&Status Bar"), {},
        [this] { statusBar()->setVisible(statusBar()->isHidden()); }, {},
        [this] { return !statusBar()->isHidden(); });
    commands_.Add(
        kCmdViewTabBar, tr("&Show"), {}, [this] { SetTabBarVisible(tabStrip_->isHidden()); }, {},
        [this] { return !tabStrip_->isHidden(); });
    commands_.Add(
        kCmdTabBarTop, tr("&Top"), {}, [this] { SetTabBarAtTop(true); }, {},
        [&options] { return options.TabBarTop; });
    commands_.Add(
        kCmdTabBarBottom, tr("&Bottom"), {}, [this] { SetTabBarAtTop(false); }, {},
        [&options] { return !options.TabBarTop; });
    commands_.Add(
        kCmdAlwaysOnTop, tr("Always On &Top"), {}, [this] { ToggleAlwaysOnTop(); }, {},
        [&options] { return options.AlwaysOnTop; });
    commands_.Add(kCmdFont, tr("&Font..."), {}, [this] { ChooseFont(); });
    // Ctrl+plus and Ctrl+minus; Ctrl+0 stays Bookmark 0 and Ctrl+wheel
    // scrolls sideways.
    commands_
        .Add(kCmdFontLarger, tr("&Larger Font"), QKeySequence::ZoomIn, [this] { StepFontSize(1); })
        ->setShortcuts({QKeySequence(QKeySequence::ZoomIn), Qt::CTRL | Qt::Key_Equal});
    commands_.Add(kCmdFontSmaller, tr("&Smaller Font"), QKeySequence::ZoomOut,
                  [this] { StepFontSize(-1); });
    const auto hasTab = [this] { return tabStrip_->CurrentKey() != nullptr; };
    for (int position = 0; position < kTabMarkCount; ++position) {
        const TabImage mark = TabMarkAt(position);
        QAction* action = commands_.Add(
            kCmdViewMarkFirst + position, tr(TabMarkName(position)), {},
            [this, mark] { tabStrip_->SetMark(tabStrip_->CurrentKey(), mark); }, hasTab,
            [this, mark] {
                const DocumentKey key = tabStrip_->CurrentKey();
                return key && tabStrip_->MarkOf(key) == mark;
            });
        action->setIcon(TabImageIcon(mark));
    }
    commands_.Add(
        kCmdViewClearMark, tr("Cl&ear Mark"), {},
        [this] { tabStrip_->SetMark(tabStrip_->CurrentKey(), TabImage::Blank); }, hasTab);
}

void CMainFrame::AddMonitorCommands() {
    AddDocumentCommand(core::kCmdStartMonitoring, tr("&Start"), Qt::CTRL | Qt::Key_S);
    AddDocumentCommand(core::kCmdPauseMonitoring, tr("&Pause"), Qt::CTRL | Qt::Key_P);
    AddAppCommand(app::kCmdStartAll, tr("Start &All"), Qt::CTRL | Qt::SHIFT | Qt::Key_S);
    AddAppCommand(app::kCmdPauseAll, tr("Pa&use All"), Qt::CTRL | Qt::SHIFT | Qt::Key_P);
    AddDocumentCommand(core::kCmdReload, tr("Rel&oad"), Qt::CTRL | Qt::Key_R);
    AddAppCommand(app::kCmdReloadAllDocuments, tr("Reload All Document&s"),
                  Qt::CTRL | Qt::SHIFT | Qt::Key_R);
    AddDocumentCommand(core::kCmdClearAll, tr("C&lear All"), Qt::CTRL | Qt::Key_L);
    AddAppCommand(app::kCmdClearAllWindows, tr("Clear All Open &Windows"),
                  Qt::CTRL | Qt::SHIFT | Qt::Key_L);
    AddDocumentCommand(core::kCmdTruncateLog, tr("&Truncate Log"),
                       Qt::CTRL | Qt::SHIFT | Qt::Key_T);
    AddAppCommand(app::kCmdGoToEndOfAll, tr("Go to End of All"), Qt::CTRL | Qt::ALT | Qt::Key_End);
    commands_.Add(kCmdRefreshRate, tr("&Refresh Rate..."), Qt::CTRL | Qt::Key_F7,
                  [this] { ShowRefreshRateDialog(); });
    commands_.Add(kCmdBufferSize, tr("&Buffer Size..."), {}, [this] { ShowBufferSizeDialog(); });
}

void CMainFrame::AddWindowCommands() {
    const auto hasWindows = [this] { return !mdiArea_->subWindowList().isEmpty(); };
    commands_.Add(
        kCmdWindowCascade, tr("&Cascade"), {}, [this] { mdiArea_->cascadeSubWindows(); },
        hasWindows);
    commands_.Add(
        kCmdWindowTileHorizontal, tr("Tile &Horizontally"), {}, [this] { TileStrips(true); },
        hasWindows);
    commands_.Add(
        kCmdWindowTileVertical, tr("Tile &Vertically"), {}, [this] { TileStrips(false); },
        hasWindows);
    commands_.Add(
        kCmdTileFullWidth, tr("Tile Horizontally Full &Width"), {}, [this] { TileFullWidth(); },
        hasWindows);
    commands_.Add(
        kCmdTileFullHeight, tr("Tile Vertically &Full Height"), {}, [this] { TileFullHeight(); },
        hasWindows);
    // Next and Previous go round in the tab strip's order, which the user
    // may have changed by dragging tabs.
    // Ctrl+Tab and Ctrl+Shift+Tab too.
    commands_
        .Add(
            kCmdWindowNext, tr("&Next"), {}, [this] { ActivateTabBeside(1); }, hasWindows)
        ->setShortcuts(QKeySequence::NextChild);
    commands_
        .Add(
            kCmdWindowPrevious, tr("&Previous"), {}, [this] { ActivateTabBeside(-1); }, hasWindows)
        ->setShortcuts(QKeySequence::PreviousChild);
}

void CMainFrame::ActivateTabBeside(int step) {
    const DocumentKey key = tabStrip_->KeyBeside(ActiveChildFrame(), step);
    for (CChildFrame* frame : ChildFrames()) {
        if (frame == key) mdiArea_->setActiveSubWindow(frame);
    }
}

void CMainFrame::AddDocumentCommand(int id, const QString& text, const QKeySequence& shortcut) {
    commands_.Add(
        id, text, shortcut,
        [this, id] {
            if (core::CTarvikDoc* doc = ActiveDocument()) doc->OnCommand(id);
            app_.FreeClosedDocuments();
            UpdateStatusPanes();
        },
        [this, id] {
            const core::CTarvikDoc* doc = ActiveDocument();
            return doc && doc->IsCommandEnabled(id);
        });
}

void CMainFrame::AddViewCommand(int id, const QString& text, const QKeySequence& shortcut) {
    // The frame owns the view's shortcuts (the document windows leave them
    // to it), so they reach the active view whatever widget has the focus.
    commands_.Add(
        id, text, shortcut,
        [this, id] {
            if (CChildFrame* frame = ActiveChildFrame()) frame->View()->OnCommand(id);
        },
        [this, id] {
            const CChildFrame* frame = ActiveChildFrame();
            return frame && frame->View()->IsCommandEnabled(id);
        });
}

void CMainFrame::AddAppCommand(int id, const QString& text, const QKeySequence& shortcut) {
    commands_.Add(
        id, text, shortcut,
        [this, id] {
            app_.OnCommand(id);
            UpdateStatusPanes();
        },
        [this, id] { return app_.IsCommandEnabled(id); },
        id == app::kCmdToggleInExFilters
            ? std::function<bool()>([this] { return app_.GetOptions().EnableInExFilters; })
            : std::function<bool()>());
}

void CMainFrame::BuildMenus() {
    QMenu* file = BuildMainMenus(*menuBar(), commands_);
    // The recent files sit between two separators just above Exit.
    QAction* separator = file->insertSeparator(commands_.Action(kCmdAppExit));
    recentMenu_ = new CRecentFilesMenu(file, separator, this);
    connect(recentMenu_, &CRecentFilesMenu::openRequested, this,
            [this](const QString& path) { OpenRecentFile(path.toStdU16String()); });
    BuildDiscoveryMenus(file);
}

void CMainFrame::BuildToolBar() {
    toolBar_ = addToolBar(tr("Standard"));
    toolBar_->setObjectName(QStringLiteral("Standard"));
    const std::pair<int, ToolBarImage> buttons[] = {
        {kCmdFileOpen, ToolBarImage::Open},
        {core::kCmdStartMonitoring, ToolBarImage::Start},
        {core::kCmdPauseMonitoring, ToolBarImage::Pause},
        {core::kCmdReload, ToolBarImage::Reload},
        {core::kCmdClearAll, ToolBarImage::ClearAll},
        {app::kCmdGoToEndOfAll, ToolBarImage::GoToEnd},
    };
    for (const auto& [id, image] : buttons) {
        QAction* action = commands_.Action(id);
        action->setIcon(ToolBarIcon(image));
        toolBar_->addAction(action);
    }
}

}  // namespace app_ui
