#pragma once
// The main window: menus, toolbar, status panes, the tab strip and the
// document windows. It is the documents' host and the application's user
// interface, runs the monitoring timer and saves its own state at the end.

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <memory>
#include <string>
#include <vector>

#include "app/OptionsApply.h"
#include "app/ui/BatchOpenAdapter.h"
#include "app/ui/CommandTable.h"
#include "app/ui/FileEventPump.h"
#include "app/ui/GlobalHotKey.h"
#include "app/ui/MessageBoxUi.h"
#include "core/IDocumentHost.h"
#include "core/IUserInterface.h"
#include "discovery/RecentFileList.h"
#include "settings/FileSetStore.h"
#include "settings/WindowRect.h"
#include "view/FilterColorProvider.h"

class QMdiArea;
class QMenu;
class QMdiSubWindow;
class QToolBar;
class QVBoxLayout;

namespace app {
class CTarvikApp;
}

namespace app_ui {

class CChildFrame;
class CFileSetsMenu;
class CRecentFilesMenu;
class CStatusPanes;
class CTabStrip;
class CTrayIcon;

class CMainFrame : public QMainWindow, public core::IDocumentHost, public core::IUserInterface {
    Q_OBJECT
public:
    static constexpr const char* kTitle = "Ostra Tarvik (Unicode)";

    explicit CMainFrame(app::CTarvikApp& app);
    ~CMainFrame() override;

    // Shows the window where it was last left: at the stored rectangle when
    // there is one, maximized when asked (or when nothing was stored).
    void ShowWithPlacement(bool maximized, const settings::WindowRect& rect);
    void ApplyAlwaysOnTop();
    // A command line (argv[0] stands for the program name); failures are
    // reported in one message.
    int OpenCommandLine(const std::vector<std::u16string>& argv);
    // Several files at once, one report for all failures.
    void OpenFiles(const std::vector<std::u16string>& paths);
    // The files chosen in File > Open: one opens alone (or is activated when
    // open) and reports its own failure; several open as one batch.
    void OpenChosenFiles(const std::vector<std::u16string>& paths);

    // The recent files, read when the frame is built and written when it
    // saves its state. Every file that opens goes to the front unless
    // recording is off (while the list itself is being reopened).
    discovery::CRecentFileList& RecentFiles();
    CRecentFilesMenu* RecentFilesMenu() const { return recentMenu_; }
    void SetRecordingRecentFiles(bool record) { recordRecent_ = record; }
    // Where File > Open starts next (empty: the working folder).
    QString LastOpenFolder() const { return lastOpenFolder_; }
    // Opens a recent file (or activates it when open); one that fails is
    // reported and leaves the list.
    void OpenRecentFile(const std::u16string& path);
    // "Open More Recent Files" confirmed with paths: one batch, and every
    // path that fails also leaves the recent-file list.
    void OpenMoreRecentFiles(const std::vector<std::u16string>& paths);

    // File sets: the submenu, opening one set (or its message when it is
    // undefined or empty), and the Manage dialog's outcome saved and shown.
    CFileSetsMenu* FileSetsMenu() const { return fileSetsMenu_; }
    void OpenFileSet(const std::u16string& name);
    bool ApplyFileSets(const std::vector<settings::FileSet>& sets);

    // Commands by identifier, as the menus run them.
    CCommandTable& Commands() { return commands_; }
    bool RunCommand(int id) { return commands_.Run(id); }

    QMdiArea* MdiArea() const { return mdiArea_; }
    CTabStrip* TabStrip() const { return tabStrip_; }
    CStatusPanes* StatusPanes() const { return panes_; }
    CTrayIcon* TrayIcon() const { return tray_; }
    CGlobalHotKey* HotKey() const { return hotKey_; }
    QToolBar* ToolBar() const { return toolBar_; }
    CChildFrame* ActiveChildFrame() const;
    core::CTarvikDoc* ActiveDocument() const;
    CChildFrame* FrameOf(const core::CTarvikDoc& doc) const;
    void ActivateDocument(core::CTarvikDoc& doc);

    // Window arrangement.
    void TileFullWidth();
    void TileFullHeight();
    void SetTabBarAtTop(bool top);
    void SetTabBarVisible(bool visible);
    // The views take the font of the options again (after the Font command).
    void ApplyFont(const QFont& font);
    // The font one pixel or point larger (step 1) or smaller (-1), within
    // sensible bounds.
    void StepFontSize(int step);
    // What only the frame can do after the Options dialog was confirmed.
    void ApplyOptionsEffects(const app::OptionsApplyEffects& effects);

    void HideToTray();
    void RestoreFromTray(bool bringToFront);
    // Saves, closes and ends the program, from any state: a window hidden in
    // the tray is no visible window whose closing would end it by itself.
    void Exit();

    // Closes every document, then saves the frame's state: the bars, the
    // tab bar's side, the document windows' state and the placement. Runs
    // once; closing the window calls it.
    void SaveStateAndCloseDocuments();

    // While the placement, the recent list or the open files change, they
    // are saved at most once per delay, so a session killed without warning
    // loses little; the end of the session saves them at once.
    static constexpr int kSessionSaveDelayMs = 3000;
    void ScheduleSessionSave();
    bool IsSessionSavePending() const { return sessionSave_.isActive(); }
    int SessionSaveDelay() const { return sessionSave_.interval(); }
    // Saves the recent list and the placement now (what the timer does).
    void SaveSession();

    // IDocumentHost
    core::ILogView* CreateDocumentFrame(core::CTarvikDoc& doc) override;
    void DestroyDocumentFrame(core::CTarvikDoc& doc) override;
    void CreateTab(core::CTarvikDoc& doc, std::u16string_view displayName,
                   std::u16string_view path) override;
    void RemoveTab(core::CTarvikDoc& doc) override;
    void FlashTab(core::CTarvikDoc& doc) override;
    void StopAllTabFlashing() override;
    void BlinkTrayIcon() override;
    bool IsActiveDocumentFrame(const core::CTarvikDoc& doc) const override;
    bool IsApplicationActive() const override { return applicationActive_; }
    bool IsInTray() const override { return inTray_; }
    core::TabFlashState GetTabFlashState(const core::CTarvikDoc& doc) const override;
    bool IsTrayBlinking() const override;
    void RestartRefreshTimer(std::uint32_t periodMs) override;
    void DocumentTitleChanged(core::CTarvikDoc& doc) override;
    void DocumentStateChanged(core::CTarvikDoc& doc) override;
    // The main window's caption: the program's title and the active
    // document's title.
    QString Caption() const;
    void ActivateDocumentFrame(core::CTarvikDoc& doc) override { ActivateDocument(doc); }
    bool IsRefreshTimerRunning() const { return refresh_.isActive(); }
    int RefreshTimerInterval() const { return refresh_.interval(); }

    // IUserInterface
    core::MessageAnswer ShowMessage(std::u16string_view text, core::MessageIcon icon,
                                    core::MessageButtons buttons) override;
    void BeginWaitCursor() override { messages_.BeginWaitCursor(); }
    void EndWaitCursor() override { messages_.EndWaitCursor(); }

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void BuildCentralArea();
    void BuildStatusBar();
    void BuildTray();
    void BuildCommands();
    void AddFileCommands();
    void AddSaveCommands();
    void AddEditCommands();
    void AddViewCommands();
    void AddMonitorCommands();
    void AddWindowCommands();
    void ActivateTabBeside(int step);
    void AddDocumentCommand(int id, const QString& text, const QKeySequence& shortcut);
    void AddViewCommand(int id, const QString& text, const QKeySequence& shortcut);
    void AddAppCommand(int id, const QString& text, const QKeySequence& shortcut);
    void BuildMenus();
    void BuildDiscoveryMenus(QMenu* file);
    void ShowManageFileSetsDialog();
    void ShowMoreRecentFilesDialog();
    void ShowAutoOpenDialog();
    void ShowOpenJournalDialog();
    void ShowOpenRemoteDialog();
    void BuildToolBar();

    void OnSubWindowActivated(QMdiSubWindow* window);
    void OnApplicationStateChanged(Qt::ApplicationState state);
    void CloseDocument(core::CTarvikDoc& doc);
    void CloseAllDocuments();
    void CloseOtherDocuments(const void* keepKey);
    void ShowOpenDialog();
    void ShowCommandDialog();
    // Activates the file when it is open, else opens it; false when it fails
    // (the document has told why).
    bool OpenSingleFile(const std::u16string& path);
    void ChooseFont();
    void ShowOptionsDialog();
    void ShowHighlightFiltersDialog();
    void ShowInExFiltersDialog();
    void ShowStopUpdatingDialog();
    void ShowMailSettingsDialog();
    void ShowConfirmEmailsDialog();
    void ShowBufferSizeDialog();
    void ShowRefreshRateDialog();
    void ShowAbout();
    void ToggleAlwaysOnTop();
    void TileStrips(bool fullWidth);
    void TileBesideMinimized(bool fullWidth);
    void RefreshViewSettings();
    void UpdateStatusPanes();
    void UpdateCaption();
    settings::WindowRect PlacementRect() const;
    std::vector<CChildFrame*> ChildFrames() const;

    app::CTarvikApp& app_;
    CMessageBoxUi messages_;
    CBatchOpenAdapter batchOpen_;
    view::CFilterColorProvider colors_;
    CCommandTable commands_;
    QMdiArea* mdiArea_ = nullptr;
    QVBoxLayout* centralLayout_ = nullptr;
    CTabStrip* tabStrip_ = nullptr;
    CStatusPanes* panes_ = nullptr;
    CTrayIcon* tray_ = nullptr;
    CGlobalHotKey* hotKey_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    CRecentFilesMenu* recentMenu_ = nullptr;
    CFileSetsMenu* fileSetsMenu_ = nullptr;
    bool recordRecent_ = true;
    // Where File > Open starts: the folder of the last file it opened.
    QString lastOpenFolder_;
    QTimer refresh_;
    CFileEventPump* fileEvents_ = nullptr;
    QTimer sessionSave_;
    QPointer<QMdiSubWindow> lastActive_;
    bool applicationActive_ = false;
    bool inTray_ = false;
    bool stateSaved_ = false;
};

}  // namespace app_ui
