// The main window itself: its parts, opening and closing documents, its dialogs
// and dropped files.

#include "app/ui/MainFrame.h"
#include "app/ui/CommandDocumentDialog.h"

#include <QApplication>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMessageBox>
#include <QMimeData>
#include <QStatusBar>
#include <QToolBar>
#include <QUrl>
#include <QVBoxLayout>
#include <algorithm>

#include "app/HelpPages.h"
#include "app/TarvikApp.h"
#include "app/ui/BufferSizeDialog.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/DialogText.h"
#include "app/ui/FontChoice.h"
#include "app/ui/FrameCommandIds.h"
#include "app/ui/FrameIcons.h"
#include "app/ui/OptionsDialog.h"
#include "app/ui/RecentFilesMenu.h"
#include "app/ui/RefreshRateDialog.h"
#include "app/ui/StatusPanes.h"
#include "app/ui/TabStrip.h"
#include "app/ui/TrayIcon.h"
#include "core/TarvikDoc.h"
#include "core/WaitCursor.h"
#include "discovery/BatchOpen.h"
#include "export/HtmlPage.h"
#include "filters/ui/HighlightFilterDialog.h"
#include "filters/ui/InExFilterDialog.h"
#include "mail/ui/ConfirmEmailsDialog.h"
#include "mail/ui/MailSettingsDialog.h"
#include "mail/ui/StopUpdatingDialog.h"
#include "settings/OptionsStore.h"
#include "view/TarvikView.h"

namespace app_ui {

namespace {

// Paths of dropped files longer than this are not opened.
constexpr qsizetype kMaxDroppedPathLength = 260;

}  // namespace

CMainFrame::CMainFrame(app::CTarvikApp& app)
    : app_(app),
      messages_(this),
      batchOpen_(app, *this, [this](core::CTarvikDoc& doc) { ActivateDocument(doc); }),
      colors_(app.HighlightFilters(), app.GetOptions()),
      commands_(this) {
    setWindowTitle(QString::fromLatin1(kTitle));
    setWindowIcon(ApplicationIcon());
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    BuildCentralArea();
    BuildStatusBar();
    BuildTray();
    BuildCommands();
    BuildMenus();
    BuildToolBar();
    const settings::Options& options = app_.GetOptions();
    toolBar_->setVisible(options.ToolbarVisible);
    statusBar()->setVisible(options.StatusBarVisible);
    SetTabBarAtTop(options.TabBarTop);
    SetTabBarVisible(options.TabBarVisible);
    connect(&refresh_, &QTimer::timeout, this, [this] {
        app_.OnRefreshTick();
        fileEvents_->ArmDuePoll();
        UpdateStatusPanes();
    });
    RestartRefreshTimer(options.IntervalChkFile);
    fileEvents_ = new CFileEventPump(app_, this);
    sessionSave_.setSingleShot(true);
    sessionSave_.setInterval(kSessionSaveDelayMs);
    connect(&sessionSave_, &QTimer::timeout, this, &CMainFrame::SaveSession);
    // A desktop session that ends asks for the data first; the process may
    // be killed soon after.
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] { SaveSession(); });
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
    fileEvents_->Stop();
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
    const settings::Options& options = app_.GetOptions();
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
    connect(tray_, &CTrayIcon::exitRequested, this, &CMainFrame::Exit);
    connect(tray_, &CTrayIcon::trayLost, this, [this] { RestoreFromTray(true); });
    // Ctrl+Shift+H brings the window back from the tray, where the
    // platform allows a global key; it is held only while in the tray.
    hotKey_ = new CGlobalHotKey(this);
    connect(hotKey_, &CGlobalHotKey::activated, this, [this] { RestoreFromTray(true); });
}

void CMainFrame::CloseDocument(core::CTarvikDoc& doc) {
    app_.CloseDocument(&doc);
}

void CMainFrame::CloseAllDocuments() {
    core::CWaitCursor wait(this);
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

void CMainFrame::OpenChosenFiles(const std::vector<std::u16string>& paths) {
    if (paths.size() != 1) {
        OpenFiles(paths);
        return;
    }
    OpenSingleFile(paths.front());
    commands_.UpdateStates();
}

bool CMainFrame::OpenSingleFile(const std::u16string& path) {
    if (core::CTarvikDoc* open = batchOpen_.FindDocument(path)) {
        ActivateDocument(*open);
        return true;
    }
    return app_.OpenDocument(path) != nullptr;
}

discovery::CRecentFileList& CMainFrame::RecentFiles() {
    return recentMenu_->List();
}

void CMainFrame::OpenRecentFile(const std::u16string& path) {
    if (!OpenSingleFile(path)) {
        recentMenu_->List().Remove(path);
        ScheduleSessionSave();
    }
    commands_.UpdateStates();
}

int CMainFrame::OpenCommandLine(const std::vector<std::u16string>& argv) {
    const int result = discovery::OpenCommandLineFiles(argv, batchOpen_);
    commands_.UpdateStates();
    return result;
}

// Logs are often named without an extension (syslog, messages) or with a
// rotation number (app.log.1), so every file is offered first. The dialog
// comes back to the folder a file was last opened from.
void CMainFrame::ShowOpenDialog() {
    const QString allFiles = tr("All Files (*)");
    QString filter = allFiles;
    const QStringList names = QFileDialog::getOpenFileNames(
        this, tr("Open"), lastOpenFolder_,
        allFiles + QStringLiteral(";;") + tr("Log Files (*.log);;Text Files (*.txt)"), &filter);
    if (!names.isEmpty()) lastOpenFolder_ = QFileInfo(names.first()).absolutePath();
    std::vector<std::u16string> paths;
    for (const QString& name : names) paths.push_back(name.toStdU16String());
    OpenChosenFiles(paths);
}

// The folder and the restart are kept by the name, so that the recent list
// and file sets open the command as it was chosen.
void CMainFrame::ShowCommandDialog() {
    CCommandDocumentDialog dialog(this, this);
    if (dialog.exec() != QDialog::Accepted) return;
    settings::CommandDocumentStore::Save(dialog.Name(), dialog.Choice());
    OpenChosenFiles({dialog.Name()});
}

void CMainFrame::ChooseFont() {
    // Only fixed-width faces line up the columns of a log. A stored face that
    // is not installed is shown as the face the views really use.
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, FontInUse(FontFromOptions(app_.GetOptions())),
                                              this, tr("Font"), QFontDialog::MonospacedFonts);
    if (ok) ApplyFont(chosen);
}

void CMainFrame::ApplyFont(const QFont& font) {
    app_.GetOptions().UFont = LogFontFromFont(font);
    app_.SaveOptions(settings::option_group::kFont, false, nullptr);
    RefreshViewSettings();
}

void CMainFrame::StepFontSize(int step) {
    constexpr int kSmallest = 6;
    constexpr int kLargest = 72;
    QFont font = FontFromOptions(app_.GetOptions());
    if (font.pixelSize() > 0) {
        const int size = std::clamp(font.pixelSize() + step, kSmallest, kLargest);
        if (size == font.pixelSize()) return;
        font.setPixelSize(size);
    } else {
        const int size = std::clamp(font.pointSize() + step, kSmallest, kLargest);
        if (size == font.pointSize()) return;
        font.setPointSize(size);
    }
    ApplyFont(font);
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
    COptionsDialog dialog(app_, this, this);
    if (dialog.exec() == QDialog::Accepted) ApplyOptionsEffects(dialog.Effects());
}

void CMainFrame::ShowHighlightFiltersDialog() {
    // After OK the user may be asked to complete the e-mail settings; Yes
    // opens their dialog.
    filters_ui::CHighlightFilterDialog dialog(app_, this, this,
                                              [this] { ShowMailSettingsDialog(); });
    if (dialog.exec() == QDialog::Accepted) UpdateStatusPanes();
}

void CMainFrame::ShowMailSettingsDialog() {
    mail_ui::CMailSettingsDialog dialog(app_.Mail(), *this, this);
    dialog.exec();
}

void CMainFrame::ShowConfirmEmailsDialog() {
    mail_ui::CConfirmEmailsDialog dialog(app_.Mail().Records(), app_.HighlightFilters(), *this,
                                         this);
    dialog.exec();
}

void CMainFrame::ShowStopUpdatingDialog() {
    mail_ui::CStopUpdatingDialog dialog(app_, this, this, [this] { ShowMailSettingsDialog(); });
    dialog.exec();
}

void CMainFrame::ShowInExFiltersDialog() {
    filters_ui::CInExFilterDialog dialog(app_, this, this);
    if (dialog.exec() == QDialog::Accepted) UpdateStatusPanes();
}

void CMainFrame::ApplyOptionsEffects(const app::OptionsApplyEffects& effects) {
    const settings::Options& options = app_.GetOptions();
    tabStrip_->SetLabelLimit(options.EnableMaxTabItemLen, static_cast<int>(options.MaxTabItemLen));
    tabStrip_->SetFlashByDefault(options.FlashTabItem);
    if (effects.rebuildTabTexts) tabStrip_->RefreshTabLabels();
    if (effects.stopTabFlashing) StopAllTabFlashing();
    if (effects.updateFrameTitles) {
        for (CChildFrame* frame : ChildFrames()) frame->Document().SetTitle();
    }
    if (effects.reopenCaptureFile) app_.ReopenCaptureCopyFile();
    if (effects.clockPane) panes_->SetClockEnabled(*effects.clockPane);
    if (effects.hotKey) {
        if (*effects.hotKey && inTray_) {
            hotKey_->Register();
        } else if (!*effects.hotKey) {
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
    QMessageBox about(QMessageBox::NoIcon, tr("About Ostra Tarvik"),
                      tr("<p><b>Ostra Tarvik</b></p><p>Follows log files as they grow.</p>"
                         "<p><a href=\"%1\">%1</a></p>")
                          .arg(QString::fromLatin1(exporting::kProductWebAddress.data(),
                                                   exporting::kProductWebAddress.size())),
                      QMessageBox::Ok, this);
    if (!windowIcon().isNull()) about.setIconPixmap(windowIcon().pixmap(64));
    // The link goes through our own opener, which falls back to the
    // registered browser; a link that cannot be followed beeps.
    for (QLabel* label : about.findChildren<QLabel*>()) {
        label->setOpenExternalLinks(false);
        connect(label, &QLabel::linkActivated, this, [](const QString& link) {
            if (!app::OpenUrl(ToU16(link))) QApplication::beep();
        });
    }
    about.exec();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
    activateWindow();
    std::vector<std::u16string> paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        const QString path = url.toLocalFile();
        if (path.isEmpty() || path.size() > kMaxDroppedPathLength) continue;
        paths.push_back(path.toStdU16String());
    }
    event->acceptProposedAction();
    // As File > Open: a file already open is activated, failures are
    // reported once.
    OpenFiles(paths);
}

}  // namespace app_ui
