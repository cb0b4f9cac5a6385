// The main window's own handling: placement, always on top, the tab bar's
// side, tiling, the tray, and saving its state at the end.

#include "app/ui/MainFrame.h"

#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include "app/TarvikApp.h"
#include "app/ui/ChildFrame.h"
#include "app/ui/FrameTiling.h"
#include "app/ui/RecentFilesMenu.h"
#include "app/ui/TabStrip.h"
#include "app/ui/TrayIcon.h"
#include "settings/OptionsStore.h"

namespace app_ui {

void CMainFrame::ToggleAlwaysOnTop() {
    settings::Options& options = app_.GetOptions();
    options.AlwaysOnTop = !options.AlwaysOnTop;
    ApplyAlwaysOnTop();
    app_.SaveOptions(settings::option_group::kAlwaysOnTop, false, nullptr);
}

void CMainFrame::ApplyAlwaysOnTop() {
    const bool onTop = app_.GetOptions().AlwaysOnTop;
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop) return;
    const bool wasVisible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    // Changing a window flag hides the window; it comes back where it was.
    if (wasVisible) show();
}

void CMainFrame::ShowWithPlacement(bool maximized, const settings::WindowRect& rect) {
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
    // Without a tray the window would have no way back.
    if (inTray_ || !CTrayIcon::IsAvailable()) return;
    hide();
    tray_->Show();
    inTray_ = true;
    // The key is taken from other programs only while it has a use.
    if (app_.GetOptions().EnableHotkey) hotKey_->Register();
}

void CMainFrame::RestoreFromTray(bool bringToFront) {
    if (inTray_) {
        hotKey_->Unregister();
        tray_->Hide();
        show();
        inTray_ = false;
    }
    if (!bringToFront) return;
    if (isMinimized()) showNormal();
    raise();
    activateWindow();
}

void CMainFrame::Exit() {
    close();
    QCoreApplication::quit();
}

void CMainFrame::SaveStateAndCloseDocuments() {
    if (stateSaved_) return;
    stateSaved_ = true;
    if (inTray_) RestoreFromTray(false);
    tray_->Hide();
    // The document windows keep their own positions and maximized state first.
    CloseAllDocuments();
    settings::Options& options = app_.GetOptions();
    options.ToolbarVisible = !toolBar_->isHidden();
    options.StatusBarVisible = !statusBar()->isHidden();
    options.TabBarVisible = !tabStrip_->isHidden();
    sessionSave_.stop();
    const settings::WindowRect rect = PlacementRect();
    recentMenu_->List().Save();
    using namespace settings::option_group;
    app_.SaveOptions(
        kToolbar | kStatusBar | kWindowPlacement | kTabBar | kTabBarPosition | kChildState,
        isMaximized(), &rect);
}

settings::WindowRect CMainFrame::PlacementRect() const {
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    return {normal.left(), normal.top(), normal.left() + normal.width(),
            normal.top() + normal.height()};
}

void CMainFrame::ScheduleSessionSave() {
    // A running timer is left alone: changes coming fast are saved together.
    if (!stateSaved_ && !sessionSave_.isActive()) sessionSave_.start();
}

void CMainFrame::SaveSession() {
    sessionSave_.stop();
    if (stateSaved_) return;
    recentMenu_->List().Save();
    // A window hidden in the tray or minimized keeps its last real placement.
    if (inTray_ || isMinimized()) return;
    const settings::WindowRect rect = PlacementRect();
    app_.SaveOptions(settings::option_group::kWindowPlacement, isMaximized(), &rect);
}

void CMainFrame::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (isVisible()) ScheduleSessionSave();
}

void CMainFrame::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (isVisible()) ScheduleSessionSave();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    refresh_.stop();
    fileEvents_->Stop();
    SaveStateAndCloseDocuments();
    event->accept();
}

void CMainFrame::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange) return;
    ScheduleSessionSave();
    if (isMinimized() && app_.GetOptions().MinimizeWndMin && !inTray_ && CTrayIcon::IsAvailable()) {
        // The window comes back from the tray as it was before minimizing.
        const bool wasMaximized =
            static_cast<QWindowStateChangeEvent*>(event)->oldState().testFlag(Qt::WindowMaximized);
        // Queued: hiding inside the state change confuses some window managers.
        QTimer::singleShot(0, this, [this, wasMaximized] {
            setWindowState(wasMaximized ? Qt::WindowMaximized : Qt::WindowNoState);
            HideToTray();
        });
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    // Esc is seen before the focused view gets it, but only inside this
    // window: dialogs keep Esc for themselves.
    if (event->type() == QEvent::KeyPress && app_.GetOptions().MinimizeEsc &&
        CTrayIcon::IsAvailable() && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == this && !QApplication::activeModalWidget()) {
            HideToTray();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

}  // namespace app_ui
