#include "app/ui/MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFontDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/OptionsStore.h"
#include "app/StatusPaneText.h"
#include "app/TarvikApp.h"
#include "app/WaitCursor.h"
#include "app/ui/BufferSizeDialog.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/FontChoice.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/FrameMenus.h"
#include "app/ui/FrameTiling.h"
#include "app/ui/OptionsDialog.h"
#include "app/ui/RecentFilesMenu.h"
#include "app/ui/RefreshRateDialog.h"
#include "app/ui/StatusPanes.h"
#include "app/ui/TabStrip.h"
#include "app/ui/TrayIcon.h"
#include "core/DocCommandIds.h"
#include "core/TarvikDoc.h"
#include "discovery/BatchOpen.h"
#include "view/TarvikView.h"
#include "view/ViewCommandIds.h"

namespace app_ui {

namespace {

constexpr auto kAboutAddress = "https://ostra-tarvik.example.org";
// Paths of dropped files longer than this are not opened.
constexpr qsizetype kMaxDroppedPathLength = 260;
// The monitoring period stays within sane bounds whatever the store holds.
constexpr std::uint32_t kMinRefreshMs = 10;
constexpr std::uint32_t kMaxRefreshMs = 3600000;

QString ToQString(std::u16string_view text) {
    return QString::fromStdU16String(std::u16string(text));
}

}  // namespace

CMainFrame::CMainFrame(app::CTarvikApp& app)
    : app_(app),
      messages_(this),
      batchOpen_(app, *this, [this](core::CTarvikDoc& doc) { ActivateDocument(doc); }),
      colors_(app.HighlightFilters(), app.GetOptions()),
      commands_(this) {
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(TrayNormalIcon());
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    BuildCentralArea();
    BuildStatusBar();
    BuildTray();
    BuildCommands();
    BuildMenus();
    BuildToolBar();
    const app::Options& options = app_.GetOptions();
    toolBar_->setVisible(options.ToolbarVisible);
    statusBar()->setVisible(options.StatusBarVisible);
    SetTabBarAtTop(options.TabBarTop);
    SetTabBarVisible(options.TabBarVisible);
    connect(&refresh_, &QTimer::timeout, this, [this] {
        app_.OnRefreshTick();
        UpdateStatusPanes();
    });
    RestartRefreshTimer(options.IntervalChkFile);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &CMainFrame::OnApplicationStateChanged);
    applicationActive_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
    app_.SetDocumentHost(this);
    app_.SetUserInterface(this);
    UpdateStatusPanes();
    commands_.UpdateStates();
    resize(1000, 700);
}

CMainFrame::~CMainFrame() {
    qApp->removeEventFilter(this);
    refresh_.stop();
    SaveStateAndCloseDocuments();
    app_.SetDocumentHost(nullptr);
    app_.SetUserInterface(nullptr);
}

void CMainFrame::BuildCentralArea() {
    auto* central = new QWidget(this);
    centralLayout_ = new QVBoxLayout(central);
    centralLayout_->setContentsMargins(0, 0, 0, 0);
    centralLayout_->setSpacing(0);
    mdiArea_ = new QMdiArea(central);
    mdiArea_->setViewMode(QMdiArea::SubWindowView);
    tabStrip_ = new CTabStrip(central);
    tabStrip_->SetAliasStore([this](std::u16string_view path,
                                    std::u16string& alias) { return app_.LoadAlias(path, alias); },
                             [this](std::u16string_view path, std::u16string_view alias) {
                                 return app_.SaveAlias(path, alias);
                             });
    const app::Options& options = app_.GetOptions();
    tabStrip_->SetLabelLimit(options.EnableMaxTabItemLen, static_cast<int>(options.MaxTabItemLen));
    tabStrip_->SetFlashByDefault(options.FlashTabItem);
    centralLayout_->addWidget(tabStrip_);
    centralLayout_->addWidget(mdiArea_, 1);
    setCentralWidget(central);
    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    connect(tabStrip_, &CTabStrip::documentActivated, this, [this](DocumentKey key) {
        for (CChildFrame* frame : ChildFrames()) {
            if (frame == key) mdiArea_->setActiveSubWindow(frame);
        }
    });
    connect(tabStrip_, &CTabStrip::closeRequested, this, [this](DocumentKey key) {
        for (CChildFrame* frame : ChildFrames()) {
            if (frame == key) CloseDocument(frame->Document());
        }
    });
    connect(tabStrip_, &CTabStrip::closeOthersRequested, this,
            [this](DocumentKey key) { CloseOtherDocuments(key); });
    connect(tabStrip_, &CTabStrip::toggleStripRequested, this,
            [this] { RunCommand(kCmdViewTabBar); });
    connect(tabStrip_, &CTabStrip::dockTopRequested, this, [this] { SetTabBarAtTop(true); });
    connect(tabStrip_, &CTabStrip::dockBottomRequested, this, [this] { SetTabBarAtTop(false); });
}

void CMainFrame::BuildStatusBar() {
    panes_ = new CStatusPanes(statusBar());
    panes_->SetClockEnabled(app_.GetOptions().StatusbarClock);
    connect(panes_, &CStatusPanes::optionsRequested, this, [this] { RunCommand(kCmdOptions); });
    connect(panes_, &CStatusPanes::bufferSizeRequested, this,
            [this] { RunCommand(kCmdBufferSize); });
    connect(panes_, &CStatusPanes::refreshRateRequested, this,
            [this] { RunCommand(kCmdRefreshRate); });
}

void CMainFrame::BuildTray() {
    tray_ = new CTrayIcon(this);
    connect(tray_, &CTrayIcon::showWindowRequested, this, [this] { RestoreFromTray(true); });
    connect(tray_, &CTrayIcon::exitRequested, this, &QWidget::close);
    // Ctrl+Shift+H brings the window back from the tray, where the
    // platform allows a global key.
    hotKey_ = new CGlobalHotKey(this);
    connect(hotKey_, &CGlobalHotKey::activated, this, [this] { RestoreFromTray(true); });
    if (app_.GetOptions().EnableHotkey) hotKey_->Register();
}

void CMainFrame::BuildCommands() {
    AddFileCommands();
    AddEditCommands();
    AddViewCommands();
    AddMonitorCommands();
    AddWindowCommands();
    AddAppCommand(app::kCmdToggleInExFilters, tr("Enable &Include/Exclude Filters"),
                  Qt::CTRL | Qt::SHIFT | Qt::Key_I);
    commands_.Add(kCmdOptions, tr("&Options..."), {}, [this] { ShowOptionsDialog(); });
    commands_.Add(kCmdAppAbout, tr("&About Ostra Tarvik..."), {}, [this] { ShowAbout(); });
}

void CMainFrame::AddFileCommands() {
    const auto hasDocument = [this] { return ActiveDocument() != nullptr; };
    const auto hasAny = [this] { return !app_.Documents().empty(); };
    commands_.Add(kCmdFileOpen, tr("&Open..."), QKeySequence::Open, [this] { ShowOpenDialog(); });
    commands_.Add(
        kCmdFileClose, tr("&Close"), {},
        [this] {
            if (core::CTarvikDoc* doc = ActiveDocument()) CloseDocument(*doc);
        },
        hasDocument);
    commands_.Add(
        kCmdCloseAllDocuments, tr("Close &All"), {}, [this] { CloseAllDocuments(); }, hasAny);
    AddDocumentCommand(core::kCmdSaveAs, tr("Save &As..."), Qt::CTRL | Qt::Key_G);
    AddDocumentCommand(core::kCmdOpenInEditor, tr("Open &Using Default Editor"),
                       Qt::CTRL | Qt::Key_E);
    AddDocumentCommand(core::kCmdBrowseFolder, tr("&Browse Log File Folder"), Qt::CTRL | Qt::Key_B);
    commands_.Add(kCmdMinimizeToTray, tr("Minimize to SysTray"), {}, [this] { HideToTray(); });
    commands_.Add(kCmdAppExit, tr("E&xit"), {}, [this] { close(); });
}

void CMainFrame::AddEditCommands() {
    const std::pair<int, const char*> viewCommands[] = {
        {view::kCmdEditUndo, "&Undo"},
        {view::kCmdEditRedo, "&Redo"},
        {view::kCmdEditCut, "Cu&t"},
        {view::kCmdEditCopy, "&Copy"},
        {view::kCmdEditPaste, "&Paste"},
        {view::kCmdEditClear, "&Delete"},
        {view::kCmdEditSelectAll, "Select &All"},
        {view::kCmdEditFind, "&Find..."},
        {view::kCmdEditRepeat, "Find &Next"},
        {view::kCmdEditReplace, "R&eplace..."},
        {view::kCmdNextHighlight, "Next H&ighlight"},
        {view::kCmdPreviousHighlight, "Previous &Highlight"},
        {view::kCmdNextRedLine, "&Next Red Line"},
        {view::kCmdPreviousRedLine, "&Previous Red Line"},
        {view::kCmdClearRedLines, "Clear All &Red Lines"},
        {view::kCmdGoToLine, "&Go to Line"},
        {view::kCmdGoToEndMenu, "Go to End"},
        {view::kCmdToggleBookmark, "Toggle &Bookmark"},
        {view::kCmdNextBookmark, "Ne&xt Bookmark"},
        {view::kCmdPreviousBookmark, "Previous Boo&kmark"},
        {view::kCmdClearBookmarks, "Clear All Book&marks"},
        {view::kCmdClearNumbered, "Clear &All Numeric Bookmarks"},
    };
    // The views define their shortcuts; a view that shows nothing lends them.
    const view::CTarvikView probe(app_.GetOptions());
    const auto shortcutOf = [&probe](int id) {
        const QAction* action = probe.Action(id);
        return action ? action->shortcut() : QKeySequence();
    };
    for (const auto& [id, text] : viewCommands) AddViewCommand(id, tr(text), shortcutOf(id));
    for (const int id : {int{view::kCmdFilePrint}, int{view::kCmdFilePrintPreview}}) {
        AddViewCommand(id, probe.Action(id)->text(), shortcutOf(id));
    }
    for (int n = 0; n < core::kNumberedBookmarkCount; ++n) {
        const int toggle = view::kCmdToggleNumbered0 + n;
        const int jump = view::kCmdJumpNumbered0 + n;
        AddViewCommand(toggle, tr("Bookmark &%1").arg(n), shortcutOf(toggle));
        AddViewCommand(jump, tr("Bookmark &%1").arg(n), shortcutOf(jump));
    }
}

void CMainFrame::AddViewCommands() {
    app::Options& options = app_.GetOptions();
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
    commands_.Add(
        kCmdWindowNext, tr("&Next"), {}, [this] { mdiArea_->activateNextSubWindow(); }, hasWindows);
    commands_.Add(
        kCmdWindowPrevious, tr("&Previous"), {}, [this] { mdiArea_->activatePreviousSubWindow(); },
        hasWindows);
}

void CMainFrame::AddDocumentCommand(int id, const QString& text, const QKeySequence& shortcut) {
    commands_.Add(
        id, text, shortcut,
        [this, id] {
            if (core::CTarvikDoc* doc = ActiveDocument()) doc->OnCommand(id);
            UpdateStatusPanes();
        },
        [this, id] {
            const core::CTarvikDoc* doc = ActiveDocument();
            return doc && doc->IsCommandEnabled(id);
        });
}

void CMainFrame::AddViewCommand(int id, const QString& text, const QKeySequence& shortcut) {
    // The view handles its own shortcuts while it has the focus; the menu
    // shows them.
    Command command;
    command.id = id;
    command.text = text;
    command.shortcut = shortcut;
    command.run = [this, id] {
        if (CChildFrame* frame = ActiveChildFrame()) frame->View()->OnCommand(id);
    };
    command.enabled = [this, id] {
        const CChildFrame* frame = ActiveChildFrame();
        return frame && frame->View()->IsCommandEnabled(id);
    };
    command.shortcutShownOnly = true;
    commands_.Add(std::move(command));
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
}

void CMainFrame::BuildToolBar() {
    toolBar_ = addToolBar(tr("Standard"));
    toolBar_->setObjectName(QStringLiteral("Standard"));
    const std::pair<int, QStyle::StandardPixmap> buttons[] = {
        {kCmdFileOpen, QStyle::SP_DialogOpenButton},
        {core::kCmdStartMonitoring, QStyle::SP_MediaPlay},
        {core::kCmdPauseMonitoring, QStyle::SP_MediaPause},
        {core::kCmdReload, QStyle::SP_BrowserReload},
        {core::kCmdClearAll, QStyle::SP_DialogResetButton},
        {app::kCmdGoToEndOfAll, QStyle::SP_ArrowDown},
    };
    for (const auto& [id, pixmap] : buttons) {
        QAction* action = commands_.Action(id);
        action->setIcon(style()->standardIcon(pixmap));
        toolBar_->addAction(action);
    }
}

std::vector<CChildFrame*> CMainFrame::ChildFrames() const {
    std::vector<CChildFrame*> frames;
    for (QMdiSubWindow* window : mdiArea_->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* frame = qobject_cast<CChildFrame*>(window)) frames.push_back(frame);
    }
    return frames;
}

CChildFrame* CMainFrame::ActiveChildFrame() const {
    return qobject_cast<CChildFrame*>(mdiArea_->currentSubWindow());
}

core::CTarvikDoc* CMainFrame::ActiveDocument() const {
    CChildFrame* frame = ActiveChildFrame();
    return frame ? &frame->Document() : nullptr;
}

CChildFrame* CMainFrame::FrameOf(const core::CTarvikDoc& doc) const {
    for (CChildFrame* frame : ChildFrames()) {
        if (&frame->Document() == &doc) return frame;
    }
    return nullptr;
}

void CMainFrame::ActivateDocument(core::CTarvikDoc& doc) {
    if (CChildFrame* frame = FrameOf(doc)) mdiArea_->setActiveSubWindow(frame);
}

core::ILogView* CMainFrame::CreateDocumentFrame(core::CTarvikDoc& doc) {
    auto* frame = new CChildFrame(app_, doc, &colors_);
    frame->setWindowIcon(style()->standardIcon(QStyle::SP_FileIcon));
    frame->SetOpenedBesideAnother(mdiArea_->currentSubWindow() != nullptr);
    mdiArea_->addSubWindow(frame);
    connect(frame, &CChildFrame::closeRequested, this,
            [this](CChildFrame* closing) { CloseDocument(closing->Document()); });
    connect(frame->View(), &view::CCrystalTextView::CaretStatusChanged, this,
            [this] { UpdateStatusPanes(); });
    frame->show();
    return frame->View();
}

void CMainFrame::DestroyDocumentFrame(core::CTarvikDoc& doc) {
    CChildFrame* frame = FrameOf(doc);
    if (!frame) return;
    frame->RememberPlacement();
    if (lastActive_ == frame) lastActive_ = nullptr;
    // The document is going away: the view lets go of it at once, while the
    // window itself may be inside its own close handling and goes later.
    frame->View()->AttachDocument(nullptr);
    frame->CloseFromHost();
    mdiArea_->removeSubWindow(frame);
    frame->hide();
    frame->deleteLater();
    UpdateStatusPanes();
    commands_.UpdateStates();
}

void CMainFrame::CreateTab(core::CTarvikDoc& doc, std::u16string_view displayName,
                           std::u16string_view path) {
    CChildFrame* frame = FrameOf(doc);
    if (!frame) return;
    frame->setWindowTitle(ToQString(doc.GetTitle().empty() ? displayName : doc.GetTitle()));
    tabStrip_->AddTab(frame, ToQString(displayName), ToQString(path));
    if (recordRecent_ && !path.empty()) recentMenu_->List().Add(std::u16string(path));
    if (frame == mdiArea_->currentSubWindow()) {
        // Activated before the file was open: the stored position was not
        // known then.
        frame->OnActivated(frame->OpenedBesideAnother());
        tabStrip_->SelectTab(frame);
    }
}

void CMainFrame::RemoveTab(core::CTarvikDoc& doc) {
    if (CChildFrame* frame = FrameOf(doc)) tabStrip_->RemoveTab(frame);
}

void CMainFrame::FlashTab(core::CTarvikDoc& doc) {
    if (CChildFrame* frame = FrameOf(doc)) tabStrip_->StartTabFlash(frame);
}

void CMainFrame::StopAllTabFlashing() {
    tabStrip_->StopAllTabFlash();
}

void CMainFrame::BlinkTrayIcon() {
    tray_->StartBlink();
}

bool CMainFrame::IsTrayBlinking() const {
    return tray_->IsBlinking();
}

app::TabFlashState CMainFrame::GetTabFlashState(const core::CTarvikDoc& doc) const {
    const CChildFrame* frame = FrameOf(doc);
    if (!frame) return {};
    return {tabStrip_->IsFlashing(frame), tabStrip_->IsFlashSuppressed(frame),
            tabStrip_->IsFlashRequested(frame)};
}

bool CMainFrame::IsActiveDocumentFrame(const core::CTarvikDoc& doc) const {
    const CChildFrame* frame = ActiveChildFrame();
    return frame && &frame->Document() == &doc;
}

void CMainFrame::RestartRefreshTimer(std::uint32_t periodMs) {
    refresh_.start(static_cast<int>(std::clamp(periodMs, kMinRefreshMs, kMaxRefreshMs)));
    UpdateStatusPanes();
}

app::MessageAnswer CMainFrame::ShowMessage(std::u16string_view text, app::MessageIcon icon,
                                           app::MessageButtons buttons) {
    return messages_.ShowMessage(text, icon, buttons);
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window) {
    auto* previous = qobject_cast<CChildFrame*>(lastActive_.data());
    auto* current = qobject_cast<CChildFrame*>(window);
    if (previous == current) return;
    if (previous) app_.OnDocumentFrameActivated(previous->Document(), false);
    lastActive_ = window;
    if (current) {
        if (!current->Document().GetPathName().empty()) current->OnActivated(previous != nullptr);
        tabStrip_->SelectTab(current);
        app_.OnDocumentFrameActivated(current->Document(), true);
    }
    UpdateStatusPanes();
    commands_.UpdateStates();
}

void CMainFrame::OnApplicationStateChanged(Qt::ApplicationState state) {
    const bool active = state == Qt::ApplicationActive;
    if (active == applicationActive_) return;
    applicationActive_ = active;
    app_.OnApplicationActivated(active);
}

void CMainFrame::UpdateStatusPanes() {
    if (!panes_) return;
    const app::Options& options = app_.GetOptions();
    const CChildFrame* frame = ActiveChildFrame();
    const core::CTarvikDoc* doc = frame ? &frame->Document() : nullptr;
    if (!doc) {
        panes_->SetMonitoring(CStatusPanes::Monitoring::NoDocument);
        panes_->SetCaretText(u"");
        panes_->SetTextLengthText(u"");
    } else {
        panes_->SetMonitoring(doc->IsMonitoring() ? CStatusPanes::Monitoring::Running
                                                  : CStatusPanes::Monitoring::Stopped);
        panes_->SetCaretText(frame->View()->CaretStatusText().toStdU16String());
        panes_->SetTextLengthText(doc->TextLengthText());
    }
    panes_->SetMaxBufferSizeText(app::MaxBufferSizePaneText(options));
    panes_->SetRefreshRateText(app::RefreshRatePaneText(options));
}

void CMainFrame::CloseDocument(core::CTarvikDoc& doc) {
    app_.CloseDocument(&doc);
}

void CMainFrame::CloseAllDocuments() {
    app::CWaitCursor wait(this);
    while (!app_.Documents().empty()) app_.CloseDocument(app_.Documents().back().get());
}

void CMainFrame::CloseOtherDocuments(const void* keepKey) {
    for (CChildFrame* frame : ChildFrames()) {
        if (frame != keepKey) CloseDocument(frame->Document());
    }
}

void CMainFrame::OpenFiles(const std::vector<std::u16string>& paths) {
    discovery::OpenBatch(paths, batchOpen_);
    commands_.UpdateStates();
}

discovery::CRecentFileList& CMainFrame::RecentFiles() {
    return recentMenu_->List();
}

void CMainFrame::OpenRecentFile(const std::u16string& path) {
    if (core::CTarvikDoc* open = batchOpen_.FindDocument(path)) {
        ActivateDocument(*open);
    } else if (!app_.OpenDocument(path)) {
        recentMenu_->List().Remove(path);
    }
    commands_.UpdateStates();
}

int CMainFrame::OpenCommandLine(const std::vector<std::u16string>& argv) {
    const int result = discovery::OpenCommandLineFiles(argv, batchOpen_);
    commands_.UpdateStates();
    return result;
}

void CMainFrame::ShowOpenDialog() {
    const QStringList names = QFileDialog::getOpenFileNames(
        this, tr("Open"), {}, tr("Log Files (*.log);;Text Files (*.txt);;All Files (*)"));
    std::vector<std::u16string> paths;
    for (const QString& name : names) paths.push_back(name.toStdU16String());
    OpenFiles(paths);
}

void CMainFrame::ChooseFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, FontFromOptions(app_.GetOptions()), this);
    if (ok) ApplyFont(chosen);
}

void CMainFrame::ApplyFont(const QFont& font) {
    app_.GetOptions().UFont = LogFontFromFont(font);
    app_.SaveOptions(app::option_group::kFont, false, nullptr);
    RefreshViewSettings();
}

void CMainFrame::RefreshViewSettings() {
    for (CChildFrame* frame : ChildFrames()) {
        view::CTarvikView* view = frame->View();
        const core::TextPos caret = view->GetCursorPos();
        view->ResetView();
        view->GoToPosition(caret.ch, caret.line);
    }
}

void CMainFrame::ShowOptionsDialog() {
    COptionsDialog dialog(app_, false, this, this);
    if (dialog.exec() == QDialog::Accepted) ApplyOptionsEffects(dialog.Effects());
}

void CMainFrame::ApplyOptionsEffects(const app::OptionsApplyEffects& effects) {
    const app::Options& options = app_.GetOptions();
    tabStrip_->SetLabelLimit(options.EnableMaxTabItemLen, static_cast<int>(options.MaxTabItemLen));
    tabStrip_->SetFlashByDefault(options.FlashTabItem);
    if (effects.rebuildTabTexts) tabStrip_->RefreshTabLabels();
    if (effects.stopTabFlashing) StopAllTabFlashing();
    if (effects.updateFrameTitles) {
        for (CChildFrame* frame : ChildFrames()) {
            frame->setWindowTitle(ToQString(frame->Document().GetTitle()));
        }
    }
    if (effects.clockPane) panes_->SetClockEnabled(*effects.clockPane);
    if (effects.hotKey) {
        if (*effects.hotKey) {
            hotKey_->Register();
        } else {
            hotKey_->Unregister();
        }
    }
    if (effects.viewsTakeTabSize || effects.viewsTakeWheelValues) RefreshViewSettings();
    UpdateStatusPanes();
}

void CMainFrame::ShowBufferSizeDialog() {
    CBufferSizeDialog dialog(app_, this, this);
    dialog.exec();
    UpdateStatusPanes();
}

void CMainFrame::ShowRefreshRateDialog() {
    CRefreshRateDialog dialog(app_, this);
    dialog.exec();
    UpdateStatusPanes();
}

void CMainFrame::ShowAbout() {
    QMessageBox::about(this, tr("About Ostra Tarvik"),
                       tr("<p><b>Ostra Tarvik</b></p><p>Follows log files as they grow.</p>"
                          "<p><a href=\"%1\">%1</a></p>")
                           .arg(QString::fromLatin1(kAboutAddress)));
}

void CMainFrame::ToggleAlwaysOnTop() {
    app::Options& options = app_.GetOptions();
    options.AlwaysOnTop = !options.AlwaysOnTop;
    ApplyAlwaysOnTop();
    app_.SaveOptions(app::option_group::kAlwaysOnTop, false, nullptr);
}

void CMainFrame::ApplyAlwaysOnTop() {
    const bool onTop = app_.GetOptions().AlwaysOnTop;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing a window flag hides the window; it comes back where it was.
    if (wasVisible) show();
}

void CMainFrame::ShowWithPlacement(bool maximized, const app::WindowRect& rect) {
    if (!rect.IsEmpty()) {
        setGeometry(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
    }
    if (maximized) {
        showMaximized();
    } else {
        show();
    }
}

void CMainFrame::SetTabBarAtTop(bool top) {
    app_.GetOptions().TabBarTop = top;
    centralLayout_->removeWidget(tabStrip_);
    centralLayout_->insertWidget(top ? 0 : 1, tabStrip_);
    tabStrip_->setShape(top ? QTabBar::RoundedNorth : QTabBar::RoundedSouth);
    tabStrip_->SetDockedAtTop(top);
    commands_.UpdateStates();
}

void CMainFrame::SetTabBarVisible(bool visible) {
    tabStrip_->setVisible(visible);
    commands_.UpdateStates();
}

void CMainFrame::TileStrips(bool fullWidth) {
    std::vector<CChildFrame*> frames;
    for (CChildFrame* frame : ChildFrames()) {
        if (frame->isMinimized()) continue;
        frame->showNormal();
        frames.push_back(frame);
    }
    const QRect area = mdiArea_->viewport()->rect();
    const auto strips = fullWidth ? FullWidthStrips(area, static_cast<int>(frames.size()))
                                  : FullHeightStrips(area, static_cast<int>(frames.size()));
    for (std::size_t i = 0; i < strips.size(); ++i) frames[i]->setGeometry(strips[i]);
}

void CMainFrame::TileFullWidth() {
    TileBesideMinimized(true);
}

void CMainFrame::TileFullHeight() {
    TileBesideMinimized(false);
}

void CMainFrame::TileBesideMinimized(bool fullWidth) {
    setUpdatesEnabled(false);
    TileStrips(fullWidth);
    if (ActiveChildFrame()) {
        // Minimized windows keep a strip as high as the first of them.
        int minimizedHeight = 0;
        std::vector<CChildFrame*> frames;
        for (CChildFrame* frame : ChildFrames()) {
            if (!frame->isMinimized()) {
                frames.push_back(frame);
            } else if (minimizedHeight == 0) {
                minimizedHeight = frame->height();
            }
        }
        QRect area = mdiArea_->viewport()->rect();
        area.setBottom(area.bottom() - minimizedHeight);
        const int count = static_cast<int>(frames.size());
        const auto strips =
            fullWidth ? FullWidthStrips(area, count) : FullHeightStrips(area, count);
        for (std::size_t i = 0; i < strips.size(); ++i) frames[i]->setGeometry(strips[i]);
    }
    setUpdatesEnabled(true);
}

void CMainFrame::HideToTray() {
    if (inTray_) return;
    hide();
    tray_->Show();
    inTray_ = true;
}

void CMainFrame::RestoreFromTray(bool bringToFront) {
    if (inTray_) {
        tray_->Hide();
        show();
        inTray_ = false;
    }
    if (!bringToFront) return;
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void CMainFrame::SaveStateAndCloseDocuments() {
    if (stateSaved_) return;
    stateSaved_ = true;
    if (inTray_) RestoreFromTray(false);
    tray_->Hide();
    // The document windows keep their own positions and maximized state first.
    CloseAllDocuments();
    app::Options& options = app_.GetOptions();
    options.ToolbarVisible = !toolBar_->isHidden();
    options.StatusBarVisible = !statusBar()->isHidden();
    options.TabBarVisible = !tabStrip_->isHidden();
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    const app::WindowRect rect{normal.left(), normal.top(), normal.left() + normal.width(),
                               normal.top() + normal.height()};
    recentMenu_->List().Save();
    using namespace app::option_group;
    app_.SaveOptions(
        kToolbar | kStatusBar | kWindowPlacement | kTabBar | kTabBarPosition | kChildState,
        isMaximized(), &rect);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    refresh_.stop();
    SaveStateAndCloseDocuments();
    event->accept();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    if (isMinimized() && app_.GetOptions().MinimizeWndMin && !inTray_) {
        // Queued: hiding inside the state change confuses some window managers.
        QTimer::singleShot(0, this, [this] {
            showNormal();
            HideToTray();
        });
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Esc is seen before the focused view gets it, but only inside this
    // window: dialogs keep Esc for themselves.
    if (event->type() == QEvent::KeyPress && app_.GetOptions().MinimizeEsc &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && !QApplication::activeModalWidget()) {
            HideToTray();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    activateWindow();
    for (const QUrl& url : event->mimeData()->urls()) {
        const QString path = url.toLocalFile();
        if (path.isEmpty() || path.size() > kMaxDroppedPathLength) continue;
        app_.OpenDocument(path.toStdU16String());
    }
    event->acceptProposedAction();
}

}  // namespace app_ui
